#include "input/key_names.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace
{
struct KeyName
{
    OIS::KeyCode key;
    const char* name;
};

// Every code of OIS 1.3's KeyCode, with its enumerator's name.
// clang-format off
#define KEY(code) KeyName{OIS::code, #code}
constexpr KeyName keyNames[] = {
    KEY(KC_UNASSIGNED), KEY(KC_ESCAPE), KEY(KC_1), KEY(KC_2), KEY(KC_3), KEY(KC_4), KEY(KC_5), KEY(KC_6),
    KEY(KC_7), KEY(KC_8), KEY(KC_9), KEY(KC_0), KEY(KC_MINUS), KEY(KC_EQUALS), KEY(KC_BACK), KEY(KC_TAB),
    KEY(KC_Q), KEY(KC_W), KEY(KC_E), KEY(KC_R), KEY(KC_T), KEY(KC_Y), KEY(KC_U), KEY(KC_I), KEY(KC_O),
    KEY(KC_P), KEY(KC_LBRACKET), KEY(KC_RBRACKET), KEY(KC_RETURN), KEY(KC_LCONTROL), KEY(KC_A), KEY(KC_S),
    KEY(KC_D), KEY(KC_F), KEY(KC_G), KEY(KC_H), KEY(KC_J), KEY(KC_K), KEY(KC_L), KEY(KC_SEMICOLON),
    KEY(KC_APOSTROPHE), KEY(KC_GRAVE), KEY(KC_LSHIFT), KEY(KC_BACKSLASH), KEY(KC_Z), KEY(KC_X), KEY(KC_C),
    KEY(KC_V), KEY(KC_B), KEY(KC_N), KEY(KC_M), KEY(KC_COMMA), KEY(KC_PERIOD), KEY(KC_SLASH),
    KEY(KC_RSHIFT), KEY(KC_MULTIPLY), KEY(KC_LMENU), KEY(KC_SPACE), KEY(KC_CAPITAL), KEY(KC_F1), KEY(KC_F2),
    KEY(KC_F3), KEY(KC_F4), KEY(KC_F5), KEY(KC_F6), KEY(KC_F7), KEY(KC_F8), KEY(KC_F9), KEY(KC_F10),
    KEY(KC_NUMLOCK), KEY(KC_SCROLL), KEY(KC_NUMPAD7), KEY(KC_NUMPAD8), KEY(KC_NUMPAD9), KEY(KC_SUBTRACT),
    KEY(KC_NUMPAD4), KEY(KC_NUMPAD5), KEY(KC_NUMPAD6), KEY(KC_ADD), KEY(KC_NUMPAD1), KEY(KC_NUMPAD2),
    KEY(KC_NUMPAD3), KEY(KC_NUMPAD0), KEY(KC_DECIMAL), KEY(KC_OEM_102), KEY(KC_F11), KEY(KC_F12),
    KEY(KC_F13), KEY(KC_F14), KEY(KC_F15), KEY(KC_KANA), KEY(KC_ABNT_C1), KEY(KC_CONVERT),
    KEY(KC_NOCONVERT), KEY(KC_YEN), KEY(KC_ABNT_C2), KEY(KC_NUMPADEQUALS), KEY(KC_PREVTRACK), KEY(KC_AT),
    KEY(KC_COLON), KEY(KC_UNDERLINE), KEY(KC_KANJI), KEY(KC_STOP), KEY(KC_AX), KEY(KC_UNLABELED),
    KEY(KC_NEXTTRACK), KEY(KC_NUMPADENTER), KEY(KC_RCONTROL), KEY(KC_MUTE), KEY(KC_CALCULATOR),
    KEY(KC_PLAYPAUSE), KEY(KC_MEDIASTOP), KEY(KC_VOLUMEDOWN), KEY(KC_VOLUMEUP), KEY(KC_WEBHOME),
    KEY(KC_NUMPADCOMMA), KEY(KC_DIVIDE), KEY(KC_SYSRQ), KEY(KC_RMENU), KEY(KC_PAUSE), KEY(KC_HOME),
    KEY(KC_UP), KEY(KC_PGUP), KEY(KC_LEFT), KEY(KC_RIGHT), KEY(KC_END), KEY(KC_DOWN), KEY(KC_PGDOWN),
    KEY(KC_INSERT), KEY(KC_DELETE), KEY(KC_LWIN), KEY(KC_RWIN), KEY(KC_APPS), KEY(KC_POWER), KEY(KC_SLEEP),
    KEY(KC_WAKE), KEY(KC_WEBSEARCH), KEY(KC_WEBFAVORITES), KEY(KC_WEBREFRESH), KEY(KC_WEBSTOP),
    KEY(KC_WEBFORWARD), KEY(KC_WEBBACK), KEY(KC_MYCOMPUTER), KEY(KC_MAIL), KEY(KC_MEDIASELECT),
};
#undef KEY
// clang-format on

std::string upperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}
} // namespace

std::optional<OIS::KeyCode> keyCodeNamed(const std::string& name)
{
    std::string wanted = upperCase(name);
    if (wanted.rfind("KC_", 0) != 0)
        wanted = "KC_" + wanted;
    const auto found = std::find_if(std::begin(keyNames), std::end(keyNames),
                                    [&](const KeyName& entry) { return wanted == entry.name; });
    if (found == std::end(keyNames))
        return std::nullopt;
    return found->key;
}

std::string keyCodeName(OIS::KeyCode key)
{
    const auto found = std::find_if(std::begin(keyNames), std::end(keyNames),
                                    [&](const KeyName& entry) { return entry.key == key; });
    return found == std::end(keyNames) ? "KC_UNASSIGNED" : found->name;
}
