#pragma once

// Per-family registries of the objects that live in a level.
//
// Every family root (Platform, Enemic, Decoracio, Checkpoint) derives from ManagedClass<Root*>. An object
// is in its family's set from the first moment of its construction to the last moment of its destruction,
// so a scene can update or delete a whole family without keeping lists of its own. Main thread only.
//
// Order: members are walked in the order they were made (a per-family creation number is the set's key),
// never by address. Enemies draw random numbers as they update, so a walk in address order would let the
// allocator, and with it the build type, decide a replay's course.
//
// Walking a family: iterate instances() from begin to end and call each member. A member's operations must
// not create or delete members of the same family while the walk is running; families are emptied only by
// deleteAll() when a scene unloads.

#include <cassert>
#include <cstdint>
#include <set>
#include <type_traits>

template <typename T> class ManagedClass;

template <typename T> class ManagedClass<T*>
{
  public:
    // Orders members by their creation numbers: older members first.
    struct CreationOrder
    {
        bool operator()(const T* a, const T* b) const { return creationNumber(a) < creationNumber(b); }
    };
    using Members = std::set<T*, CreationOrder>;

    // The family's live members, oldest first. Built on the first call and kept until program exit;
    // between scenes it is empty. Never holds null nor the same object twice.
    static Members& instances()
    {
        static Members members;
        return members;
    }

    // Deletes every member through T's destructor (virtual where the family has one), oldest first. Each
    // destructor takes its object out of the set, so the set is re-read after every deletion.
    static void deleteAll()
    {
        Members& members = instances();
        while (!members.empty())
        {
            [[maybe_unused]] const std::size_t before = members.size();
            delete *members.begin();
            assert(members.size() < before && "a family member left its registry out of its destructor");
        }
    }

    ManagedClass(const ManagedClass&) = delete;
    ManagedClass& operator=(const ManagedClass&) = delete;

  protected:
    // Runs before any other part of the member is built, so a member whose construction throws has
    // already been registered and is unregistered again by ~ManagedClass.
    ManagedClass() : mCreationNumber(nextCreationNumber()++)
    {
        static_assert(std::is_base_of_v<ManagedClass, T>, "T must be the family root deriving from this");
        instances().insert(member());
    }
    // Runs after every other part of the member is gone.
    ~ManagedClass() { instances().erase(member()); }

  private:
    // Counts every member the family has ever had; 2^64 creations never wrap in a game's life.
    static std::uint64_t& nextCreationNumber()
    {
        static std::uint64_t next = 0;
        return next;
    }

    // The conversions between the family root and this base are plain address arithmetic fixed at compile
    // time. While the root is still being built (or already torn down) its dynamic type is not yet T,
    // which the sanitizer's vptr check would flag.
    __attribute__((no_sanitize("vptr"))) T* member() { return static_cast<T*>(this); }
    __attribute__((no_sanitize("vptr"))) static std::uint64_t creationNumber(const T* member)
    {
        return static_cast<const ManagedClass&>(*member).mCreationNumber;
    }

    const std::uint64_t mCreationNumber;
};
