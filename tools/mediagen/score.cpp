#include "score.h"

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

LoopMix::LoopMix(std::size_t frames) : mLeft(frames, 0.0f), mRight(frames, 0.0f), mSend(frames, 0.0f) {}

void LoopMix::add(const synth::Samples& sound, std::size_t startFrame, float gain, float pan, float echoSend)
{
    const std::size_t length = mLeft.size();
    const double angle = (static_cast<double>(pan) + 1.0) * synth::pi / 4.0;
    const float leftGain = gain * static_cast<float>(std::cos(angle));
    const float rightGain = gain * static_cast<float>(std::sin(angle));
    const float sendGain = gain * echoSend;
    std::size_t at = startFrame % length;
    for (float sample : sound)
    {
        mLeft[at] += sample * leftGain;
        mRight[at] += sample * rightGain;
        mSend[at] += sample * sendGain;
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
} // namespace score
