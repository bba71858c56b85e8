#include <set>
#include <stdexcept>

#include <gtest/gtest.h>

#include "world/managed_class.h"

namespace
{

// A family of its own, so these tests never see members of the game's families.
class Member : public ManagedClass<Member*>
{
  public:
    explicit Member(bool fail = false)
    {
        registeredWhileBuilt = instances().count(this) == 1;
        if (fail)
            throw std::runtime_error("half-built");
    }
    virtual ~Member()
    {
        ++destroyed;
        registeredWhileDestroyed = instances().count(this) == 1;
    }
    static inline int destroyed = 0;
    static inline bool registeredWhileBuilt = false;
    static inline bool registeredWhileDestroyed = false;
};

TEST(Registry, MembersAreRegisteredForTheirWholeLifeAndDeleteAllDestroysEveryOne)
{
    Member::deleteAll();
    EXPECT_EQ(Member::destroyed, 0);

    auto* kept = new Member;
    auto* temporary = new Member;
    EXPECT_TRUE(Member::registeredWhileBuilt);
    delete temporary;
    EXPECT_TRUE(Member::registeredWhileDestroyed);
    EXPECT_EQ(Member::instances(), std::set<Member*>{kept});

    // A constructor that throws leaves no dangling member behind.
    EXPECT_THROW(new Member(true), std::runtime_error);
    EXPECT_EQ(Member::instances().size(), 1u);

    for (int i = 0; i < 6; ++i)
        new Member;
    Member::deleteAll();
    EXPECT_TRUE(Member::instances().empty());
    EXPECT_EQ(Member::destroyed, 1 + 7);
}

} // namespace
