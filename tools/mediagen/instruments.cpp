#include "instruments.h"

#include <algorithm>
#include <cmath>

using synth::Samples;

namespace instruments
{
namespace
{
double timeOf(std::size_t i)
{
    return static_cast<double>(i) / synth::sampleRate;
}

Samples buffer(double seconds)
{
    return Samples(synth::secondsToSamples(seconds) + 1, 0.0f);
}

// Pitch offset in semitones of a vibrato that fades in after a short delay, so short notes stay steady
// and long ones sing.
double vibrato(double t, double depthSemitones)
{
    constexpr double delaySeconds = 0.14, fadeInSeconds = 0.2, rateHz = 5.6;
    if (t < delaySeconds)
        return 0.0;
    const double fade = std::min(1.0, (t - delaySeconds) / fadeInSeconds);
    return depthSemitones * fade * std::sin(2.0 * synth::pi * rateHz * (t - delaySeconds));
}

// Filtered noise shaped by an exponential decay: the body of hats, snares and cymbals.
Samples noiseHit(std::uint32_t seed, double lengthSeconds, double decaySeconds, double highPassHz,
                 double bandCentreHz, double bandMix)
{
    Samples out = buffer(lengthSeconds);
    synth::Noise noise(seed);
    synth::Biquad high, band;
    high.setHighPass(highPassHz, 0.7);
    band.setBandPass(bandCentreHz, 1.2);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        const float white = noise.next();
        const float shaped = high.process(white) * static_cast<float>(1.0 - bandMix) +
                             band.process(white) * static_cast<float>(bandMix * 2.0);
        const double attack = std::min(1.0, t / 0.0015);
        out[i] = static_cast<float>(shaped * attack * synth::decay(t, decaySeconds));
    }
    return out;
}
} // namespace

Samples lead(double pitch, double gateSeconds)
{
    const synth::Adsr envelope{0.006, 0.12, 0.65, 0.07};
    Samples out = buffer(envelope.length(gateSeconds));
    synth::Oscillator narrow(synth::Wave::Pulse, 0.0, 0.25f);
    synth::Oscillator wide(synth::Wave::Pulse, 0.37, 0.5f);
    synth::Biquad tone;
    const double base = synth::noteFrequency(pitch);
    tone.setLowPass(std::min(5200.0, base * 7.0), 0.8);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        const double frequency = synth::noteFrequency(pitch + vibrato(t, 0.22));
        const float raw = 0.7f * narrow.next(frequency) + 0.3f * wide.next(frequency * 1.003);
        out[i] = static_cast<float>(tone.process(raw) * envelope.level(t, gateSeconds));
    }
    return out;
}

Samples softLead(double pitch, double gateSeconds)
{
    const synth::Adsr envelope{0.01, 0.2, 0.7, 0.1};
    Samples out = buffer(envelope.length(gateSeconds));
    synth::Oscillator body(synth::Wave::Triangle);
    synth::Oscillator air(synth::Wave::Sine, 0.25);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        const double frequency = synth::noteFrequency(pitch + vibrato(t, 0.15));
        const float raw = 0.8f * body.next(frequency) + 0.2f * air.next(frequency * 2.0);
        out[i] = static_cast<float>(raw * envelope.level(t, gateSeconds));
    }
    return out;
}

Samples bass(double pitch, double gateSeconds)
{
    const synth::Adsr envelope{0.003, 0.15, 0.6, 0.04};
    Samples out = buffer(envelope.length(gateSeconds));
    synth::Oscillator saw(synth::Wave::Saw);
    synth::Oscillator sub(synth::Wave::Sine);
    synth::Biquad tone;
    const double frequency = synth::noteFrequency(pitch);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        // The filter snaps open at the onset and closes quickly: a round, plucked bass.
        if (i % 32 == 0)
            tone.setLowPass(260.0 + 1500.0 * synth::decay(t, 0.07), 1.3);
        const float raw = 0.55f * saw.next(frequency) + 0.6f * sub.next(frequency * 0.5);
        out[i] = static_cast<float>(tone.process(raw) * envelope.level(t, gateSeconds));
    }
    return out;
}

Samples stab(double pitch, double gateSeconds)
{
    const synth::Adsr envelope{0.002, 0.09, 0.25, 0.06};
    Samples out = buffer(envelope.length(gateSeconds));
    synth::Oscillator low(synth::Wave::Saw, 0.0), high(synth::Wave::Saw, 0.5);
    synth::Biquad tone;
    tone.setLowPass(2600.0, 0.7);
    const double frequency = synth::noteFrequency(pitch);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        const float raw = 0.5f * low.next(frequency * 0.9954) + 0.5f * high.next(frequency * 1.0046);
        out[i] = static_cast<float>(tone.process(raw) * envelope.level(t, gateSeconds));
    }
    return out;
}

Samples pad(double pitch, double gateSeconds)
{
    const synth::Adsr envelope{0.35, 0.3, 0.8, 0.5};
    Samples out = buffer(envelope.length(gateSeconds));
    synth::Oscillator a(synth::Wave::Saw, 0.0), b(synth::Wave::Saw, 0.33), c(synth::Wave::Saw, 0.67);
    synth::Biquad tone;
    tone.setLowPass(1100.0, 0.6);
    const double frequency = synth::noteFrequency(pitch);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        const float raw = (a.next(frequency * 0.994) + b.next(frequency) + c.next(frequency * 1.006)) / 3.0f;
        out[i] = static_cast<float>(tone.process(raw) * envelope.level(t, gateSeconds));
    }
    return out;
}

Samples pluck(double pitch, double gateSeconds)
{
    const double length = gateSeconds + 0.5;
    Samples out = buffer(length);
    synth::Oscillator body(synth::Wave::Sine), overtone(synth::Wave::Sine, 0.1);
    const double frequency = synth::noteFrequency(pitch);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        const double attack = std::min(1.0, t / 0.002);
        // Released keys are damped: the wood stops ringing soon after the gate.
        const double damping = t > gateSeconds ? synth::decay(t - gateSeconds, 0.05) : 1.0;
        const double level = attack * damping;
        const double sample = body.next(frequency) * synth::decay(t, 0.28) +
                              0.3 * overtone.next(frequency * 4.0) * synth::decay(t, 0.04);
        out[i] = static_cast<float>(sample * level);
    }
    return out;
}

Samples bell(double pitch, double lengthSeconds, const Partial* partials, int partialCount)
{
    Samples out = buffer(lengthSeconds);
    const double frequency = synth::noteFrequency(pitch);
    for (int p = 0; p < partialCount; ++p)
    {
        const double partialHz = frequency * partials[p].ratio;
        if (partialHz >= 0.45 * synth::sampleRate)
            continue;
        synth::Oscillator tone(synth::Wave::Sine, 0.13 * p);
        for (std::size_t i = 0; i < out.size(); ++i)
        {
            const double t = timeOf(i);
            const double attack = std::min(1.0, t / 0.0015);
            out[i] += static_cast<float>(tone.next(partialHz) * partials[p].gain * attack *
                                         synth::decay(t, partials[p].decaySeconds));
        }
    }
    synth::fadeOutTail(out, 0.02);
    return out;
}

Samples kick()
{
    Samples out = buffer(0.42);
    synth::Oscillator body(synth::Wave::Sine);
    synth::Noise noise(0x51c4u);
    synth::OnePole clickTone;
    clickTone.setCutoff(2500.0);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        const double frequency = 48.0 + 120.0 * synth::decay(t, 0.028);
        const double attack = std::min(1.0, t / 0.0008);
        const double thump = body.next(frequency) * synth::decay(t, 0.2) * attack;
        const double click = clickTone.process(noise.next()) * synth::decay(t, 0.004);
        out[i] = static_cast<float>(std::tanh(1.6 * (thump + 0.5 * click)));
    }
    synth::fadeOutTail(out, 0.03);
    return out;
}

Samples snare(std::uint32_t seed)
{
    Samples out = noiseHit(seed, 0.32, 0.1, 1200.0, 3200.0, 0.5);
    synth::Oscillator drumHead(synth::Wave::Sine), ring(synth::Wave::Sine, 0.3);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        const double frequency = 180.0 + 40.0 * synth::decay(t, 0.01);
        const double tone = (0.6 * drumHead.next(frequency) + 0.3 * ring.next(frequency * 1.8)) *
                            synth::decay(t, 0.045) * std::min(1.0, t / 0.001);
        out[i] = static_cast<float>(0.75 * out[i] + tone);
    }
    synth::fadeOutTail(out, 0.03);
    return out;
}

Samples closedHat(std::uint32_t seed)
{
    Samples out = noiseHit(seed, 0.09, 0.022, 7000.0, 10000.0, 0.3);
    synth::fadeOutTail(out, 0.01);
    return out;
}

Samples openHat(std::uint32_t seed)
{
    Samples out = noiseHit(seed, 0.45, 0.16, 6500.0, 9000.0, 0.3);
    synth::fadeOutTail(out, 0.05);
    return out;
}

Samples crash(std::uint32_t seed)
{
    Samples out = noiseHit(seed, 2.2, 0.65, 3800.0, 6200.0, 0.45);
    synth::fadeOutTail(out, 0.3);
    return out;
}

Samples tom(double pitch)
{
    Samples out = buffer(0.5);
    synth::Oscillator body(synth::Wave::Sine);
    const double frequency = synth::noteFrequency(pitch);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        const double bend = 1.0 + 0.6 * synth::decay(t, 0.03);
        out[i] = static_cast<float>(body.next(frequency * bend) * synth::decay(t, 0.17) *
                                    std::min(1.0, t / 0.001));
    }
    synth::fadeOutTail(out, 0.04);
    return out;
}

Samples clap(std::uint32_t seed)
{
    Samples out = buffer(0.3);
    synth::Noise noise(seed);
    synth::Biquad band;
    band.setBandPass(1300.0, 0.9);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        // Three quick slaps, then the room's short tail: the several hands of a clap.
        double level = synth::decay(t - 0.022, 0.07) * (t >= 0.022 ? 1.0 : 0.0);
        for (double slap : {0.0, 0.009, 0.016})
            if (t >= slap && t < slap + 0.008)
                level = std::max(level, synth::decay(t - slap, 0.003));
        out[i] = static_cast<float>(2.0 * band.process(noise.next()) * level);
    }
    synth::fadeOutTail(out, 0.03);
    return out;
}
} // namespace instruments
