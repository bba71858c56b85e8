#include "decor/fons.h"

#include <Ogre.h>

#include "core/access_points.h"

namespace
{
constexpr double wideSkyAspect = 40.0 / 29.0;

bool anyOpaqueBackdrop()
{
    for (const auto& entry : theSceneManager->getMovableObjects("Entity"))
        if (entry.second->getRenderQueueGroup() == Fons::backdropQueue)
            return true;
    return false;
}

void clearViewport(unsigned buffers)
{
    if (theViewport)
        theViewport->setClearEveryFrame(buffers != 0, buffers);
}
} // namespace

Fons::Fons() : mSky(std::make_unique<Ogre::ManualObject>("Sky"))
{
    const char* picture = theCamera->getAspectRatio() > wideSkyAspect ? "wcel" : "cel";
    const Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(picture);
    if (!material)
        OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND, std::string("No sky material ") + picture, "Fons");
    Ogre::Pass& pass = *material->getTechnique(0)->getPass(0);
    const bool behindBackdrops = anyOpaqueBackdrop();
    // First in the frame, the picture writes the far plane's depth over the whole view as it draws, which
    // costs the rasteriser less than a separate depth clear; behind backdrops it only tests depth.
    pass.setDepthCheckEnabled(true);
    pass.setDepthFunction(behindBackdrops ? Ogre::CMPF_LESS_EQUAL : Ogre::CMPF_ALWAYS_PASS);
    pass.setDepthWriteEnabled(!behindBackdrops);
    mPicture = pass.getNumTextureUnitStates() > 0 ? pass.getTextureUnitState(0) : nullptr;
    if (mPicture)
        mPicture->setColourOperation(Ogre::LBO_REPLACE);

    // Clip space, on the far plane: x and y from -1 to 1, picture row 0 at the top.
    mSky->setUseIdentityProjection(true);
    mSky->setUseIdentityView(true);
    mSky->begin(material, Ogre::RenderOperation::OT_TRIANGLE_LIST);
    for (const float y : {1.0f, -1.0f})
        for (const float x : {-1.0f, 1.0f})
        {
            mSky->position(x, y, 1);
            mSky->textureCoord((x + 1) / 2, (1 - y) / 2);
        }
    mSky->quad(0, 2, 3, 1);
    mSky->end();
    mSky->setRenderQueueGroup(skyQueue);
    Ogre::AxisAlignedBox everywhere;
    everywhere.setInfinite();
    mSky->setBoundingBox(everywhere);
    theSceneManager->getRootSceneNode()->createChildSceneNode("Background")->attachObject(mSky.get());
    matchFilteringToViewport();
    clearViewport(behindBackdrops ? Ogre::FBT_DEPTH : 0);
}

Fons::~Fons()
{
    clearViewport(Ogre::FBT_COLOUR | Ogre::FBT_DEPTH);
}

void Fons::update(const std::vector<Ogre::Vector3>&, double)
{
    matchFilteringToViewport();
}

void Fons::matchFilteringToViewport()
{
    const Ogre::Viewport* viewport = theCamera->getViewport();
    if (!mPicture || !viewport || !Ogre::Root::getSingleton().getRenderSystem())
        return;
    const std::pair<size_t, size_t> size = mPicture->getTextureDimensions();
    const bool texelForPixel = size.first == static_cast<size_t>(viewport->getActualWidth()) &&
                               size.second == static_cast<size_t>(viewport->getActualHeight());
    const Ogre::FilterOptions wanted = texelForPixel ? Ogre::FO_POINT : Ogre::FO_LINEAR;
    if (mPicture->getTextureFiltering(Ogre::FT_MAG) != wanted)
        mPicture->setTextureFiltering(wanted, wanted, Ogre::FO_NONE);
}
