#include <stdexcept>

#include <gtest/gtest.h>

#include "world/enemic.h"
#include "world/managed_class.h"

namespace
{

// A family of its own, so these tests never see members of the game's families.
class Member : public ManagedClass<Member*>
{
  public:
    virtual ~Member()
    {
        ++destroyed;
        registeredWhileDestroyed = instances().count(this) == 1;
    }
    static inline int destroyed = 0;
    static inline bool registeredWhileDestroyed = false;
};

class Derived : public Member
{
  public:
    explicit Derived(bool fail = false)
    {
        registeredWhileBuilt = instances().count(this) == 1;
        if (fail)
            throw std::runtime_error("half-built");
    }
    static inline bool registeredWhileBuilt = false;
};

class RegistryTest : public ::testing::Test
{
  protected:
    void SetUp() override { Member::destroyed = 0; }
    void TearDown() override { Member::deleteAll(); }
};

TEST_F(RegistryTest, DeleteAllDeletesEveryMemberThroughItsVirtualDestructor)
{
    Member::deleteAll();
    EXPECT_TRUE(Member::instances().empty());
    EXPECT_EQ(Member::destroyed, 0);

    for (int i = 0; i < 7; ++i)
        new Derived;
    EXPECT_EQ(Member::instances().size(), 7u);
    Member::deleteAll();
    EXPECT_TRUE(Member::instances().empty());
    EXPECT_EQ(Member::destroyed, 7);
}

TEST_F(RegistryTest, MembershipSpansTheWholeLifeOfAnObject)
{
    auto* kept = new Derived;
    const auto before = Member::instances();

    auto* temporary = new Derived;
    EXPECT_TRUE(Derived::registeredWhileBuilt);
    EXPECT_EQ(Member::instances().size(), 2u);
    delete temporary;
    EXPECT_TRUE(Member::registeredWhileDestroyed);
    EXPECT_EQ(Member::instances(), before);
    EXPECT_EQ(Member::instances().count(kept), 1u);
}

TEST_F(RegistryTest, AnObjectWhoseConstructionFailsLeavesNoDanglingMember)
{
    EXPECT_THROW(new Derived(true), std::runtime_error);
    EXPECT_TRUE(Member::instances().empty());
}

class FakeEnemy : public Enemic
{
  public:
    void update(float) override {}
    bool hitsSphere(Ogre::Sphere) override { return false; }
    bool hitsBox(Ogre::AxisAlignedBox) override { return false; }
};

TEST_F(RegistryTest, FamiliesKeepSeparateRegistries)
{
    new Derived;
    auto* enemy = new FakeEnemy;
    EXPECT_EQ(Member::instances().size(), 1u);
    ASSERT_EQ(Enemic::instances().size(), 1u);
    EXPECT_EQ(*Enemic::instances().begin(), enemy);
    Enemic::deleteAll();
    EXPECT_TRUE(Enemic::instances().empty());
    EXPECT_EQ(Member::instances().size(), 1u);
}

} // namespace
