#pragma once

#include <string>

class Studio;

// Sheets that put several models together the way the game's scenes do, to check that they meet: the
// intro's planet and runners, a stretch of level with the bears on their planks, the end scene's petting.
void introSheet(Studio& studio, const std::string& outDir);
void stageSheet(Studio& studio, const std::string& outDir);
