#include "synth.h"

#include <algorithm>
#include <cmath>

namespace synth
{
namespace
{
// Smooths the step of a wave at phase 0, spread over one sample of phase increment dt (PolyBLEP).
double polyBlep(double t, double dt)
{
    if (t < dt)
    {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt)
    {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// Filters above this fraction of the rate become unstable or meaningless.
double clampCutoff(double hz)
{
    return std::clamp(hz, 10.0, 0.45 * sampleRate);
}
} // namespace

double noteFrequency(double midiNote)
{
    return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0);
}

std::size_t secondsToSamples(double seconds)
{
    return static_cast<std::size_t>(std::lround(std::max(0.0, seconds) * sampleRate));
}

float Noise::next()
{
    mState ^= mState << 13;
    mState ^= mState >> 17;
    mState ^= mState << 5;
    return static_cast<float>(static_cast<double>(mState) / 2147483647.5 - 1.0);
}

float Oscillator::next(double frequencyHz)
{
    const double dt = frequencyHz / sampleRate;
    const double t = mPhase;
    double value = 0.0;
    switch (mWave)
    {
    case Wave::Sine:
        value = std::sin(2.0 * pi * t);
        break;
    case Wave::Triangle:
        value = 4.0 * std::abs(t - 0.5) - 1.0;
        break;
    case Wave::Saw:
        value = 2.0 * t - 1.0 - polyBlep(t, dt);
        break;
    case Wave::Pulse:
    {
        const double width = mPulseWidth;
        value = t < width ? 1.0 : -1.0;
        value += polyBlep(t, dt);
        value -= polyBlep(std::fmod(t + 1.0 - width, 1.0), dt);
        // A narrow pulse is not centred on zero; remove its mean so mixes keep no DC offset.
        value -= 2.0 * width - 1.0;
        break;
    }
    }
    mPhase += dt;
    mPhase -= std::floor(mPhase);
    return static_cast<float>(value);
}

double Adsr::level(double timeSeconds, double gateSeconds) const
{
    auto held = [this](double t)
    {
        if (t < 0.0)
            return 0.0;
        if (t < attack)
            return t / attack;
        if (t < attack + decay)
            return 1.0 - (1.0 - sustain) * (t - attack) / decay;
        return sustain;
    };
    if (timeSeconds < gateSeconds)
        return held(timeSeconds);
    const double fromLevel = held(gateSeconds);
    const double sinceRelease = timeSeconds - gateSeconds;
    return sinceRelease >= release ? 0.0 : fromLevel * (1.0 - sinceRelease / release);
}

void Biquad::setLowPass(double cutoffHz, double q)
{
    const double w0 = 2.0 * pi * clampCutoff(cutoffHz) / sampleRate;
    const double cosW = std::cos(w0), alpha = std::sin(w0) / (2.0 * q), a0 = 1.0 + alpha;
    mB0 = static_cast<float>((1.0 - cosW) / 2.0 / a0);
    mB1 = static_cast<float>((1.0 - cosW) / a0);
    mB2 = mB0;
    mA1 = static_cast<float>(-2.0 * cosW / a0);
    mA2 = static_cast<float>((1.0 - alpha) / a0);
}

void Biquad::setHighPass(double cutoffHz, double q)
{
    const double w0 = 2.0 * pi * clampCutoff(cutoffHz) / sampleRate;
    const double cosW = std::cos(w0), alpha = std::sin(w0) / (2.0 * q), a0 = 1.0 + alpha;
    mB0 = static_cast<float>((1.0 + cosW) / 2.0 / a0);
    mB1 = static_cast<float>(-(1.0 + cosW) / a0);
    mB2 = mB0;
    mA1 = static_cast<float>(-2.0 * cosW / a0);
    mA2 = static_cast<float>((1.0 - alpha) / a0);
}

void Biquad::setBandPass(double centreHz, double q)
{
    const double w0 = 2.0 * pi * clampCutoff(centreHz) / sampleRate;
    const double cosW = std::cos(w0), alpha = std::sin(w0) / (2.0 * q), a0 = 1.0 + alpha;
    mB0 = static_cast<float>(alpha / a0);
    mB1 = 0.0f;
    mB2 = -mB0;
    mA1 = static_cast<float>(-2.0 * cosW / a0);
    mA2 = static_cast<float>((1.0 - alpha) / a0);
}

float Biquad::process(float input)
{
    const float output = mB0 * input + mB1 * mX1 + mB2 * mX2 - mA1 * mY1 - mA2 * mY2;
    mX2 = mX1;
    mX1 = input;
    mY2 = mY1;
    mY1 = output;
    return output;
}

void OnePole::setCutoff(double cutoffHz)
{
    mCoefficient = static_cast<float>(1.0 - std::exp(-2.0 * pi * clampCutoff(cutoffHz) / sampleRate));
}

void mixInto(Samples& destination, const Samples& source, std::size_t offset, float gain)
{
    if (offset >= destination.size())
        return;
    const std::size_t count = std::min(source.size(), destination.size() - offset);
    for (std::size_t i = 0; i < count; ++i)
        destination[offset + i] += source[i] * gain;
}

float peak(const Samples& samples)
{
    float largest = 0.0f;
    for (float sample : samples)
        largest = std::max(largest, std::abs(sample));
    return largest;
}

void normalise(Samples& samples, float targetPeak)
{
    const float largest = peak(samples);
    if (largest <= 0.0f)
        return;
    const float gain = targetPeak / largest;
    for (float& sample : samples)
        sample *= gain;
}

void fadeOutTail(Samples& samples, double fadeSeconds)
{
    const std::size_t count = std::min(samples.size(), secondsToSamples(fadeSeconds));
    const std::size_t start = samples.size() - count;
    for (std::size_t i = 0; i < count; ++i)
        samples[start + i] *= static_cast<float>(count - i) / static_cast<float>(count + 1);
}
} // namespace synth
