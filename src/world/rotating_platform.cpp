#include "world/rotating_platform.h"

#include <Ogre.h>

RotatingPlatform::RotatingPlatform(float x, float y, float z, int length, PlankKind kind, bool invertTilt,
                                   AxleSide side)
    : Platform(x, y, z, length, kind, true, 0.0f), mInvertTilt(invertTilt), mRotationGain(7.0 / length)
{
    if (kind == PlankKind::log)
        mEntity->setMaterialName("tronc0");
    createAxle("eix.mesh", side, length);
    offsetPlankBySide(x, y, side, length);
    weldToKinematicAnchor(x, y);
}

void RotatingPlatform::update(float tilt, int player, float dt)
{
    beginUpdate(dt);
    steerTowardsTilt(tilt, mInvertTilt, mRotationGain);
    followPlank();
    if (mKind == PlankKind::log && player != colourOwner)
        tintLog(player);
}
