#pragma once

class MediaOutput;

// Writes every overlay picture of the game (menus, buttons and their looks, HUD, glyph cells, signs, score
// panels, logo, credits), their materials in "gui_overlays.material", and the font "PimFont" with the
// TrueType file it names.
void generateGuiMedia(MediaOutput& output);
