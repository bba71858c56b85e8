#pragma once

// Per-family registries of the objects that live in a level.
//
// Every family root (Platform, Enemic, Decoracio, Checkpoint) derives from ManagedClass<Root*>. An object
// is in its family's set from the first moment of its construction to the last moment of its destruction,
// so a scene can update or delete a whole family without keeping lists of its own. The set is ordered by
// address, not by creation; nothing may rely on the order. Main thread only.
//
// Walking a family: iterate instances() from begin to end and call each member. A member's operations must
// not create or delete members of the same family while the walk is running; families are emptied only by
// deleteAll() when a scene unloads.

#include <cassert>
#include <set>
#include <type_traits>

template <typename T> class ManagedClass;

template <typename T> class ManagedClass<T*>
{
  public:
    // The family's live members. Built on the first call and kept until program exit; between scenes it
    // is empty. Never holds null nor the same object twice.
    static std::set<T*>& instances()
    {
        static std::set<T*> members;
        return members;
    }

    // Deletes every member through T's destructor (virtual where the family has one). Each destructor
    // takes its object out of the set, so the set is re-read after every deletion.
    static void deleteAll()
    {
        std::set<T*>& members = instances();
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
    ManagedClass()
    {
        static_assert(std::is_base_of_v<ManagedClass, T>, "T must be the family root deriving from this");
        instances().insert(member());
    }
    // Runs after every other part of the member is gone.
    ~ManagedClass() { instances().erase(member()); }

  private:
    // The member's address as the family root. While the root is still being built (or already torn down)
    // its dynamic type is not yet T, which the sanitizer's vptr check would flag; the conversion itself
    // is plain base-to-derived address arithmetic, fixed at compile time.
    __attribute__((no_sanitize("vptr"))) T* member() { return static_cast<T*>(this); }
};
