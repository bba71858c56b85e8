#include <cstddef>
#include <new>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "world/managed_class.h"

namespace
{

// A family of its own, so these tests never see members of the game's families. Members are carved from
// the top of an arena downwards, so every new member lies below the ones made before it: a registry that
// walked by address would walk them newest first.
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
        destroyed.push_back(this);
        registeredWhileDestroyed = instances().count(this) == 1;
    }

    static void* operator new(std::size_t size)
    {
        const std::size_t slot = (size + alignof(std::max_align_t) - 1) / alignof(std::max_align_t);
        if (slot * (carved + 1) > slots)
            throw std::bad_alloc();
        ++carved;
        return &arena[slots - slot * carved];
    }
    static void operator delete(void*) {}

    static inline std::vector<Member*> destroyed;
    static inline bool registeredWhileBuilt = false;
    static inline bool registeredWhileDestroyed = false;

  private:
    static constexpr std::size_t slots = 256;
    static inline std::max_align_t arena[slots];
    static inline std::size_t carved = 0;
};

std::vector<Member*> walk()
{
    return {Member::instances().begin(), Member::instances().end()};
}

TEST(Registry, MembersAreRegisteredForTheirWholeLifeAndDeleteAllDestroysEveryOne)
{
    Member::deleteAll();
    EXPECT_TRUE(Member::destroyed.empty());

    auto* kept = new Member;
    auto* temporary = new Member;
    EXPECT_TRUE(Member::registeredWhileBuilt);
    delete temporary;
    EXPECT_TRUE(Member::registeredWhileDestroyed);
    EXPECT_EQ(walk(), std::vector<Member*>{kept});

    // A constructor that throws leaves no dangling member behind.
    EXPECT_THROW(new Member(true), std::runtime_error);
    EXPECT_EQ(Member::instances().size(), 1u);

    for (int i = 0; i < 6; ++i)
        new Member;
    Member::destroyed.clear();
    Member::deleteAll();
    EXPECT_TRUE(Member::instances().empty());
    EXPECT_EQ(Member::destroyed.size(), 7u);
}

TEST(Registry, WalksAndDeletesInCreationOrderWhateverTheAddresses)
{
    Member::deleteAll();
    std::vector<Member*> made;
    for (int i = 0; i < 5; ++i)
        made.push_back(new Member);
    ASSERT_LT(made.back(), made.front()) << "the arena should hand out falling addresses";

    // A member made after others were deleted still comes last.
    delete made[1];
    made.erase(made.begin() + 1);
    made.push_back(new Member);
    EXPECT_EQ(walk(), made);

    Member::destroyed.clear();
    Member::deleteAll();
    EXPECT_EQ(Member::destroyed, made);
}

} // namespace
