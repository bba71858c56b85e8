#include "world/sliding_platform.h"

#include <cmath>

#include "core/access_points.h"
#include "core/unique_name.h"

namespace
{
// Any character that is not a keypad digit with a direction travels as "8".
char canonicalDigit(char digit)
{
    switch (digit)
    {
    case '1':
    case '2':
    case '3':
    case '4':
    case '6':
    case '7':
    case '9':
        return digit;
    default:
        return '8';
    }
}

// Angle a of a digit in degrees; the digit travels along (sin a, cos a).
double digitAngleDegrees(char digit)
{
    switch (canonicalDigit(digit))
    {
    case '7':
        return 45.0;
    case '4':
        return 90.0;
    case '1':
        return 135.0;
    case '2':
        return 180.0;
    case '3':
        return 225.0;
    case '6':
        return 270.0;
    case '9':
        return 315.0;
    default:
        return 0.0;
    }
}
} // namespace

b2Vec2 SlidingPlatform::digitDirection(char digit)
{
    const double a = digitAngleDegrees(digit) * Ogre::Math::fDeg2Rad;
    return b2Vec2(static_cast<float>(std::sin(a)), static_cast<float>(std::cos(a)));
}

SlidingPlatform::SlidingPlatform(float x, float y, float z, int length, PlankKind kind, bool tiltable,
                                 const std::string& rail, bool invertTilt, bool tiltDriven, bool circular,
                                 bool reverseSlide, AxleSide side, double speed, double angleDegrees)
    : Platform(x, y, z, length, kind, tiltable, static_cast<float>(angleDegrees)), mInvertTilt(invertTilt),
      mTiltDriven(tiltDriven), mReverseSlide(reverseSlide), mTiltable(tiltable), mCircular(circular),
      mSpeed(speed), mRotationGain(7.0 / length), mRail(rail), mOrigin(x, y, z)
{
    if (kind == PlankKind::log && tiltable)
        mEntity->setMaterialName("tronc0");
    if (tiltable)
        createAxle(tiltDriven ? "eix_mov.mesh" : "eix.mesh", side, length);

    b2Vec2 point(x, y);
    mRailPoints.push_back(point);
    for (char digit : mRail)
    {
        mSegmentDirections.push_back(digitDirection(digit));
        point += static_cast<float>(segmentLength) * mSegmentDirections.back();
        mRailPoints.push_back(point);
    }
    createRailScenery(mOrigin);

    offsetPlankBySide(x, y, side, length);
    weldToKinematicAnchor(x, y);
}

void SlidingPlatform::createRailScenery(const Ogre::Vector3& start)
{
    Ogre::SceneManager* scene = theSceneManager;
    Ogre::SceneNode* root = scene->getRootSceneNode();
    const auto endCap = [&](const Ogre::Vector3& at)
    {
        root->createChildSceneNode(uniqueName(), at + Ogre::Vector3(0, 0, 10))
            ->attachObject(scene->createEntity(uniqueName(), "extrem.mesh"));
    };

    Ogre::Vector3 cursor = start;
    for (size_t i = 0; i < mRail.size(); ++i)
    {
        const Ogre::Vector3 halfSegment(5.0f * mSegmentDirections[i].x, 5.0f * mSegmentDirections[i].y, 0.0f);
        cursor += halfSegment;
        Ogre::SceneNode* railNode =
            root->createChildSceneNode(uniqueName(), cursor + Ogre::Vector3(0, 0, 15));
        railNode->attachObject(scene->createEntity(uniqueName(), "rail.mesh"));
        railNode->setScale(10, 1, 1);
        // The mesh lies along +x; this turns +x onto the digit's direction (sin a, cos a).
        railNode->yaw(Ogre::Degree(180), Ogre::Node::TS_WORLD);
        railNode->roll(Ogre::Degree(static_cast<float>(90.0 + digitAngleDegrees(mRail[i]))),
                       Ogre::Node::TS_LOCAL);
        cursor += halfSegment;

        if (i == 0)
            endCap(start);
        if (i + 1 == mRail.size() || canonicalDigit(mRail[i + 1]) != canonicalDigit(mRail[i]))
            endCap(cursor);
    }
}

bool SlidingPlatform::nextSegmentSame() const
{
    if (mDirection == 0)
        return true;
    const int next = mSegment + mDirection;
    if (next < 0 || next >= static_cast<int>(mRail.size()))
        return false;
    return canonicalDigit(mRail[next]) == canonicalDigit(mRail[mSegment]);
}

bool SlidingPlatform::previousSegmentSame() const
{
    const int previous = mSegment - mDirection;
    if (previous < 0 || previous >= static_cast<int>(mRail.size()))
        return false;
    return canonicalDigit(mRail[previous]) == canonicalDigit(mRail[mSegment]);
}

double SlidingPlatform::easedSpeed(int player, float dt)
{
    double speed = mSpeed;
    if (mTiltDriven)
        speed = mSpeed * std::fabs(nodeRollDegrees() * Ogre::Math::fDeg2Rad);

    // Full speed along straight runs; slow into every corner and rail end and speed up out of it.
    if (mSegmentLeft < 1.0 && !nextSegmentSame())
        speed *= mSegmentLeft + 0.1;
    if (mSegmentLeft > 9.0 && !previousSegmentSame())
        speed *= (segmentLength - mSegmentLeft) + 0.1;

    if (mTiltDriven)
    {
        if (player == 0)
        {
            if (mReturnDelay > 0.0)
                mReturnDelay -= dt;
            else
            {
                speed = mSpeed * 0.7;
                mDirection = -1;
            }
        }
        else
        {
            mReturnDelay = 1.5;
            const float roll = nodeRollDegrees();
            mDirection = roll > 1.0f ? -1 : roll < -1.0f ? 1 : 0;
            if (mReverseSlide)
                mDirection = -mDirection;
        }
        // Turning round mid-segment: what was travelled is what is left going back.
        if (mDirection != mLastDirection && mDirection != 0)
            mSegmentLeft = segmentLength - mSegmentLeft;
        if (mDirection != 0)
            mLastDirection = mDirection;
    }
    return speed;
}

void SlidingPlatform::finishSegment()
{
    mSegmentLeft = segmentLength;
    const int last = static_cast<int>(mRail.size()) - 1;
    const bool atRailEnd = (mDirection == 1 && mSegment == last) || (mDirection == -1 && mSegment == 0);
    if (mCircular)
    {
        mSegment += mDirection;
        if (mSegment > last)
            mSegment = 0;
        else if (mSegment < 0)
            mSegment = last;
        return;
    }
    if (!mTiltDriven)
    {
        if (atRailEnd)
            mDirection = -mDirection;
        else
            mSegment += mDirection;
    }
    else if (mDirection != 0)
    {
        if (atRailEnd)
            mParkedDirection = mDirection;
        else
        {
            // Leaving a park: the plank is still in the segment it parked in.
            if (mParkedDirection == 0)
                mSegment += mDirection;
            mParkedDirection = 0;
        }
    }

    if (!mTiltDriven || mDirection != mParkedDirection)
    {
        // Integrating the velocity drifts; put the anchor back on the rail point, keeping its angle: the
        // start of the segment going forward, its end going backward.
        const b2Vec2& point = mRailPoints[mDirection == 1 ? mSegment : mSegment + 1];
        mAnchorBody->SetTransform(point, mAnchorBody->GetAngle());
    }
}

void SlidingPlatform::update(float tilt, int player, float dt)
{
    beginUpdate(dt);
    if (mTiltable)
        steerTowardsTilt(tilt, mInvertTilt, mRotationGain);

    if (!mRail.empty())
    {
        double speed = easedSpeed(player, dt);
        if (mDirection == mParkedDirection && !mCircular)
            speed = 0.0;
        mSegmentLeft -= dt * speed;
        if (mSegmentLeft <= 0.0)
            finishSegment();
        const float along = static_cast<float>(mDirection == -1 ? -speed : speed);
        mAnchorBody->SetLinearVelocity(along * mSegmentDirections[mSegment]);
    }

    followPlank();
    if (mTiltable && mKind == PlankKind::log && player != colourOwner)
        tintLog(player);
}
