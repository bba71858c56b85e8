// The game's sound effects, each fitted to its moment: mono, 44.1 kHz, a few tenths of a second for the
// things that happen often (jump, hurt), a few seconds for the winner's jingle, which holds the level until
// it ends. Every effect starts sounding on its first samples (no lag after the key press) and ends with a
// short fade (no click).

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "instruments.h"
#include "media_output.h"
#include "ogg_writer.h"
#include "score.h"
#include "sounds.h"

namespace
{
using synth::Samples;

// VBR quality of the effects: they are short, so a high quality costs little space.
constexpr float effectQuality = 0.5f;

double timeOf(std::size_t i)
{
    return static_cast<double>(i) / synth::sampleRate;
}

Samples emptyBuffer(double seconds)
{
    return Samples(synth::secondsToSamples(seconds), 0.0f);
}

// A point of a voice's contour: pitch (Hz), the three formant frequencies (Hz) that make the vowel, and
// loudness (0..1). Between keys the voice glides smoothly.
struct VoiceKey
{
    double time;
    double pitch;
    double f1, f2, f3;
    double amplitude;
};

// A voice: a buzzing source (saw plus breath noise) through three formant resonators.
Samples renderVoice(const VoiceKey* keys, int keyCount, double breath, std::uint32_t seed)
{
    Samples out = emptyBuffer(keys[keyCount - 1].time);
    synth::Oscillator source(synth::Wave::Saw);
    synth::Noise noise(seed);
    // A real throat's buzz falls off steeply above a kilohertz or so; a bare saw sounds like a kazoo.
    synth::OnePole throat;
    throat.setCutoff(1200.0);
    synth::Biquad formants[3];
    const double formantGains[3] = {1.0, 0.8, 0.5};
    const double bandwidths[3] = {90.0, 120.0, 180.0};
    int segment = 0;
    VoiceKey now = keys[0];
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        while (segment + 2 < keyCount && t >= keys[segment + 1].time)
            ++segment;
        const VoiceKey& a = keys[segment];
        const VoiceKey& b = keys[segment + 1];
        const double u = std::clamp((t - a.time) / (b.time - a.time), 0.0, 1.0);
        const double w = u * u * (3.0 - 2.0 * u);
        auto mixKey = [w](double x, double y) { return x + (y - x) * w; };
        now = {t,
               mixKey(a.pitch, b.pitch),
               mixKey(a.f1, b.f1),
               mixKey(a.f2, b.f2),
               mixKey(a.f3, b.f3),
               mixKey(a.amplitude, b.amplitude)};
        if (i % 32 == 0)
        {
            const double centres[3] = {now.f1, now.f2, now.f3};
            for (int f = 0; f < 3; ++f)
                formants[f].setBandPass(centres[f], centres[f] / bandwidths[f]);
        }
        // A little jitter keeps the voice from sounding like a machine.
        const double wobble = 1.0 + 0.012 * std::sin(2.0 * synth::pi * 7.0 * t);
        const float excitation =
            throat.process(source.next(now.pitch * wobble)) + static_cast<float>(breath) * noise.next();
        double sample = 0.0;
        for (int f = 0; f < 3; ++f)
            sample += formantGains[f] * formants[f].process(excitation);
        out[i] = static_cast<float>(sample * now.amplitude);
    }
    return out;
}

// A spring's "boing": a pitch that leaps up and wobbles as the spring settles, over a soft thump of feet
// leaving the ground.
Samples springJump(double startHz, double riseRatio, double wobbleHz, synth::Wave wave, double seconds)
{
    Samples out = emptyBuffer(seconds);
    synth::Oscillator tone(wave, 0.0, 0.35f), thump(synth::Wave::Sine);
    synth::Biquad soften;
    soften.setLowPass(3500.0, 0.7);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        const double wobble = 1.0 + 0.07 * std::sin(2.0 * synth::pi * wobbleHz * t) * synth::decay(t, 0.1);
        const double frequency = startHz * std::pow(riseRatio, 1.0 - synth::decay(t, 0.05)) * wobble;
        const double attack = std::min(1.0, t / 0.003);
        const double body = soften.process(tone.next(frequency)) * attack * synth::decay(t, 0.1);
        const double feet =
            thump.next(120.0 - 50.0 * std::min(1.0, t / 0.04)) * synth::decay(t, 0.018) * attack;
        out[i] = static_cast<float>(body + 0.5 * feet);
    }
    synth::fadeOutTail(out, 0.04);
    return out;
}

// "Ow-ch!" with a thud under it. pitchScale and formantScale make player 2's higher, smaller voice.
Samples ouch(double pitchScale, double formantScale, std::uint32_t seed)
{
    const double p = pitchScale, f = formantScale;
    const VoiceKey keys[] = {
        {0.00, 290 * p, 650 * f, 1100 * f, 2500 * f, 0.0}, {0.03, 345 * p, 760 * f, 1220 * f, 2550 * f, 1.0},
        {0.15, 325 * p, 720 * f, 1150 * f, 2450 * f, 1.0}, {0.30, 240 * p, 470 * f, 880 * f, 2300 * f, 0.75},
        {0.40, 205 * p, 390 * f, 800 * f, 2300 * f, 0.0},
    };
    Samples voice = renderVoice(keys, 5, 0.15, seed);
    synth::normalise(voice, 1.0f);

    Samples out = emptyBuffer(0.6);
    synth::mixInto(out, voice, 0, 0.8f);
    synth::Oscillator low(synth::Wave::Sine);
    synth::Noise noise(seed + 1);
    synth::OnePole muffle;
    muffle.setCutoff(400.0);
    synth::Biquad hiss;
    hiss.setBandPass(3800.0 * f, 1.2);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        const double attack = std::min(1.0, t / 0.002);
        const double thud = (low.next(50.0 + 45.0 * synth::decay(t, 0.03)) * synth::decay(t, 0.07) +
                             muffle.process(noise.next()) * 2.0 * synth::decay(t, 0.03)) *
                            attack;
        // The "ch" at the end of the word.
        const double chTime = t - 0.37;
        const double ch = chTime < 0.0 ? 0.0 : std::min(1.0, chTime / 0.015) * synth::decay(chTime, 0.04);
        out[i] += static_cast<float>(0.8 * thud + 0.5 * ch * hiss.process(noise.next()));
    }
    synth::fadeOutTail(out, 0.05);
    return out;
}

// A balloon popping out ("bloop" and a small pop), then a bright arpeggio of bells.
Samples checkpointChime(const int* pitches, int noteCount, double noteSpacing,
                        const instruments::Partial* partials, int partialCount, std::uint32_t seed)
{
    constexpr double length = 0.8, chimeStart = 0.05;
    Samples out = emptyBuffer(length);
    synth::Oscillator bloop(synth::Wave::Sine);
    synth::Noise noise(seed);
    synth::Biquad pop;
    pop.setBandPass(1800.0, 1.5);
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        const double attack = std::min(1.0, t / 0.002);
        const double rise = bloop.next(350.0 + 750.0 * std::min(1.0, t / 0.06)) * synth::decay(t, 0.045);
        out[i] = static_cast<float>(attack *
                                    (0.5 * rise + 1.2 * pop.process(noise.next()) * synth::decay(t, 0.007)));
    }
    for (int n = 0; n < noteCount; ++n)
    {
        const double start = chimeStart + n * noteSpacing;
        const Samples note = instruments::bell(pitches[n], length - start, partials, partialCount);
        synth::mixInto(out, note, synth::secondsToSamples(start), 0.45f + 0.1f * static_cast<float>(n));
    }
    synth::fadeOutTail(out, 0.08);
    return out;
}

// A slide whistle falling from high to low over the whole respawn wait.
Samples slideWhistleDown(std::uint32_t seed)
{
    constexpr double length = 1.2, glide = 1.1;
    Samples out = emptyBuffer(length);
    synth::Oscillator tone(synth::Wave::Sine);
    synth::Noise noise(seed);
    synth::Biquad breath;
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        const double t = timeOf(i);
        // A short upward scoop, then the fall, faster towards the end like a plunger pulled out.
        const double scoop = 1.0 - 0.15 * synth::decay(t, 0.03);
        const double fall = std::pow(std::min(1.0, t / glide), 1.4);
        const double vibrato = 1.0 + 0.025 * std::sin(2.0 * synth::pi * 6.0 * t);
        const double frequency = 1500.0 * std::pow(240.0 / 1500.0, fall) * scoop * vibrato;
        if (i % 32 == 0)
            breath.setBandPass(frequency, 6.0);
        const double attack = std::min(1.0, t / 0.03);
        const double sample = tone.next(frequency) + 0.35 * breath.process(noise.next());
        out[i] = static_cast<float>(sample * attack);
    }
    synth::fadeOutTail(out, 0.25);
    return out;
}

// Places a line of notes on a sixteenth grid of sixteenthSeconds, played by an instrument.
template <typename Instrument>
void addLine(Samples& out, const std::string& line, double sixteenthSeconds, float gain, Instrument play)
{
    for (const score::Note& note : score::parseLine(line, 0.0))
    {
        const double start = note.startBeat * 4.0 * sixteenthSeconds;
        const double gate = note.lengthBeats * 4.0 * sixteenthSeconds * 0.9;
        synth::mixInto(out, play(note.pitch, gate), synth::secondsToSamples(start), gain);
    }
}

void addHit(Samples& out, const Samples& hit, double seconds, float gain)
{
    synth::mixInto(out, hit, synth::secondsToSamples(seconds), gain);
}

// Player 1's victory: a brassy fanfare in C climbing to a held top C over a drum roll.
Samples winnerJingleOne()
{
    constexpr double sixteenth = 0.1;
    Samples out = emptyBuffer(3.6);
    const std::string melody = "g4/1 c5/1 e5/1 g5/3 e5/1 g5/4 a5/2 b5/2 c6/12";
    addLine(out, melody, sixteenth, 0.5f, instruments::lead);
    for (const score::Note& note : score::parseLine(melody, 0.0))
        synth::mixInto(out,
                       instruments::softLead(score::diatonicShift(note.pitch, -2, 0),
                                             note.lengthBeats * 4.0 * sixteenth * 0.9),
                       synth::secondsToSamples(note.startBeat * 4.0 * sixteenth), 0.25f);
    addLine(out, "c3/6 e3/5 f3/2 g3/2 c3/12", sixteenth, 0.55f, instruments::bass);
    addLine(out, "e4/5 r/1 e4/4 r/1 f4/2 g4/2 e4/12", sixteenth, 0.2f, instruments::stab);
    addLine(out, "g4/5 r/1 g4/4 r/1 a4/2 b4/2 g4/12", sixteenth, 0.2f, instruments::stab);
    addLine(out, "r/15 c5/12", sixteenth, 0.18f, instruments::softLead);
    const Samples kick = instruments::kick(), snare = instruments::snare(0x5a12u),
                  crash = instruments::crash(0xc4a6u);
    for (int s : {0, 6, 11, 13, 15})
        addHit(out, kick, s * sixteenth, 0.6f);
    for (int s : {3, 6})
        addHit(out, snare, s * sixteenth, 0.3f);
    for (int i = 0; i < 8; ++i)
        addHit(out, snare, 1.1 + i * sixteenth / 2.0, 0.12f + 0.03f * static_cast<float>(i));
    addHit(out, crash, 15 * sixteenth, 0.4f);
    synth::normalise(out, 0.9f);
    synth::fadeOutTail(out, 0.5);
    return out;
}

// Player 2's victory: a lighter, woody tune in D on marimba and whistle, with claps and a bell at the end.
Samples winnerJingleTwo()
{
    constexpr double sixteenth = 0.09;
    Samples out = emptyBuffer(3.8);
    const std::string melody = "a4/2 d5/2 f#5/2 a5/2 g5/1 f#5/1 e5/2 f#5/2 d5/2 b4/2 c#5/2 e5/2 a5/2 d6/12";
    addLine(out, melody, sixteenth, 0.45f, instruments::softLead);
    addLine(out, melody, sixteenth, 0.35f,
            [](double pitch, double gate) { return instruments::pluck(pitch + 12, gate); });
    addLine(out, "d3/4 a2/4 g2/4 b2/4 a2/4 c#3/4 d3/12", sixteenth, 0.55f, instruments::bass);
    const char* chordVoices[] = {
        "f#4/4 f#4/4 g4/4 g4/4 e4/4 e4/4 f#4/12",
        "a4/4 a4/4 b4/4 b4/4 a4/4 a4/4 a4/12",
        "d5/4 d5/4 d5/4 d5/4 c#5/4 c#5/4 d5/12",
    };
    for (const char* voice : chordVoices)
        addLine(out, voice, sixteenth, 0.16f, instruments::pluck);
    const Samples kick = instruments::kick(), clap = instruments::clap(0xc1aau),
                  hat = instruments::closedHat(0x4a9u);
    for (int s : {0, 8, 16, 24})
        addHit(out, kick, s * sixteenth, 0.5f);
    for (int s : {4, 12, 20})
        addHit(out, clap, s * sixteenth, 0.35f);
    for (int s = 0; s < 24; s += 2)
        addHit(out, hat, s * sixteenth, 0.15f);
    const instruments::Partial glass[] = {{1.0, 1.0, 0.6}, {2.76, 0.35, 0.2}, {5.4, 0.15, 0.08}};
    addHit(out, instruments::bell(86, 1.4, glass, 3), 24 * sixteenth, 0.3f);
    synth::normalise(out, 0.9f);
    synth::fadeOutTail(out, 0.5);
    return out;
}

// The goal cat's "miaow", then silence: the cat calls again only after a pause while a player stays near.
Samples catMiaow()
{
    const VoiceKey keys[] = {
        {0.00, 480, 400, 1800, 3200, 0.0}, {0.06, 520, 450, 1900, 3300, 0.35},
        {0.16, 640, 900, 2100, 3400, 0.9}, {0.32, 760, 1300, 2000, 3500, 1.0},
        {0.55, 600, 900, 1400, 3200, 0.8}, {0.75, 430, 600, 1100, 3000, 0.3},
        {0.85, 400, 500, 1000, 3000, 0.0},
    };
    Samples voice = renderVoice(keys, 7, 0.12, 0xca7u);
    synth::fadeOutTail(voice, 0.03);
    synth::normalise(voice, 0.7f);
    Samples out = emptyBuffer(2.85);
    synth::mixInto(out, voice, 0, 1.0f);
    return out;
}

void addEffect(MediaOutput& output, const std::string& name, Samples samples, float targetPeak)
{
    synth::normalise(samples, targetPeak);
    if (samples.size() > static_cast<std::size_t>(10 * synth::sampleRate))
        throw std::logic_error("mediagen: effect " + name + " is longer than 10 s");
    output.addArchiveFile(name,
                          encodeOggVorbis({samples}, synth::sampleRate, effectQuality, oggSerialFor(name)));
}
} // namespace

void generateSoundEffects(MediaOutput& output)
{
    // Jumps repeat every few tenths of a second while the button is held: short and not too loud.
    addEffect(output, "jump.ogg", springJump(190.0, 3.4, 17.0, synth::Wave::Triangle, 0.3), 0.6f);
    addEffect(output, "jump2.ogg", springJump(270.0, 3.0, 22.0, synth::Wave::Pulse, 0.3), 0.55f);
    addEffect(output, "pupa.ogg", ouch(1.0, 1.0, 0x0c4u), 0.85f);
    addEffect(output, "pupa2.ogg", ouch(1.45, 1.15, 0x0c5u), 0.85f);

    const int risingC[] = {84, 88, 91, 96};
    const instruments::Partial tubular[] = {
        {1.0, 1.0, 0.35}, {2.0, 0.45, 0.2}, {3.01, 0.25, 0.12}, {4.16, 0.2, 0.07}};
    addEffect(output, "checkpoint.ogg", checkpointChime(risingC, 4, 0.06, tubular, 4, 0xb0bu), 0.7f);
    const int fifthE[] = {88, 95, 100};
    const instruments::Partial glockenspiel[] = {{1.0, 1.0, 0.3}, {2.76, 0.4, 0.1}, {5.4, 0.2, 0.05}};
    addEffect(output, "checkpoint2.ogg", checkpointChime(fifthE, 3, 0.1, glockenspiel, 3, 0xb0cu), 0.7f);

    addEffect(output, "death.ogg", slideWhistleDown(0xdeadu), 0.6f);
    addEffect(output, "guanyar.ogg", winnerJingleOne(), 0.9f);
    addEffect(output, "guanyar2.ogg", winnerJingleTwo(), 0.9f);
    addEffect(output, "miaw.ogg", catMiaow(), 0.7f);
}

void generateSounds(MediaOutput& output)
{
    generateSoundEffects(output);
    generateMusic(output);
}
