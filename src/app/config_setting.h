#pragma once

#include <string>

// Changes one setting of a "key = value" configuration file ("Quobbel.cfg") where it lies, keeping every
// other line exactly as it was.
//
// Lines are read as the engine's configuration reader reads them: trimmed, '#' or '@' first makes a
// comment, "[name]" starts a section, and a setting's key is the text before its first '=', trimmed. Every
// line of the unnamed section that sets `key` gets `value` after its '=' (spacing before the value and the
// line's ending are kept). Without such a line, "key = value" is added at the end of the unnamed section;
// a missing file becomes that one line.
//
// The new text goes to a temporary file beside the file (beside its target, for a symbolic link), which
// then replaces it in one rename: whatever fails, the file is the old one whole or the new one whole.
// Returns what went wrong ("cannot write /path/Quobbel.cfg.Xa3b9Q: File too large"), or an empty text
// once the file is saved. A failed save leaves no temporary file behind.
std::string saveConfigSetting(const std::string& path, const std::string& key, const std::string& value);

// The text of a configuration file with `key` set to `value`, by the rules above.
std::string withConfigSetting(const std::string& text, const std::string& key, const std::string& value);
