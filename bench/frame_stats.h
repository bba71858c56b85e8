#pragma once

#include <vector>

// Order statistics of per-frame costs, in the samples' own unit.
struct FrameStats
{
    long count = 0;
    double median = 0;
    double p99 = 0; // nearest rank: 99 % of the samples are at or below it
    double max = 0;
    // Mean of the samples up to the 99th percentile: the cost of a typical second of play, without the
    // frames in which another program took the processor.
    double trimmedMean = 0;
};

// Sorts `samples` in place. All zero for no samples.
FrameStats summarise(std::vector<double>& samples);
