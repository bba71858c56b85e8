#pragma once

// Building blocks of the generator's synthesiser: oscillators, envelopes, filters and noise, all working
// on float samples in -1..1 at a fixed rate. Everything is deterministic: noise comes from our own
// generator with an explicit seed, never from the C library or the clock, so two runs give the same bytes.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace synth
{
constexpr int sampleRate = 44100;
constexpr double pi = 3.14159265358979323846;

using Samples = std::vector<float>;

// Frequency in Hz of a MIDI note number (69 = A4 = 440 Hz); fractional notes bend the pitch.
double noteFrequency(double midiNote);

// Length in samples of a duration in seconds, rounded to the nearest sample.
std::size_t secondsToSamples(double seconds);

// White noise in -1..1 from a 32-bit xorshift generator. The same seed gives the same sequence.
class Noise
{
  public:
    explicit Noise(std::uint32_t seed) : mState(seed ? seed : 0x9e3779b9u) {}
    float next();

  private:
    std::uint32_t mState;
};

enum class Wave
{
    Sine,
    Triangle,
    Saw,
    Pulse,
};

// A band-limited oscillator (PolyBLEP corrections on the saw and pulse edges, so high notes do not alias
// into harsh whistles). The frequency may change on every sample; the phase stays continuous.
class Oscillator
{
  public:
    explicit Oscillator(Wave wave, double startPhase = 0.0, float pulseWidth = 0.5f)
        : mWave(wave), mPhase(startPhase), mPulseWidth(pulseWidth)
    {
    }
    // Returns the next sample of a wave of frequencyHz (0 < frequencyHz < sampleRate / 2).
    float next(double frequencyHz);

  private:
    Wave mWave;
    double mPhase; // in cycles, 0..1
    float mPulseWidth;
};

// Attack-decay-sustain-release envelope; times in seconds, sustain as a level 0..1. The gate is the time the
// key is held; the release starts from whatever level the envelope had reached then.
struct Adsr
{
    double attack = 0.005;
    double decay = 0.1;
    double sustain = 0.7;
    double release = 0.05;

    double level(double timeSeconds, double gateSeconds) const;
    // Time after which level() stays at 0 for this gate.
    double length(double gateSeconds) const { return gateSeconds + release; }
};

// exp(-time / tau): the decay of a struck or plucked sound.
inline double decay(double timeSeconds, double tauSeconds)
{
    return timeSeconds < 0.0 ? 1.0 : std::exp(-timeSeconds / tauSeconds);
}

// Second-order filter (the usual audio-cookbook biquads). The coefficients may be changed between samples
// (sweeps); the state is kept.
class Biquad
{
  public:
    void setLowPass(double cutoffHz, double q);
    void setHighPass(double cutoffHz, double q);
    // Constant peak gain 1 at centreHz; q sets the width.
    void setBandPass(double centreHz, double q);
    float process(float input);

  private:
    float mB0 = 1.0f, mB1 = 0.0f, mB2 = 0.0f, mA1 = 0.0f, mA2 = 0.0f;
    float mX1 = 0.0f, mX2 = 0.0f, mY1 = 0.0f, mY2 = 0.0f;
};

// One-pole low-pass: cheap smoothing of tone and of parameter changes.
class OnePole
{
  public:
    void setCutoff(double cutoffHz);
    float process(float input)
    {
        mState += mCoefficient * (input - mState);
        return mState;
    }

  private:
    float mCoefficient = 1.0f;
    float mState = 0.0f;
};

// Adds source * gain into destination starting at offset; samples past the destination's end are dropped.
void mixInto(Samples& destination, const Samples& source, std::size_t offset, float gain);

// Largest absolute sample value.
float peak(const Samples& samples);

// Scales the samples so that their peak is targetPeak (silence stays silence).
void normalise(Samples& samples, float targetPeak);

// Linear fade over the last fadeSeconds, so an effect never ends on a step.
void fadeOutTail(Samples& samples, double fadeSeconds);
} // namespace synth
