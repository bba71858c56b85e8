#pragma once

#include <array>

// One reading of a game controller's motion sensors, in SDL's axes for a controller held in front of the
// player: x to the right, y out of the face (up when it lies flat), z towards the player.
struct MotionSample
{
    // Metres per second squared; at rest the reaction to gravity, about 9.8 upwards.
    std::array<float, 3> accel{};
    // Radians per second about each axis, counter-clockwise seen from the axis's positive end; about x,
    // positive raises the far edge.
    std::array<float, 3> gyro{};
};

// A controller's pitch as a tilt, in degrees: positive when its far edge is raised above the pose taken
// as level, negative when lowered. Roll and yaw play no part.
//
// The accelerometer gives the pitch as the remote's filter does (atan2(up component along -z, length of
// the other two)) and keeps its last value while the z axis reads more than 1 g, when the controller is
// shaken. The gyroscope carries the pitch between frames so that it follows a quick turn at once, and
// each frame the estimate moves 0.07 of the way towards the accelerometer's pitch, the remote's
// smoothing, which cancels the gyroscope's drift. The first pose with gravity in it is level until
// `recentre`.
class MotionTilt
{
  public:
    static constexpr float smoothing = 0.07f;

    // One sample, frameTime seconds after the previous one. A sample without gravity in it (a controller
    // that has not reported yet reads all zeros) only turns the estimate with the gyroscope; the first
    // pose is taken from the first sample that has.
    void update(const MotionSample& sample, double frameTime);
    // The current pose becomes level.
    void recentre();
    // Degrees above level; 0 until the first pose.
    float tilt() const { return mHasPose ? mPitch - mLevel : 0.0f; }
    // Forgets the pose and the level, for a controller that was removed.
    void reset();

  private:
    bool mHasPose = false;
    // Degrees above the horizontal.
    float mPitch = 0;
    float mAccelPitch = 0;
    float mLevel = 0;
};
