#include "skeleton_builder.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <Ogre.h>

namespace models
{

void Pose::rotate(unsigned short bone, const Ogre::Vector3& axis, float degrees)
{
    mRotations[bone] = mRotations[bone] * Ogre::Quaternion(Ogre::Degree(degrees), axis);
}

Pose Pose::blend(const Pose& a, const Pose& b, float weight)
{
    Pose result = a;
    for (size_t i = 0; i < a.mRotations.size(); ++i)
    {
        result.mRotations[i] = Ogre::Quaternion::nlerp(weight, a.mRotations[i], b.mRotations[i], true);
        result.mTranslations[i] = a.mTranslations[i] + (b.mTranslations[i] - a.mTranslations[i]) * weight;
        result.mScales[i] = a.mScales[i] + (b.mScales[i] - a.mScales[i]) * weight;
    }
    return result;
}

float wave(float phase)
{
    return std::sin(phase * 6.28318530718f);
}

float smoothStep(float edge0, float edge1, float x)
{
    const float t = std::min(1.0f, std::max(0.0f, (x - edge0) / (edge1 - edge0)));
    return t * t * (3 - 2 * t);
}

unsigned short SkeletonBuilder::addBone(const std::string& name, int parent,
                                        const Ogre::Vector3& modelPosition)
{
    if (parent < 0 && !mBones.empty())
        throw std::logic_error("mediagen: a skeleton has one root bone only (" + name + ")");
    mBones.push_back({name, parent, modelPosition});
    return static_cast<unsigned short>(mBones.size() - 1);
}

unsigned short SkeletonBuilder::bone(const std::string& name) const
{
    for (size_t i = 0; i < mBones.size(); ++i)
    {
        if (mBones[i].name == name)
            return static_cast<unsigned short>(i);
    }
    throw std::logic_error("mediagen: no bone named " + name);
}

void SkeletonBuilder::setPlacement(const Ogre::Vector3& translation, const Ogre::Quaternion& rotation,
                                   float scale)
{
    mPlacementTranslation = translation;
    mPlacementRotation = rotation;
    mPlacementScale = scale;
}

Ogre::Matrix4 SkeletonBuilder::placementMatrix() const
{
    Ogre::Matrix4 matrix;
    matrix.makeTransform(mPlacementTranslation, Ogre::Vector3(mPlacementScale), mPlacementRotation);
    return matrix;
}

void SkeletonBuilder::addAnimation(const std::string& name, float length, float keysPerSecond,
                                   PoseFunction pose)
{
    mAnimations.push_back({name, length, keysPerSecond, std::move(pose)});
}

std::string SkeletonBuilder::serialise(const std::string& skeletonName, const std::string& scratchFile) const
{
    auto& manager = Ogre::SkeletonManager::getSingleton();
    Ogre::SkeletonPtr skeleton = Ogre::static_pointer_cast<Ogre::Skeleton>(
        manager.create(skeletonName, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME, true));
    for (size_t i = 0; i < mBones.size(); ++i)
    {
        const BoneRecord& record = mBones[i];
        Ogre::Bone* bone = skeleton->createBone(record.name, static_cast<unsigned short>(i));
        if (record.parent < 0)
        {
            // The root carries the placement; everything below it lives in model units and axes.
            bone->setPosition(mPlacementTranslation +
                              mPlacementRotation * (record.modelPosition * mPlacementScale));
            bone->setOrientation(mPlacementRotation);
            bone->setScale(Ogre::Vector3(mPlacementScale));
        }
        else
        {
            skeleton->getBone(static_cast<unsigned short>(record.parent))->addChild(bone);
            bone->setPosition(record.modelPosition -
                              mBones[static_cast<size_t>(record.parent)].modelPosition);
        }
    }
    skeleton->setBindingPose();

    for (const AnimationRecord& record : mAnimations)
    {
        Ogre::Animation* animation = skeleton->createAnimation(record.name, record.length);
        std::vector<Ogre::NodeAnimationTrack*> tracks;
        for (size_t i = 0; i < mBones.size(); ++i)
        {
            const auto handle = static_cast<unsigned short>(i);
            tracks.push_back(animation->createNodeTrack(handle, skeleton->getBone(handle)));
        }
        const int keys = std::max(2, static_cast<int>(std::ceil(record.length * record.keysPerSecond)));
        for (int k = 0; k <= keys; ++k)
        {
            const float t = record.length * static_cast<float>(k) / static_cast<float>(keys);
            Pose pose(mBones.size());
            record.pose(t, pose);
            for (size_t i = 0; i < mBones.size(); ++i)
            {
                const auto handle = static_cast<unsigned short>(i);
                Ogre::TransformKeyFrame* key = tracks[i]->createNodeKeyFrame(t);
                key->setRotation(pose.rotation(handle));
                key->setTranslate(pose.translation(handle));
                key->setScale(pose.scaling(handle));
            }
        }
        // Bones that never move need no track; dropping them keeps the files and the per-frame work small.
        animation->optimise(true);
    }

    // The skeleton stays with the manager so that meshes built afterwards can link to it by name.
    Ogre::SkeletonSerializer().exportSkeleton(skeleton.get(), scratchFile);
    std::ifstream in(scratchFile, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in)
        throw std::runtime_error("mediagen: cannot read back " + scratchFile);
    return bytes.str();
}

} // namespace models
