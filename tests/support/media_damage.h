#pragma once

#include <string>

// Damages one entry of a ZIP archive in place, as a bad disk or a broken download would: one byte in the
// middle of the entry's stored (compressed) bytes is inverted, and nothing else changes. Throws
// std::runtime_error when the entry cannot be found.
void damageArchiveEntry(const std::string& archive, const std::string& entry);
