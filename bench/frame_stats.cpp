#include "frame_stats.h"

#include <algorithm>
#include <cmath>
#include <numeric>

FrameStats summarise(std::vector<double>& samples)
{
    FrameStats stats;
    if (samples.empty())
        return stats;
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    stats.count = static_cast<long>(n);
    stats.median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    const std::size_t rank =
        std::max<std::size_t>(static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(n))), 1);
    stats.p99 = samples[rank - 1];
    stats.max = samples.back();
    stats.trimmedMean = std::accumulate(samples.begin(), samples.begin() + static_cast<long>(rank), 0.0) /
                        static_cast<double>(rank);
    return stats;
}
