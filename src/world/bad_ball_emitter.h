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

// Launcher i (0 to count - 1) of such a row: where it stands, its launch speed upwards and its first delay
// (seconds). Neighbours differ in launch height and first delay, so the row does not fire as one.
struct RowLauncher
{
    double x;
    double launchVy;
    double firstDelay;
};
RowLauncher rowLauncher(double x1, double x2, double launchVy, double interval, int count, int i);
