#include "world/static_platform.h"

#include "core/access_points.h"
#include "world/physics.h"

StaticPlatform::StaticPlatform(float x, float y, float z, int length, PlankKind kind, double angleDegrees)
    : Platform(x, y, z, length, kind, false, static_cast<float>(angleDegrees))
{
    b2BodyDef anchorDef;
    anchorDef.position.Set(x, y);
    mAnchorBody = thePhysicsWorld->CreateBody(&anchorDef);
    physics::weldBodies(*thePhysicsWorld, *mPlankBody, *mAnchorBody, mPlankBody->GetWorldCenter());
}
