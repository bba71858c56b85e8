#pragma once

// The generator's little sequencer: note lines written as text, chord names, and a stereo mix bus that wraps
// around its end so that a tune rendered into it loops without a seam.

#include <cstddef>
#include <string>
#include <vector>

#include "synth.h"

namespace score
{
constexpr int sixteenthsPerBar = 16;

struct Note
{
    double startBeat;
    double lengthBeats;
    int pitch; // MIDI note number
};

// MIDI number of a note name: a letter a-g, an optional '#' or 'b', an octave digit ("c4" = 60, "f#5" = 78).
// Throws std::invalid_argument naming the text.
int parsePitch(const std::string& name);

// Parses a line of notes such as "g5/3 e5/1 c5/2 r/2 | a5/16": each token is a pitch or "r" (rest), a slash
// and a length in sixteenth notes; '|' closes a bar, which must then hold exactly 16 sixteenths (a
// miscounted bar would shift everything after it). The first note starts at startBeat. Throws
// std::invalid_argument with the bar number and the offending text.
std::vector<Note> parseLine(const std::string& text, double startBeat);

// Pitch classes (0 = C) of a major or minor triad named like "C", "F#", "Am", "Bb"; the root comes first.
// Throws std::invalid_argument on an unknown name.
std::vector<int> chordPitchClasses(const std::string& name);

// The lowest pitch of the given pitch class at or above lowest.
int pitchAtOrAbove(int pitchClass, int lowest);

// Moves a pitch by steps of the major scale on tonicPitchClass (negative: down), so a line a third below is
// diatonicShift(p, -2, tonic). Pitches outside the scale move by a minor third.
int diatonicShift(int pitch, int steps, int tonicPitchClass);

// A stereo mix of fixed length in frames. Sounds that run past the end continue at the start, so the mix is
// one period of a seamless loop. Two mono sends feed a ping-pong echo and a room reverb, which wrap the same
// way.
class LoopMix
{
  public:
    explicit LoopMix(std::size_t frames);

    // Adds a mono sound at startFrame (taken modulo the length) with gain and pan (-1 left .. 1 right,
    // constant power); echoSend and roomSend are the shares that also go to the echo and to the room.
    void add(const synth::Samples& sound, std::size_t startFrame, float gain, float pan,
             float echoSend = 0.0f, float roomSend = 0.0f);

    // Mixes the echo into the channels: delayFrames between repeats, alternating sides, each repeat
    // feedback times the previous one; wet is the echo's level.
    void applyEcho(std::size_t delayFrames, float feedback, float wet);

    // Mixes in the sound of a small room (parallel damped combs, then all-passes, different on each side
    // so it spreads wide); wet is its level. Wraps around the loop like everything else.
    void applyRoom(float wet);

    std::size_t frames() const { return mLeft.size(); }
    synth::Samples& left() { return mLeft; }
    synth::Samples& right() { return mRight; }

  private:
    synth::Samples mLeft, mRight, mSend, mRoomSend;
};
} // namespace score
