#pragma once

class MediaOutput;

// Writes every overlay picture of the game (menus, buttons and their looks, HUD, glyph cells, signs, score
// panels, logo, credits), their materials in "gui_overlays.material", the font "PimFont" with the
// TrueType file it names, and the level signs with their billboard materials in "level_signs.material".
void generateGuiMedia(MediaOutput& output);
