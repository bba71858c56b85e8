#pragma once

#include <string>
#include <vector>

#include <Ogre.h>

#include "world/platform.h"

// A plank carried along a rail of 10-unit segments, one per keypad digit ("8" up, "2" down, "4" +x,
// "6" -x, the corner digits diagonally; +x is screen-left). It shuttles between the rail ends, loops when
// circular, or, when tilt-driven, slides only while its holder tilts it, parks at the rail ends and drifts
// back to the start 1.5 s after it is left. A tiltable plank also turns like a rotating platform.
class SlidingPlatform : public Platform
{
  public:
    // The rail starts at (x, y, z), where the axle is; speed in units per second along the rail;
    // angleDegrees is the plank's roll. side as for RotatingPlatform. An empty rail gives a plank that
    // does not travel.
    SlidingPlatform(float x, float y, float z, int length, PlankKind kind, bool tiltable,
                    const std::string& rail, bool invertTilt, bool tiltDriven, bool circular,
                    bool reverseSlide, AxleSide side, double speed, double angleDegrees);

    void update(float tilt, int player, float dt) override;

    // Each rail digit is a straight segment this long (world units).
    static constexpr double segmentLength = 10.0;

    // Unit direction of travel of a rail digit going forward: (sin a, cos a) for the digit's angle a.
    static b2Vec2 digitDirection(char digit);

  private:
    // Speed along the rail this frame before parking: tilt-driven speed, eased at corners and rail ends.
    double easedSpeed(int player, float dt);
    bool nextSegmentSame() const;
    bool previousSegmentSame() const;
    // Moves on to the next segment (or reverses, wraps, parks) when the current one is used up.
    void finishSegment();
    void createRailScenery(const Ogre::Vector3& start);

    bool mInvertTilt;
    bool mTiltDriven;
    bool mReverseSlide;
    bool mTiltable;
    bool mCircular;
    double mSpeed;
    double mRotationGain;
    std::string mRail;
    int mSegment = 0;
    // +1 forward along the rail string, -1 backward, 0 standing (tilt-driven, held level).
    int mDirection = 1;
    int mLastDirection = 1;
    // Distance still to travel in the current segment, 0..10.
    double mSegmentLeft = 10.0;
    // 0, or the direction in which a tilt-driven plank is parked at a rail end.
    int mParkedDirection = 0;
    Ogre::Vector3 mOrigin;
    double mReturnDelay = 0.0;
    // Per segment: forward unit direction, and the rail point where it starts (one more: the rail end).
    std::vector<b2Vec2> mSegmentDirections;
    std::vector<b2Vec2> mRailPoints;
};
