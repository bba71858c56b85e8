#pragma once

#include <memory>

#include "world/decoracio.h"

namespace Ogre
{
class ManualObject;
class TextureUnitState;
} // namespace Ogre
class SkyCopy;

// The sky: a picture over the whole view, behind everything. The wide picture ("wcel") is used when the
// camera's aspect is wider than 40:29, the 4:3 one ("cel") otherwise.
//
// It lies on the far plane and is drawn after the opaque backdrops (render queue `skyQueue`), so the
// software rasteriser can skip every pixel a backdrop already covers; everything in the main queue draws
// over it. A depth test costs a little on every pixel, so the sky tests depth only where the scene holds
// opaque backdrops when it is made; without them it is the first thing drawn and covers the whole view.
// Either way the sky and the backdrops leave no pixel of the view undrawn, so while the sky exists the view
// clears only its depth buffer. Where the render system can, the picture may instead be copied into the
// window before anything else (sky_copy.h): that pays only where no opaque backdrop hides part of the sky.
// Drawn, it is not tinted, and while the window shows it texel for pixel it is sampled without filtering,
// which costs about a third less and looks the same.
class Fons : public Decoracio
{
  public:
    // Opaque backdrops that the sky must not draw over go in a queue below this one.
    static constexpr unsigned char skyQueue = 40;
    static constexpr unsigned char backdropQueue = 25;

    // A copy costs the software rasteriser as much as a full-screen draw and splits the frame's work in two
    // batches, each holding memory of its own; drawing skips what opaque backdrops hide.
    enum class Copying
    {
        never,
        wherePossible
    };

    // Made after the scene's backdrops (Static2dDecor), so that it knows whether any is opaque.
    explicit Fons(Copying copying = Copying::never);
    // The screen rectangle is no scene-manager object, so clearing the scene would not free it. Gives the
    // view its colour clear back.
    ~Fons() override;
    void update(const std::vector<Ogre::Vector3>& playerPositions, double frameTime) override;

  private:
    void matchFilteringToViewport();

    std::unique_ptr<Ogre::ManualObject> mSky;
    std::unique_ptr<SkyCopy> mCopy;
    Ogre::TextureUnitState* mPicture = nullptr;
};
