// The game's theme: a bright, bouncy tune in C major at 126 beats per minute, 48 bars (91.4 s) that loop.
//
// Form: intro (4 bars) - theme A (8) - A with harmony (8) - bridge (8) - breakdown (4) - A with a lower
// double (8) - outro (8), whose last bar is a drum fill that leads back into the intro. Every sound is mixed
// into a LoopMix, so the tails of the last bar (cymbal, echo, bass release) continue over the first
// samples and the file wraps to its start without a seam.

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <stdexcept>

#include "instruments.h"
#include "media_output.h"
#include "ogg_writer.h"
#include "score.h"
#include "sounds.h"

namespace
{
using synth::Samples;

const char* const musicFileName = "Velmora_-_ditto_ditto.ogg";
// 126 beats per minute makes a beat exactly 21000 samples and a sixteenth 5250, so every onset falls on a
// sample and the loop length is an exact number of bars.
constexpr std::size_t framesPerBeat = 21000;
constexpr double secondsPerBeat = static_cast<double>(framesPerBeat) / synth::sampleRate;
constexpr int beatsPerBar = 4;
// The music plays under the effects at the same gain, so it peaks lower than they do.
constexpr float musicPeak = 0.75f;
// VBR quality of the music: ~100 kbit/s stereo; the bright lead and hats stay clean.
constexpr float musicQuality = 0.3f;

enum class Style
{
    Intro,
    Main,
    Bridge,
    Breakdown,
    Outro,
};

struct Section
{
    Style style;
    const char* chords; // one or two chords per bar, bars separated by '|'
    const char* melody; // lead line, see score::parseLine
    bool harmony;       // a soft line a third below the lead
    int octaveDouble;   // -1: a soft line an octave below the lead; 1: a marimba an octave above; 0: none
};

const char* const themeChords = "C | Am | F | G | C | Am | F G | C";
const char* const themeOpening = "g5/3 e5/1 c5/2 e5/2 g5/4 c6/4 | a5/3 g5/1 e5/2 c5/2 e5/4 r/2 e5/2 | "
                                 "f5/2 a5/2 c6/2 a5/2 g5/2 f5/2 e5/2 f5/2 | g5/6 d5/2 b4/4 d5/2 f5/2 | "
                                 "g5/3 e5/1 c5/2 e5/2 g5/4 c6/4 | e6/3 d6/1 c6/2 a5/2 c6/4 r/2 a5/2 | "
                                 "a5/2 c6/2 a5/2 f5/2 g5/2 b5/2 d6/2 f6/2 | ";
const std::string themeMelody = std::string(themeOpening) + "e6/6 d6/2 c6/4 r/4 |";
// The second theme ends on a run up into the bridge.
const std::string themeIntoBridge = std::string(themeOpening) + "c6/4 g5/2 e5/2 c5/4 d5/2 e5/2 |";

const std::vector<Section>& sections()
{
    static const std::vector<Section> form = {
        {Style::Intro, "C | Am | F | G", "r/16 | r/16 | r/16 | r/10 d5/2 e5/2 f5/2 |", false, 0},
        {Style::Main, themeChords, themeMelody.c_str(), false, 0},
        {Style::Main, themeChords, themeIntoBridge.c_str(), true, 0},
        {Style::Bridge, "F | G | Em | Am | F | G | Am | G",
         "a5/6 g5/2 f5/4 c5/4 | d5/6 e5/2 f5/4 g5/4 | e5/6 g5/2 b5/4 g5/4 | a5/8 r/4 e5/2 g5/2 | "
         "a5/6 c6/2 a5/4 f5/4 | b5/6 a5/2 g5/4 d5/4 | c6/4 b5/2 a5/2 e5/4 a5/4 | b5/4 d6/4 g5/8 |",
         false, -1},
        {Style::Breakdown, "Am | F | C | G", "r/16 | r/16 | r/16 | r/16 |", false, 0},
        {Style::Main, themeChords, themeMelody.c_str(), false, 1},
        {Style::Outro, "F | G | C | Am | F | G | C | G",
         "c6/2 a5/2 f5/2 a5/2 c6/4 a5/4 | b5/2 g5/2 d5/2 g5/2 b5/4 d6/4 | e6/4 d6/2 c6/2 g5/4 e5/4 | "
         "a5/2 c6/2 e6/4 d6/2 c6/2 a5/4 | f5/2 a5/2 c6/2 f6/2 e6/2 c6/2 a5/4 | "
         "g5/2 b5/2 d6/2 g6/2 f6/2 d6/2 b5/4 | c6/4 g5/2 e5/2 c5/4 e5/2 g5/2 | r/16 |",
         true, 0},
    };
    return form;
}

std::vector<std::vector<std::string>> splitChords(const std::string& text)
{
    std::vector<std::vector<std::string>> bars(1);
    std::istringstream tokens(text);
    std::string token;
    while (tokens >> token)
    {
        if (token == "|")
            bars.emplace_back();
        else
            bars.back().push_back(token);
    }
    return bars;
}

std::size_t frameAt(double beat)
{
    return static_cast<std::size_t>(std::lround(beat * static_cast<double>(framesPerBeat)));
}

// Drum sounds are rendered once and placed many times, as a drum machine plays its samples.
struct DrumKit
{
    Samples kick = instruments::kick();
    Samples snare = instruments::snare(0x5a11u);
    Samples hat = instruments::closedHat(0x4a7u);
    Samples hatAccent = instruments::closedHat(0x4a8u);
    Samples openHat = instruments::openHat(0x09e4u);
    Samples crash = instruments::crash(0xc4a5u);
    Samples clap = instruments::clap(0xc1a9u);
    Samples highTom = instruments::tom(50);
    Samples midTom = instruments::tom(45);
    Samples lowTom = instruments::tom(40);
};

class TuneRenderer
{
  public:
    explicit TuneRenderer(score::LoopMix& mix) : mMix(mix) {}

    void renderSection(const Section& section, int firstBar);

  private:
    void renderDrums(Style style, int bar, int barInSection, int sectionBars, bool sectionStart);
    void renderBass(Style style, int bar, int barInSection, int sectionBars,
                    const std::vector<std::string>& chords);
    void renderChords(Style style, int bar, const std::vector<std::string>& chords);
    // roomSend: how much of the sound rings in the room (none for kick and bass, which would turn to mud).
    void hit(const Samples& sound, double beat, float gain, float pan, float roomSend = 0.0f)
    {
        mMix.add(sound, frameAt(beat), gain, pan, 0.0f, roomSend);
    }

    score::LoopMix& mMix;
    DrumKit mKit;
};

void TuneRenderer::renderSection(const Section& section, int firstBar)
{
    const auto chordBars = splitChords(section.chords);
    const int bars = static_cast<int>(chordBars.size());
    for (int i = 0; i < bars; ++i)
    {
        const int bar = firstBar + i;
        renderDrums(section.style, bar, i, bars, i == 0);
        renderBass(section.style, bar, i, bars, chordBars[static_cast<std::size_t>(i)]);
        renderChords(section.style, bar, chordBars[static_cast<std::size_t>(i)]);
    }
    const double startBeat = firstBar * beatsPerBar;
    for (const score::Note& note : score::parseLine(section.melody, startBeat))
    {
        const double gate = note.lengthBeats * secondsPerBeat * 0.92;
        mMix.add(instruments::lead(note.pitch, gate), frameAt(note.startBeat), 0.27f, 0.12f, 0.35f, 0.25f);
        if (section.harmony)
            mMix.add(instruments::softLead(score::diatonicShift(note.pitch, -2, 0), gate),
                     frameAt(note.startBeat), 0.13f, -0.35f, 0.2f, 0.3f);
        if (section.octaveDouble < 0)
            mMix.add(instruments::softLead(note.pitch - 12, gate), frameAt(note.startBeat), 0.14f, -0.25f,
                     0.1f, 0.3f);
        if (section.octaveDouble > 0)
            mMix.add(instruments::pluck(note.pitch + 12, gate), frameAt(note.startBeat), 0.12f, -0.3f, 0.2f,
                     0.3f);
    }
}

void TuneRenderer::renderDrums(Style style, int bar, int barInSection, int sectionBars, bool sectionStart)
{
    const double b = bar * beatsPerBar;
    const bool lastBar = barInSection == sectionBars - 1;
    auto at = [b](int sixteenth) { return b + sixteenth / 4.0; };

    if (sectionStart && style != Style::Breakdown)
        hit(mKit.crash, b, 0.2f, 0.35f, 0.2f);

    if (style == Style::Breakdown)
    {
        for (int s = 0; s < 16; ++s)
            hit(s % 4 == 0 ? mKit.hatAccent : mKit.hat, at(s), s % 2 == 0 ? 0.1f : 0.05f, -0.35f);
        hit(mKit.clap, at(12), 0.16f, 0.1f, 0.4f);
        if (barInSection >= 2)
            for (int beat = 0; beat < 4; ++beat)
                hit(mKit.kick, at(beat * 4), 0.45f, 0.0f);
        if (lastBar)
            for (int s = 8; s < 16; ++s)
                hit(mKit.snare, at(s), 0.1f + 0.025f * static_cast<float>(s - 8), 0.05f, 0.3f);
        return;
    }

    const bool quiet = style == Style::Intro && barInSection < 2;
    const bool fill = lastBar && style != Style::Intro && style != Style::Bridge;
    const int fillFrom = style == Style::Outro ? 8 : 12;
    // Kick and snare: a driving pop beat; the bridge pushes the second kick earlier for a lilt.
    const std::vector<int> kicks =
        quiet ? std::vector<int>{0, 8}
              : (style == Style::Bridge ? std::vector<int>{0, 6, 8} : std::vector<int>{0, 8, 10});
    for (int s : kicks)
        if (!fill || s < fillFrom)
            hit(mKit.kick, at(s), 0.46f, 0.0f);
    const bool introFill = style == Style::Intro && lastBar;
    if (!quiet)
        for (int s : {4, 12})
            if ((!fill || s < fillFrom) && !(introFill && s == 12))
                hit(mKit.snare, at(s), 0.3f, 0.05f, 0.3f);
    for (int s = 0; s < 16; s += 2)
    {
        if (fill && s >= fillFrom)
            break;
        const bool open = style == Style::Bridge ? s % 4 == 2 : s == 14 && !quiet;
        if (open)
            hit(mKit.openHat, at(s), 0.08f, -0.35f, 0.1f);
        else
            hit(s % 4 == 0 ? mKit.hatAccent : mKit.hat, at(s), 0.1f, -0.35f);
    }
    if (introFill)
        for (int s = 12; s < 16; ++s)
            hit(mKit.snare, at(s), 0.16f + 0.04f * static_cast<float>(s - 12), 0.05f, 0.3f);
    if (!fill)
        return;
    // Tom fill down the kit: a short one between themes, the whole last half bar before the loop restarts.
    const Samples* toms[] = {&mKit.highTom, &mKit.highTom, &mKit.midTom, &mKit.midTom,
                             &mKit.lowTom,  &mKit.lowTom,  &mKit.snare,  &mKit.snare};
    const float pans[] = {0.4f, 0.4f, 0.0f, 0.0f, -0.4f, -0.4f, 0.05f, 0.05f};
    const int count = 16 - fillFrom;
    for (int i = 0; i < count; ++i)
    {
        const int step = 8 - count + i;
        const bool isSnare = toms[step] == &mKit.snare;
        hit(*toms[step], at(fillFrom + i), isSnare ? 0.26f : 0.34f, pans[step], 0.25f);
    }
    hit(mKit.kick, at(fillFrom), 0.45f, 0.0f);
}

void TuneRenderer::renderBass(Style style, int bar, int barInSection, int sectionBars,
                              const std::vector<std::string>& chords)
{
    const double b = bar * beatsPerBar;
    auto rootAt = [&chords](int sixteenth)
    {
        const std::string& name = chords.size() > 1 && sixteenth >= 8 ? chords[1] : chords[0];
        return score::pitchAtOrAbove(score::chordPitchClasses(name)[0], 36);
    };
    auto play = [this, b](int pitch, int sixteenth, int length, float gain)
    {
        mMix.add(instruments::bass(pitch, length / 4.0 * secondsPerBeat * 0.85), frameAt(b + sixteenth / 4.0),
                 gain, 0.0f);
    };
    const bool lastBar = barInSection == sectionBars - 1;
    if (style == Style::Outro && lastBar)
    {
        for (const score::Note& note : score::parseLine("g2/4 a2/4 b2/4 d3/4", b))
            mMix.add(instruments::bass(note.pitch, note.lengthBeats * secondsPerBeat * 0.85),
                     frameAt(note.startBeat), 0.34f, 0.0f);
        return;
    }
    if (style == Style::Breakdown && !lastBar)
    {
        play(rootAt(0), 0, 16, 0.3f);
        return;
    }
    if (style == Style::Intro && barInSection < 2)
    {
        for (int s = 0; s < 16; s += 4)
            play(rootAt(s), s, 4, 0.32f);
        return;
    }
    if (style == Style::Bridge)
    {
        const int steps[][3] = {{0, 4, 0}, {4, 2, 0}, {6, 2, 7}, {8, 4, 12}, {12, 4, 7}};
        for (const auto& step : steps)
            play(rootAt(step[0]) + step[2], step[0], step[1], 0.32f);
        return;
    }
    // Octave bounce in eighths, turning to the fifth at the end of each bar.
    const int offsets[] = {0, 12, 0, 12, 0, 12, 7, 12};
    for (int e = 0; e < 8; ++e)
        play(rootAt(e * 2) + offsets[e], e * 2, 2, 0.32f);
}

void TuneRenderer::renderChords(Style style, int bar, const std::vector<std::string>& chords)
{
    const double b = bar * beatsPerBar;
    auto chordAt = [&chords](int sixteenth)
    { return score::chordPitchClasses(chords.size() > 1 && sixteenth >= 8 ? chords[1] : chords[0]); };
    const bool sustained = style == Style::Bridge || style == Style::Breakdown;
    if (sustained)
    {
        for (std::size_t half = 0; half < chords.size(); ++half)
        {
            const double gate = (4.0 / static_cast<double>(chords.size())) * secondsPerBeat;
            const auto pitchClasses = chordAt(static_cast<int>(half) * 8);
            const float pans[] = {-0.5f, 0.0f, 0.5f};
            for (std::size_t v = 0; v < pitchClasses.size(); ++v)
                mMix.add(instruments::pad(score::pitchAtOrAbove(pitchClasses[v], 55), gate),
                         frameAt(b + static_cast<double>(half) * 4.0 / static_cast<double>(chords.size())),
                         0.07f, pans[v], 0.0f, 0.5f);
        }
        // Arpeggio in sixteenths up and down the chord across two octaves.
        const int pattern[] = {0, 1, 2, 3, 4, 3, 2, 1};
        const float gain = style == Style::Breakdown ? 0.16f : 0.08f;
        for (int s = 0; s < 16; ++s)
        {
            const auto pitchClasses = chordAt(s);
            const int index = pattern[s % 8];
            const int pitch = score::pitchAtOrAbove(pitchClasses[static_cast<std::size_t>(index % 3)], 67) +
                              12 * (index / 3);
            hit(instruments::pluck(pitch, 0.09), b + s / 4.0, gain, s % 2 == 0 ? -0.45f : 0.45f, 0.4f);
        }
    }
    if (style == Style::Breakdown)
        return;
    // Off-beat stabs: the bounce of the groove.
    for (int s = 2; s < 16; s += 4)
    {
        const auto pitchClasses = chordAt(s);
        const float pans[] = {-0.4f, 0.0f, 0.4f};
        for (std::size_t v = 0; v < pitchClasses.size(); ++v)
            hit(instruments::stab(score::pitchAtOrAbove(pitchClasses[v], 60), 0.35 * secondsPerBeat),
                b + s / 4.0, sustained ? 0.04f : 0.075f, pans[v], 0.15f);
    }
}
} // namespace

void generateMusic(MediaOutput& output)
{
    int bars = 0;
    for (const Section& section : sections())
        bars += static_cast<int>(splitChords(section.chords).size());
    score::LoopMix mix(static_cast<std::size_t>(bars * beatsPerBar) * framesPerBeat);
    TuneRenderer renderer(mix);
    int firstBar = 0;
    for (const Section& section : sections())
    {
        renderer.renderSection(section, firstBar);
        firstBar += static_cast<int>(splitChords(section.chords).size());
    }
    // A dotted-eighth echo on the lead widens it without blurring the rhythm.
    mix.applyEcho(frameAt(0.75), 0.35f, 0.3f);
    mix.applyRoom(0.35f);
    const float loudest = std::max(synth::peak(mix.left()), synth::peak(mix.right()));
    for (Samples* channel : {&mix.left(), &mix.right()})
        for (float& sample : *channel)
            sample *= musicPeak / loudest;
    std::vector<Samples> channels;
    channels.push_back(std::move(mix.left()));
    channels.push_back(std::move(mix.right()));
    output.addSoundtrackFile(musicFileName, encodeOggVorbis(channels, synth::sampleRate, musicQuality,
                                                            oggSerialFor(musicFileName)));
}
