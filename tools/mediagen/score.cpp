#include "score.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>
#include <stdexcept>

namespace score
{
namespace
{
int letterPitchClass(char letter)
{
    switch (std::tolower(static_cast<unsigned char>(letter)))
    {
    case 'c':
        return 0;
    case 'd':
        return 2;
    case 'e':
        return 4;
    case 'f':
        return 5;
    case 'g':
        return 7;
    case 'a':
        return 9;
    case 'b':
        return 11;
    default:
        return -1;
    }
}
} // namespace

int parsePitch(const std::string& name)
{
    const int letter = name.empty() ? -1 : letterPitchClass(name[0]);
    std::size_t at = 1;
    int accidental = 0;
    if (at < name.size() && (name[at] == '#' || name[at] == 'b'))
        accidental = name[at++] == '#' ? 1 : -1;
    if (letter < 0 || at + 1 != name.size() || !std::isdigit(static_cast<unsigned char>(name[at])))
        throw std::invalid_argument("score: not a note name: \"" + name + "\"");
    const int octave = name[at] - '0';
    return 12 * (octave + 1) + letter + accidental;
}

std::vector<Note> parseLine(const std::string& text, double startBeat)
{
    std::vector<Note> notes;
    std::istringstream tokens(text);
    std::string token;
    int sixteenths = 0, barStart = 0, bar = 1;
    while (tokens >> token)
    {
        if (token == "|")
        {
            if (sixteenths - barStart != sixteenthsPerBar)
                throw std::invalid_argument("score: bar " + std::to_string(bar) + " holds " +
                                            std::to_string(sixteenths - barStart) + " sixteenths in \"" +
                                            text + "\"");
            barStart = sixteenths;
            ++bar;
            continue;
        }
        const std::size_t slash = token.find('/');
        int length = 0;
        try
        {
            length = slash == std::string::npos ? 0 : std::stoi(token.substr(slash + 1));
        }
        catch (const std::exception&)
        {
            length = 0;
        }
        if (length <= 0)
            throw std::invalid_argument("score: bar " + std::to_string(bar) + ": bad note \"" + token + "\"");
        const std::string name = token.substr(0, slash);
        if (name != "r")
            notes.push_back({startBeat + sixteenths / 4.0, length / 4.0, parsePitch(name)});
        sixteenths += length;
    }
    return notes;
}

std::vector<int> chordPitchClasses(const std::string& name)
{
    const int letter = name.empty() ? -1 : letterPitchClass(name[0]);
    std::size_t at = 1;
    int root = letter;
    if (at < name.size() && (name[at] == '#' || name[at] == 'b'))
        root += name[at++] == '#' ? 1 : -1;
    bool minor = false;
    if (at < name.size() && name[at] == 'm')
    {
        minor = true;
        ++at;
    }
    if (letter < 0 || at != name.size())
        throw std::invalid_argument("score: not a chord name: \"" + name + "\"");
    root = (root + 12) % 12;
    return {root, (root + (minor ? 3 : 4)) % 12, (root + 7) % 12};
}

int pitchAtOrAbove(int pitchClass, int lowest)
{
    return lowest + ((pitchClass - lowest) % 12 + 12) % 12;
}

int diatonicShift(int pitch, int steps, int tonicPitchClass)
{
    static const int scale[] = {0, 2, 4, 5, 7, 9, 11};
    const int relative = pitch - tonicPitchClass;
    const int octave = relative >= 0 ? relative / 12 : (relative - 11) / 12;
    const int pitchClass = relative - 12 * octave;
    int degree = -1;
    for (int d = 0; d < 7; ++d)
        if (scale[d] == pitchClass)
            degree = d;
    if (degree < 0)
        return pitch + (steps < 0 ? -3 : 3);
    const int target = degree + steps;
    const int octaveShift = target >= 0 ? target / 7 : (target - 6) / 7;
    return tonicPitchClass + 12 * (octave + octaveShift) + scale[target - 7 * octaveShift];
}

LoopMix::LoopMix(std::size_t frames)
    : mLeft(frames, 0.0f), mRight(frames, 0.0f), mSend(frames, 0.0f), mRoomSend(frames, 0.0f)
{
}

void LoopMix::add(const synth::Samples& sound, std::size_t startFrame, float gain, float pan, float echoSend,
                  float roomSend)
{
    const std::size_t length = mLeft.size();
    const double angle = (static_cast<double>(pan) + 1.0) * synth::pi / 4.0;
    const float leftGain = gain * static_cast<float>(std::cos(angle));
    const float rightGain = gain * static_cast<float>(std::sin(angle));
    const float sendGain = gain * echoSend;
    const float roomGain = gain * roomSend;
    std::size_t at = startFrame % length;
    for (float sample : sound)
    {
        mLeft[at] += sample * leftGain;
        mRight[at] += sample * rightGain;
        mSend[at] += sample * sendGain;
        mRoomSend[at] += sample * roomGain;
        if (++at == length)
            at = 0;
    }
}

void LoopMix::applyEcho(std::size_t delayFrames, float feedback, float wet)
{
    const std::size_t length = mLeft.size();
    if (delayFrames == 0 || delayFrames >= length)
        return;
    // Two passes around the loop: the second starts from the echoes the first left at the end, so the
    // result is periodic (what survives a further lap is below feedback^(length / delay), nothing).
    synth::Samples echoLeft(length, 0.0f), echoRight(length, 0.0f);
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t n = 0; n < length; ++n)
        {
            const std::size_t earlier = (n + length - delayFrames) % length;
            echoLeft[n] = mSend[earlier] + feedback * echoRight[earlier];
            echoRight[n] = feedback * echoLeft[earlier];
        }
    for (std::size_t n = 0; n < length; ++n)
    {
        mLeft[n] += wet * echoLeft[n];
        mRight[n] += wet * echoRight[n];
    }
}
namespace
{
// Every filter below runs twice around the loop: the second lap starts from the state and the history the
// first lap left at the end, so the output is periodic. (What a sound still contributes after a whole lap is
// feedback^(loop / delay), far below one bit.)
constexpr int laps = 2;

// A feedback comb whose loop is damped by a one-pole low-pass, as a room absorbs highs faster than lows;
// adds its output to out.
void addDampedComb(const synth::Samples& in, std::size_t delay, float feedback, float damping,
                   synth::Samples& history, synth::Samples& out)
{
    const std::size_t length = in.size();
    float lowPassed = 0.0f;
    for (int lap = 0; lap < laps; ++lap)
        for (std::size_t n = 0; n < length; ++n)
        {
            const float delayed = history[(n + length - delay) % length];
            lowPassed = delayed * (1.0f - damping) + lowPassed * damping;
            history[n] = in[n] + feedback * lowPassed;
        }
    for (std::size_t n = 0; n < length; ++n)
        out[n] += history[(n + length - delay) % length];
}

// A Schroeder all-pass: smears the combs' echoes into a dense tail without colouring them.
void allPass(synth::Samples& signal, std::size_t delay, float feedback, synth::Samples& history)
{
    const std::size_t length = signal.size();
    synth::Samples output(length, 0.0f);
    for (int lap = 0; lap < laps; ++lap)
        for (std::size_t n = 0; n < length; ++n)
        {
            const float delayed = history[(n + length - delay) % length];
            output[n] = delayed - signal[n];
            history[n] = signal[n] + feedback * delayed;
        }
    signal.swap(output);
}
} // namespace

void LoopMix::applyRoom(float wet)
{
    const std::size_t length = mLeft.size();
    // Delays in samples at 44.1 kHz, mutually prime so their echoes do not pile up; the right side's are a
    // little longer, which decorrelates the two sides.
    static const std::size_t combDelays[] = {1116, 1188, 1277, 1356, 1422, 1491};
    static const std::size_t allPassDelays[] = {556, 441};
    constexpr std::size_t stereoSpread = 23;
    synth::Samples history(length);
    for (int side = 0; side < 2; ++side)
    {
        synth::Samples room(length, 0.0f);
        const std::size_t spread = side == 0 ? 0 : stereoSpread;
        for (std::size_t delay : combDelays)
        {
            std::fill(history.begin(), history.end(), 0.0f);
            addDampedComb(mRoomSend, delay + spread, 0.8f, 0.3f, history, room);
        }
        for (std::size_t delay : allPassDelays)
        {
            std::fill(history.begin(), history.end(), 0.0f);
            allPass(room, delay + spread, 0.5f, history);
        }
        synth::Samples& channel = side == 0 ? mLeft : mRight;
        // Each comb rings up to 1 / (1 - feedback) = 5 times its input; six of them in parallel, summed.
        const float gain = wet / 30.0f;
        for (std::size_t n = 0; n < length; ++n)
            channel[n] += gain * room[n];
    }
}
} // namespace score
