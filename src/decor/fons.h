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
// It lies on the far plane and is drawn after the opaque backdrops (render queue `skyQueue`), so the
// software rasteriser can skip every pixel a backdrop already covers; everything in the main queue draws
// over it. A depth test costs a little on every pixel, so the sky tests depth only where the scene holds
// opaque backdrops when it is made; without them (the title) it is the first thing drawn, covers the whole
// view and writes the far plane's depth as it goes. Either way the sky and the backdrops leave no pixel of
// the view undrawn, so while the sky exists the view clears only its depth buffer, and not even that where
// the sky writes it: a software rasteriser takes longer to clear the depth of the whole view than the sky
// takes to write it. It is not tinted, and while the window shows it texel for pixel it is sampled without
// filtering, which costs about a third less and looks the same.
//
// Measured and dropped: copying the picture into the window with a framebuffer blit. The software
// rasteriser blits through the same path as a full-view textured draw, so it costs as much, cannot skip what
// the backdrops hide, and splits the frame's work into two batches that hold about 16 MiB more.
class Fons : public Decoracio
{
  public:
    // Opaque backdrops that the sky must not draw over go in a queue below this one.
    static constexpr unsigned char skyQueue = 40;
    static constexpr unsigned char backdropQueue = 25;

    // Made after the scene's backdrops (Static2dDecor), so that it knows whether any is opaque.
    Fons();
    // The screen rectangle is no scene-manager object, so clearing the scene would not free it. Gives the
    // view its colour clear back.
    ~Fons() override;
    void update(const std::vector<Ogre::Vector3>& playerPositions, double frameTime) override;

  private:
    void matchFilteringToViewport();

    std::unique_ptr<Ogre::ManualObject> mSky;
    Ogre::TextureUnitState* mPicture = nullptr;
};
