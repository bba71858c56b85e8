#pragma once

#include <memory>

#include "world/decoracio.h"

namespace Ogre
{
class ManualObject;
class TextureUnitState;
} // namespace Ogre

// The sky: a picture over the whole view, behind everything. The wide picture ("wcel") is used when the
// camera's aspect is wider than 40:29, the 4:3 one ("cel") otherwise.
//
// It lies on the far plane and is drawn after the opaque backdrops (render queue `skyQueue`) with the depth
// test on, so the software rasteriser skips every pixel a backdrop already covers; everything in the main
// queue draws over it. While the window shows the picture texel for pixel it is sampled without filtering,
// which costs about a third less and looks the same.
class Fons : public Decoracio
{
  public:
    // Opaque backdrops that the sky must not draw over go in a queue below this one.
    static constexpr unsigned char skyQueue = 40;
    static constexpr unsigned char backdropQueue = 25;

    Fons();
    // The screen rectangle is no scene-manager object, so clearing the scene would not free it.
    ~Fons() override;
    void update(const std::vector<Ogre::Vector3>& playerPositions, double frameTime) override;

  private:
    void matchFilteringToViewport();

    std::unique_ptr<Ogre::ManualObject> mSky;
    Ogre::TextureUnitState* mPicture = nullptr;
};
