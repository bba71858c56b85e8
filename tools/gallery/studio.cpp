#include "studio.h"

#include <algorithm>

#include <Ogre.h>

namespace
{
void addGameLights(Ogre::SceneManager& scene)
{
    scene.setAmbientLight(Ogre::ColourValue(0.6f, 0.7f, 0.85f));
    Ogre::Light* sun = scene.createLight("gallery.sun");
    sun->setType(Ogre::Light::LT_DIRECTIONAL);
    sun->setDiffuseColour(0.5f, 0.5f, 0.5f);
    sun->setSpecularColour(0.5f, 0.5f, 0.5f);
    Ogre::SceneNode* sunNode = scene.getRootSceneNode()->createChildSceneNode();
    sunNode->setDirection(Ogre::Vector3(4, -5, 8).normalisedCopy(), Ogre::Node::TS_WORLD);
    sunNode->attachObject(sun);
    Ogre::Light* lamp = scene.createLight("gallery.lamp");
    lamp->setType(Ogre::Light::LT_POINT);
    lamp->setDiffuseColour(0.5f, 0.5f, 0.5f);
    lamp->setSpecularColour(0.5f, 0.5f, 0.5f);
    lamp->setAttenuation(8000, 1, 0.0005f, 0);
    scene.getRootSceneNode()->createChildSceneNode(Ogre::Vector3(2000, 600, 200))->attachObject(lamp);
}
} // namespace

Studio::Studio(Ogre::Root& root, Ogre::RenderWindow& window) : mRoot(root), mWindow(window)
{
    mScene = root.createSceneManager(Ogre::DefaultSceneManagerFactory::FACTORY_TYPE_NAME, "gallery");
    mCamera = mScene->createCamera("gallery.camera");
    mCamera->setProjectionType(Ogre::PT_ORTHOGRAPHIC);
    mCamera->setNearClipDistance(1);
    mCamera->setFarClipDistance(20000);
    mCamera->setAspectRatio(static_cast<float>(window.getWidth()) / static_cast<float>(window.getHeight()));
    mCameraNode = mScene->getRootSceneNode()->createChildSceneNode();
    mCameraNode->setFixedYawAxis(true);
    mCameraNode->attachObject(mCamera);
    Ogre::Viewport* viewport = window.addViewport(mCamera);
    viewport->setBackgroundColour(Ogre::ColourValue(0.55f, 0.75f, 0.95f));
    addGameLights(*mScene);
}

Ogre::SceneNode* Studio::place(const Ogre::Quaternion& orientation)
{
    Ogre::SceneNode* node =
        mScene->getRootSceneNode()->createChildSceneNode("gallery.model" + std::to_string(mPlaced++));
    node->setOrientation(orientation);
    return node;
}

Ogre::Image Studio::shoot(const Ogre::AxisAlignedBox& box, const Ogre::Vector3& direction)
{
    // The box's extent across the view: project its corners on the camera's right and up axes.
    const Ogre::Vector3 forward = direction.normalisedCopy();
    const Ogre::Vector3 right = forward.crossProduct(Ogre::Vector3::UNIT_Y).normalisedCopy();
    const Ogre::Vector3 up = right.crossProduct(forward);
    float extent = 0.1f;
    const Ogre::Vector3 centre = box.getCenter();
    for (const Ogre::Vector3& corner : box.getAllCorners())
    {
        extent = std::max(extent, std::fabs((corner - centre).dotProduct(right)));
        extent = std::max(extent, std::fabs((corner - centre).dotProduct(up)));
    }
    return shoot(centre, direction, extent * 2.3f);
}

Ogre::Image Studio::shoot(const Ogre::Vector3& centre, const Ogre::Vector3& direction, float viewHeight)
{
    const Ogre::Vector3 forward = direction.normalisedCopy();
    mCameraNode->setPosition(centre - forward * 5000);
    mCameraNode->setDirection(forward, Ogre::Node::TS_WORLD);
    mCamera->setOrthoWindowHeight(viewHeight);
    mRoot.renderOneFrame();
    Ogre::Image picture(Ogre::PF_BYTE_RGBA, mWindow.getWidth(), mWindow.getHeight());
    mWindow.copyContentsToMemory(Ogre::Box(0, 0, mWindow.getWidth(), mWindow.getHeight()),
                                 picture.getPixelBox());
    // Blended particles leave partial alpha in the frame buffer; the picture itself is opaque.
    Ogre::uchar* pixels = picture.getData();
    for (size_t i = 3; i < picture.getSize(); i += 4)
        pixels[i] = 255;
    return picture;
}

void Studio::clear()
{
    std::vector<Ogre::SceneNode*> models;
    for (Ogre::Node* child : mScene->getRootSceneNode()->getChildren())
    {
        if (child->getName().rfind("gallery.model", 0) == 0)
            models.push_back(static_cast<Ogre::SceneNode*>(child));
    }
    for (Ogre::SceneNode* node : models)
    {
        const auto objects = node->getAttachedObjects();
        node->detachAllObjects();
        for (Ogre::MovableObject* object : objects)
            mScene->destroyMovableObject(object);
        mScene->destroySceneNode(node);
    }
}
