#pragma once

#include <memory>

#include "world/decoracio.h"

namespace Ogre
{
class Rectangle2D;
}

// The sky: a picture over the whole view, drawn behind everything. The wide picture ("wcel") is used when
// the camera's aspect is wider than 40:29, the 4:3 one ("cel") otherwise.
class Fons : public Decoracio
{
  public:
    Fons();
    // The screen rectangle is no scene-manager object, so clearing the scene would not free it.
    ~Fons() override;
    void update(const std::vector<Ogre::Vector3>& playerPositions, double frameTime) override;

  private:
    std::unique_ptr<Ogre::Rectangle2D> mSky;
};
