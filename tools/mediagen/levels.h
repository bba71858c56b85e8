#pragma once

#include <string>

class MediaOutput;

// Packs every level file of levelsDir into the archive under its own name.
void packLevels(MediaOutput& output, const std::string& levelsDir);
