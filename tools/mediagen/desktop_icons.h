#pragma once

#include <string>

// The game's desktop icon: the bear's face of the title logo, drawn afresh at every size of the hicolor icon
// theme (16 to 512 pixels) rather than scaled from one picture, so that the small sizes stay sharp. Writes
// folder/hicolor/<n>x<n>/apps/<iconName>.png. Throws std::runtime_error when a file cannot be written.
void writeDesktopIcons(const std::string& folder, const std::string& iconName);
