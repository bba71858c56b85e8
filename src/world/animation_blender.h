#pragma once

// Cross-fades the skeletal animations of one entity. The owner names the animation it wants and how to
// get there; the blender fades the weights, advances the time and reports when a non-looping animation
// has run out. It owns no engine object and never creates one: every animation named must exist on the
// entity's skeleton (Ogre throws otherwise).
//
// Outside a fade the source plays at weight 1 and the entity's other states are disabled (a Cut during a
// fade is the exception: the abandoned target stays enabled at the weight it had). During a fade the
// source's weight is timeLeft / duration and the target's the rest, so the two always sum to 1.

#include <string>

namespace Ogre
{
class AnimationState;
class Entity;
} // namespace Ogre

class AnimationBlender
{
  public:
    // How blend() reaches the requested animation.
    enum Transition : int
    {
        // At once, no fade.
        Cut = 0,
        // Cross-fade; both animations advance during the fade.
        FadeWhilePlaying = 1,
        // Cross-fade; the incoming animation is held at its start until the fade ends.
        FadeThenPlay = 2,
    };

    // entity is not owned and must outlive the blender. Call start() before the first update().
    explicit AnimationBlender(Ogre::Entity* entity);

    // Plays name from its start, looping, at weight 1; every other state is disabled and rewound.
    void start(const std::string& name);
    // Requests name. Requesting the animation already requested changes nothing (not even loop), so
    // callers may repeat the request every frame. A fade of zero or negative duration is a Cut.
    // duration in seconds; loop applies to name once it plays as the source.
    void blend(const std::string& name, int transition, float duration, bool loop);
    // Once per frame; dt in seconds (callers may scale it).
    void update(float dt);

    // The name last passed to start() or blend().
    std::string getAnimationName() const { return mAnimationName; }
    // The source had reached its end at the last update(); never true for a looping source.
    bool complete() const { return mComplete; }

    // The fade's state, for the owner's checks and for tests.
    float timeLeft() const { return mTimeLeft; }
    float duration() const { return mDuration; }
    Ogre::AnimationState* source() const { return mSource; }
    Ogre::AnimationState* target() const { return mTarget; }

  private:
    void cutTo(const std::string& name);
    // The target takes over as the source at weight 1.
    void finishFade();

    // Seconds left of the fade in progress; 0 or less: no fade.
    float mTimeLeft = 0.0f;
    // Seconds of the whole fade in progress.
    float mDuration = 1.0f;
    bool mComplete = false;
    Ogre::Entity* mEntity;
    // Playing (fading out during a fade); enabled whenever set.
    Ogre::AnimationState* mSource = nullptr;
    // Fading in; null when no fade runs (a Cut abandons it without clearing it).
    Ogre::AnimationState* mTarget = nullptr;
    std::string mAnimationName;
    int mTransition = FadeWhilePlaying;
    bool mLoop = true;
};
