#pragma once

// The synthesiser's instruments. Each call renders one note or one hit as a mono buffer at synth::sampleRate,
// starting at the note's onset and long enough to hold its release or decay. Pitches are MIDI note numbers;
// gates (how long the key is held) are in seconds. Levels peak near 1 before mixing.

#include <cstdint>

#include "synth.h"

namespace instruments
{
// Bright pulse lead with a delayed vibrato: the melody.
synth::Samples lead(double pitch, double gateSeconds);
// Soft triangle lead: harmony and counter-melody lines.
synth::Samples softLead(double pitch, double gateSeconds);
// Saw bass with a plucked filter and a sine sub-octave.
synth::Samples bass(double pitch, double gateSeconds);
// One voice of a short off-beat chord stab (two detuned saws).
synth::Samples stab(double pitch, double gateSeconds);
// One voice of a slow, soft chord pad.
synth::Samples pad(double pitch, double gateSeconds);
// Wooden, marimba-like pluck: arpeggios and the second winner's jingle.
synth::Samples pluck(double pitch, double gateSeconds);

// A bell of inharmonic partials: frequency ratios, gains and decay times (seconds) of each partial.
struct Partial
{
    double ratio;
    double gain;
    double decaySeconds;
};
synth::Samples bell(double pitch, double lengthSeconds, const Partial* partials, int partialCount);

// Drum hits; the seed fixes each hit's noise so that it sounds the same on every run.
synth::Samples kick();
synth::Samples snare(std::uint32_t seed);
synth::Samples closedHat(std::uint32_t seed);
synth::Samples openHat(std::uint32_t seed);
synth::Samples crash(std::uint32_t seed);
synth::Samples tom(double pitch);
synth::Samples clap(std::uint32_t seed);
} // namespace instruments
