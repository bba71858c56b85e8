#pragma once

class MediaOutput;

// Synthesises every sound of the game and adds it to the output: the effects (mono Ogg Vorbis, at most
// 10 s each) to the archive, the looping music (stereo, 44.1 kHz) to the soundtrack folder.
void generateSounds(MediaOutput& output);

// The two halves of generateSounds, in sound_effects.cpp and music.cpp.
void generateSoundEffects(MediaOutput& output);
void generateMusic(MediaOutput& output);
