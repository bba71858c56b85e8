#pragma once

#include <memory>

#include "audio/sound_effect.h"
#include "world/decoracio.h"

namespace Ogre
{
class SceneNode;
}
class AnimationBlender;

// The cat waiting at a level's goal. It paces 4 units either side of its home, resting 3 s at each end,
// and miaows when a player comes within 40 units. Once the scene sets `celebrating` it runs to and fro
// across `target` (the winner) for the rest of the level. It runs at 10 units per second.
class Cat : public Decoracio
{
  public:
    // position: where it sits (the level's goal); its home is 0.35 units lower, where the players stand.
    explicit Cat(const Ogre::Vector3& position);
    // Gives the miaow's source back to the pool.
    ~Cat() override;
    void update(const std::vector<Ogre::Vector3>& playerPositions, double frameTime) override;

    // Where the cat is now (it moves); the goal test compares the players with it.
    const Ogre::Vector3& position() const;
    const Ogre::Vector3& home() const { return mHome; }
    int direction() const { return mDirection; }
    const AnimationBlender& blender() const { return *mBlender; }

    bool celebrating = false;
    Ogre::Vector3 target = Ogre::Vector3::ZERO;

  private:
    void pace(const std::vector<Ogre::Vector3>& playerPositions, double frameTime);
    void runAboutTarget();
    void animate();

    Ogre::SceneNode* mNode = nullptr;
    std::unique_ptr<AnimationBlender> mBlender;
    int mDirection = 1; // +1 towards +x, -1 towards -x, 0 resting
    Ogre::Vector3 mHome;
    double mRestTimer = 0;
    SoundEffect mMiaow;
};
