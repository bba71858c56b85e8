#pragma once

// Screen checks against the generated media: the pictures of overlay materials, read from the game's
// media archive, and a comparison of a screen grab with one of them where an overlay layout puts it.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/x11_window.h"

namespace platform
{
class HeadlessEngine;
}

// 8-bit RGBA pixels, rows from the top.
struct RgbaPicture
{
    unsigned width = 0;
    unsigned height = 0;
    std::vector<unsigned char> rgba; // 4 bytes per pixel

    const unsigned char* pixel(unsigned x, unsigned y) const { return &rgba[4 * (y * width + x)]; }
};

// The pictures of overlay materials in a media archive. Runs a headless engine for its lifetime, so it
// cannot share the process with another engine (the game itself runs in a child process).
class OverlayPictures
{
  public:
    // mediaArchive: the path of the game's "media.icl".
    explicit OverlayPictures(const std::string& mediaArchive);
    ~OverlayPictures();
    OverlayPictures(const OverlayPictures&) = delete;
    OverlayPictures& operator=(const OverlayPictures&) = delete;

    // The picture of texture unit 0 of pass 0 of technique 0 of `material`, decoded on first use. Throws
    // the engine's exception for an unknown material.
    const RgbaPicture& of(const std::string& material);
    // Whether the archive defines `material` (looks such as ".mouseOver" are optional for some buttons).
    bool has(const std::string& material) const;

  private:
    std::unique_ptr<platform::HeadlessEngine> mEngine;
    std::map<std::string, RgbaPicture> mPictures;
};

// Where an overlay should be on screen, in window pixels: its left edge, a range for its top (for layouts
// that slide or scroll) and its drawn size (0: the picture's own size).
struct OverlaySpot
{
    int left = 0;
    int topMin = 0;
    int topMax = 0;
    int width = 0;
    int height = 0;
};

struct OverlayMatch
{
    double fraction = 0; // of the sampled texels the screen shows
    int left = 0;        // where the best match was found
    int top = 0;
    int samples = 0;
};

// Compares the screen with `picture` drawn at `spot`, trying every top in the range and the left edge one
// pixel either way (layout offsets are truncated). Only opaque texels whose neighbourhood is uniform are
// sampled: edges blur under texture filtering and translucent texels mix with whatever lies behind. With
// `unlike` (another look of the same button, of the same size) only texels where the two pictures clearly
// differ are sampled, so the match tells the looks apart. A sample matches when every channel is within
// `tolerance`. Returns the best placement, exact to a pixel (a placement one pixel off meets the same
// uniform patches); no samples at all gives fraction 0.
OverlayMatch matchOverlay(const WindowPicture& screen, const RgbaPicture& picture, const OverlaySpot& spot,
                          const RgbaPicture* unlike = nullptr, int tolerance = 24);
