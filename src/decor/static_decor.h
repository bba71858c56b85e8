#pragma once

#include <string>

#include "world/decoracio.h"

// Still scenery placed by the level file. Neither moves: update does nothing.

// A mesh, scaled uniformly.
class StaticDecor : public Decoracio
{
  public:
    StaticDecor(const Ogre::Vector3& position, float scale, const std::string& mesh);
    void update(const std::vector<Ogre::Vector3>& playerPositions, double frameTime) override;
};

// A picture turned to face the camera as it is when the picture is made: `size` units wide, as high as the
// picture's proportions say; drawn as opaque and blended strips (picture_cutout.h) where that pays, else as a
// billboard of its visible part. A backdrop: its opaque
// strips are drawn before the sky, so nothing may lie behind it.
class Static2dDecor : public Decoracio
{
  public:
    Static2dDecor(const Ogre::Vector3& position, float size, const std::string& material);
    void update(const std::vector<Ogre::Vector3>& playerPositions, double frameTime) override;
};
