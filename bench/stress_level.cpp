#include "stress_level.h"

#include <algorithm>
#include <sstream>

namespace
{
constexpr double cellWidth = 30;
constexpr double floorY = 15;
constexpr double launcherY = 80;

const char* const kinds[] = {"terra", "box", "tronc"};
const char* const sides[] = {"L", "R", "C"};
const char* const rails[] = {"4444", "66", "8822", "7777", "1397"};

double cellX(int cell)
{
    return -cell * cellWidth;
}
} // namespace

std::string stressLevelText(const StressLevelSize& size)
{
    const int cells = std::max(1, size.platforms / 3);
    std::ostringstream out;
    out << "0 25 " << cellX(cells - 1) << ' ' << floorY + 1 << " end\n";

    int platforms = 0;
    for (int cell = 0; cell < cells && platforms < size.platforms; ++cell)
    {
        const double x = cellX(cell);
        const char* kind = kinds[cell % 3];
        const char* side = sides[cell % 3];
        out << "StaticPlatform " << x << ' ' << floorY << " 30 0 floor" << cell << ' ' << kind << '\n';
        if (++platforms == size.platforms)
            break;
        out << "RotatingPlatform " << x + 10 << " 35 20 " << cell % 2 << " rot" << cell << ' ' << kind << ' '
            << side << '\n';
        if (++platforms == size.platforms)
            break;
        // Flags in turn: invertTilt, tiltDriven, circular, reverseSlide, tiltable.
        const int variant = cell % 5;
        out << "SlidingPlatform " << x << " 50 16 8 " << rails[variant] << ' ' << (variant == 0) << ' '
            << (variant == 1) << ' ' << (variant == 2) << ' ' << (variant == 3) << ' '
            << (variant == 1 || variant == 4) << " 0 slide" << cell << ' ' << kind << ' ' << side << '\n';
        ++platforms;
        if (cell % 100 == 50)
            out << "Checkpoint " << x << " 16\n";
    }
    for (int cell = 0; platforms < size.platforms; ++cell, ++platforms)
        out << "StaticPlatform " << cellX(cell) << " 65 12 0 extra box\n";

    // A tenth of the launchers stand in one emitter row over the first cells, the rest alone, both kinds.
    const int rowCount = size.launchers / 10;
    if (rowCount > 0)
        out << "BadBallEmitter " << cellX(0) << ' ' << cellX(std::min(cells, 20)) << ' ' << launcherY
            << " -10 0 1 4 2.5 " << rowCount << '\n';
    const int single = size.launchers - rowCount;
    for (int i = 0; i < single; ++i)
    {
        const double x = cellX(static_cast<int>(static_cast<long>(i) * cells / std::max(1, single)));
        if (i % 2 == 0)
            out << "BadBall " << x << ' ' << launcherY << " -5 10 1 4 2 " << (i % 10) * 0.1 << " 1\n";
        else
            out << "PhysBadBall " << x << ' ' << launcherY << " 5 0 1 5 3 " << (i % 10) * 0.1 << " 0\n";
    }
    for (int i = 0; i < size.butterflies; ++i)
        out << "Butterfly "
            << cellX(static_cast<int>(static_cast<long>(i) * cells / std::max(1, size.butterflies)))
            << " 20\n";
    return out.str();
}
