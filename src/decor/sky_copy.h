#pragma once

#include <memory>

#include <OgreRenderTargetListener.h>
#include <OgreTexture.h>

namespace Ogre
{
class RenderWindow;
class Viewport;
} // namespace Ogre

// The sky picture copied into the window at the start of every frame of the game's view, instead of drawn
// as a textured rectangle: the software rasteriser copies a picture in about half the time it takes to
// draw one over the whole view.
//
// The picture's own texture is read through a framebuffer object and blitted, stretched to the view with
// bilinear filtering where the sizes differ as drawing it would be, before the view's depth clear. Only
// the OpenGL render system can do this, with OpenGL 3.0 or newer, on a window without multisampling, for a
// texture a framebuffer can read (not a compressed one): elsewhere `start` returns nothing and the sky must
// be drawn.
class SkyCopy : public Ogre::RenderTargetListener
{
  public:
    // Copies `picture` (loaded here) into `view`, a viewport of `window`; all three must outlive it. Null,
    // with one line in the log saying why, where it cannot. Needs the window's GL context current.
    static std::unique_ptr<SkyCopy> start(const Ogre::TexturePtr& picture, Ogre::RenderWindow& window,
                                          Ogre::Viewport& view);
    ~SkyCopy() override;
    SkyCopy(const SkyCopy&) = delete;
    SkyCopy& operator=(const SkyCopy&) = delete;

    void preViewportUpdate(const Ogre::RenderTargetViewportEvent& event) override;

  private:
    SkyCopy(const Ogre::TexturePtr& picture, Ogre::RenderWindow& window, Ogre::Viewport& view,
            unsigned framebuffer);

    Ogre::TexturePtr mPicture;
    Ogre::RenderWindow& mWindow;
    Ogre::Viewport& mView;
    unsigned mFramebuffer;
};
