#pragma once

#include <optional>
#include <string>

#include <OISKeyboard.h>

// OIS key codes by name, for files a player writes (controls.cfg). A name is the key code's own, as in
// OISKeyboard.h ("KC_SPACE", "KC_LEFT"); the "KC_" may be left out and case does not matter ("space").

// The key code named `name`, or nothing when no key has that name.
std::optional<OIS::KeyCode> keyCodeNamed(const std::string& name);

// The full name of a key code ("KC_RETURN"); "KC_UNASSIGNED" for a code that has none.
std::string keyCodeName(OIS::KeyCode key);
