#include "world/animation_blender.h"

#include <cassert>

#include <OgreAnimationState.h>
#include <OgreEntity.h>

namespace
{
// The engine re-files a state in its list of enabled states on every setEnabled call, allocating a list
// node each time even when nothing changes: only real changes are passed on.
void setEnabled(Ogre::AnimationState* state, bool enabled)
{
    if (state->getEnabled() != enabled)
        state->setEnabled(enabled);
}
} // namespace

AnimationBlender::AnimationBlender(Ogre::Entity* entity) : mEntity(entity)
{
    assert(entity);
}

void AnimationBlender::start(const std::string& name)
{
    mAnimationName = name;
    for (const auto& entry : mEntity->getAllAnimationStates()->getAnimationStates())
    {
        setEnabled(entry.second, false);
        entry.second->setWeight(0.0f);
        entry.second->setTimePosition(0.0f);
    }
    mSource = mEntity->getAnimationState(name);
    setEnabled(mSource, true);
    mSource->setWeight(1.0f);
    mTimeLeft = 0.0f;
    mDuration = 1.0f;
    mTarget = nullptr;
    mComplete = false;
    mLoop = true;
}

// A fade in progress is abandoned: its target keeps its enabled flag and weight but is no longer steered.
void AnimationBlender::cutTo(const std::string& name)
{
    if (mSource)
        setEnabled(mSource, false);
    mSource = mEntity->getAnimationState(name);
    setEnabled(mSource, true);
    mSource->setWeight(1.0f);
    mSource->setTimePosition(0.0f);
    mTimeLeft = 0.0f;
}

void AnimationBlender::blend(const std::string& name, int transition, float duration, bool loop)
{
    assert(mSource && "start() must come first");
    if (name == mAnimationName)
        return;
    mAnimationName = name;
    mLoop = loop;
    // A fade of no length would leave the new animation enabled at weight 0 for ever.
    if (transition == Cut || duration <= 0.0f)
    {
        cutTo(name);
        return;
    }

    Ogre::AnimationState* requested = mEntity->getAnimationState(name);
    if (mTimeLeft <= 0.0f)
    {
        mTransition = transition;
        mDuration = mTimeLeft = duration;
        mTarget = requested;
        setEnabled(requested, true);
        requested->setWeight(0.0f);
        requested->setTimePosition(0.0f);
        return;
    }
    if (requested == mTarget)
        return;
    if (requested == mSource)
    {
        // Back to what was fading out: the fade reverses from the weights it had reached.
        std::swap(mSource, mTarget);
        mTimeLeft = mDuration - mTimeLeft;
        // Reversed before any time passed: the animation asked for is already at full weight.
        if (mTimeLeft <= 0.0f)
            finishFade();
        return;
    }

    // A third animation: one of the two in the fade gives way to it, and the fade goes on from where it
    // was, now towards the new one.
    if (mTimeLeft < mDuration * 0.5f)
    {
        setEnabled(mTarget, false);
        mTarget->setWeight(0.0f);
    }
    else
    {
        setEnabled(mSource, false);
        mSource->setWeight(0.0f);
        mSource = mTarget;
        mSource->setWeight(mTimeLeft / mDuration);
    }
    mTarget = requested;
    setEnabled(requested, true);
    requested->setWeight(1.0f - mTimeLeft / mDuration);
    requested->setTimePosition(0.0f);
}

void AnimationBlender::finishFade()
{
    setEnabled(mSource, false);
    mSource->setWeight(0.0f);
    mSource = mTarget;
    setEnabled(mSource, true);
    mSource->setWeight(1.0f);
    mTarget = nullptr;
}

void AnimationBlender::update(float dt)
{
    if (!mSource)
        return;
    if (mTimeLeft > 0.0f)
    {
        mTimeLeft -= dt;
        // A fade that lands exactly on 0 is over too: left as it was, blend() would take it for idle and
        // start a new fade from a source at weight 0, leaving the old target enabled at full weight.
        if (mTimeLeft <= 0.0f)
            finishFade();
        else
        {
            mSource->setWeight(mTimeLeft / mDuration);
            mTarget->setWeight(1.0f - mTimeLeft / mDuration);
            if (mTransition == FadeWhilePlaying)
                mTarget->addTime(dt);
        }
    }
    mComplete = mSource->getTimePosition() >= mSource->getLength();
    // The loop flag goes on before the advance, so a non-looping source never wraps on its first frame.
    mSource->setLoop(mLoop);
    mSource->addTime(dt);
}
