#pragma once

// A row of meteor launchers under a row of storm clouds, built from one level record. The row keeps no
// state of its own: the launchers are ordinary BadBall enemies in their registry, the clouds plain
// billboards that go with the scene.
//
// x1 and x2: the ends of the row in either order; y: the launchers' height (the clouds float 2 above);
// launchVx, launchVy: launch velocity in units/s (launcher i adds i mod 4 to launchVy); gravity: the meteors
// fall; life: seconds each meteor flies; interval: seconds between the meteors of one launcher; count: the
// number of launchers, spread evenly from the lower end.
void buildMeteorEmitter(double x1, double x2, double y, double launchVx, double launchVy, bool gravity,
                        double life, double interval, int count);
