#include "world/bad_ball_emitter.h"

#include <algorithm>
#include <cmath>

#include <Ogre.h>

#include "core/access_points.h"
#include "core/unique_name.h"
#include "world/bad_ball.h"

RowLauncher rowLauncher(double x1, double x2, double launchVy, double interval, int count, int i)
{
    const double low = std::min(x1, x2);
    const double span = std::max(x1, x2) - low;
    return {low + i * span / count, launchVy + i % 4, static_cast<double>(i % 3) / count * interval};
}

void buildMeteorEmitter(double x1, double x2, double y, double launchVx, double launchVy, bool gravity,
                        double life, double interval, int count)
{
    const double low = std::min(x1, x2);
    const double span = std::max(x1, x2) - low;

    Ogre::SceneManager* scene = theSceneManager;
    // One cloud per 12 units of row, at least one.
    const int clouds = static_cast<int>(span / 12.0 + 1.0);
    for (int j = 0; j < clouds; ++j)
    {
        Ogre::BillboardSet* set = scene->createBillboardSet(uniqueName(), 1);
        set->setMaterialName("cloud3");
        set->createBillboard(Ogre::Vector3::ZERO, Ogre::ColourValue::White);
        Ogre::SceneNode* node = scene->getRootSceneNode()->createChildSceneNode(
            uniqueName(),
            Ogre::Vector3(static_cast<float>(low + j * span / clouds), static_cast<float>(y + 2.0), -80.0f));
        node->setScale(0.3f, 0.15f, 0.15f);
        node->attachObject(set);
    }

    for (int i = 0; i < count; ++i)
    {
        const RowLauncher launcher = rowLauncher(x1, x2, launchVy, interval, count, i);
        new BadBall(Ogre::Vector3(static_cast<float>(launcher.x), static_cast<float>(y), -50.0f), gravity,
                    false, launchVx, launcher.launchVy, life, interval, launcher.firstDelay);
    }
}
