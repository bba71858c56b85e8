#pragma once

#include <functional>
#include <string>
#include <vector>

#include <OgreMatrix4.h>
#include <OgreQuaternion.h>
#include <OgreVector.h>

namespace models
{

// The offsets of every bone from its bind pose at one moment of an animation. Rotations are about the
// bone's own joint in its parent's axes; translations are in the parent's axes and units.
class Pose
{
  public:
    explicit Pose(size_t boneCount)
        : mRotations(boneCount), mTranslations(boneCount, Ogre::Vector3::ZERO),
          mScales(boneCount, Ogre::Vector3::UNIT_SCALE)
    {
    }
    // Adds a turn of degrees about axis after the ones already set on this bone.
    void rotate(unsigned short bone, const Ogre::Vector3& axis, float degrees);
    void translate(unsigned short bone, const Ogre::Vector3& offset) { mTranslations[bone] += offset; }
    void scale(unsigned short bone, const Ogre::Vector3& factor) { mScales[bone] *= factor; }

    // Every bone part way from a to b (0: a, 1: b); both poses belong to the same skeleton.
    static Pose blend(const Pose& a, const Pose& b, float weight);

    const Ogre::Quaternion& rotation(unsigned short bone) const { return mRotations[bone]; }
    const Ogre::Vector3& translation(unsigned short bone) const { return mTranslations[bone]; }
    const Ogre::Vector3& scaling(unsigned short bone) const { return mScales[bone]; }

  private:
    std::vector<Ogre::Quaternion> mRotations;
    std::vector<Ogre::Vector3> mTranslations;
    std::vector<Ogre::Vector3> mScales;
};

// The pose at time t seconds of an animation; pose starts as the bind pose.
using PoseFunction = std::function<void(float t, Pose& pose)>;

// A bone hierarchy laid out in model coordinates, plus animations sampled from pose functions. The first
// bone is the root; its bind transform is the placement, which lets one model be baked at another spot,
// turn and size (the intro's characters) while its animations stay the same.
class SkeletonBuilder
{
  public:
    // modelPosition: the joint in the model's own coordinates (before placement). parent -1: the root.
    unsigned short addBone(const std::string& name, int parent, const Ogre::Vector3& modelPosition);
    unsigned short bone(const std::string& name) const;
    size_t boneCount() const { return mBones.size(); }

    // Placement of the whole model: scale, then rotation, then translation. Set before serialising;
    // geometry must be built with placementMatrix() as its transform.
    void setPlacement(const Ogre::Vector3& translation, const Ogre::Quaternion& rotation, float scale);
    Ogre::Matrix4 placementMatrix() const;

    // Samples pose at keysPerSecond (and at the exact end) over length seconds.
    void addAnimation(const std::string& name, float length, float keysPerSecond, PoseFunction pose);

    // Creates the skeleton in the engine (where it stays, so meshes can link to it) and returns the bytes
    // of its .skeleton file.
    std::string serialise(const std::string& skeletonName, const std::string& scratchFile) const;

  private:
    struct BoneRecord
    {
        std::string name;
        int parent;
        Ogre::Vector3 modelPosition;
    };
    struct AnimationRecord
    {
        std::string name;
        float length;
        float keysPerSecond;
        PoseFunction pose;
    };
    std::vector<BoneRecord> mBones;
    std::vector<AnimationRecord> mAnimations;
    Ogre::Vector3 mPlacementTranslation = Ogre::Vector3::ZERO;
    Ogre::Quaternion mPlacementRotation;
    float mPlacementScale = 1;
};

// Smooth periodic helpers for pose functions: phase is in cycles.
float wave(float phase);
// 0 at edge0, 1 at edge1, smooth in between and clamped outside.
float smoothStep(float edge0, float edge1, float x);

} // namespace models
