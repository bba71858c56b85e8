#pragma once

// Whole files as strings, for tests that compare what the game or a tool wrote.

#include <filesystem>
#include <string>

// A whole file's bytes (empty when it cannot be read), and a whole file written.
std::string readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const std::string& text);
