#pragma once

#include "core/scene.h"

// Stand-in first scene until the title scene exists: shows the sky colour over the whole picture and waits
// for the window to close.
class SkyScene : public Scene
{
  public:
    void load() override;
    void unload() override;
};
