#pragma once

#include <string>

// A generated level far bigger than any shipped one, to see how the cost of a frame grows with the number
// of objects. Platforms of every kind, plank kind and axle side are laid out in cells 30 units wide along
// -x: a fixed floor plank at y 15 that the players run on, a rotating plank above it and a sliding one
// higher up (tilt-driven, circular, reversed and tiltable variants in turn); meteor launchers of both
// kinds and one emitter row are spread over the whole length, with the butterflies; a checkpoint every
// 100 cells. The goal is at the far end; the next level is "end".
struct StressLevelSize
{
    int platforms = 1000;
    int launchers = 200;
    int butterflies = 100;
};

// The level file's text.
std::string stressLevelText(const StressLevelSize& size);
