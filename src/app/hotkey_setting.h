#pragma once
// A hotkey as the person writes it in the registry ("Win+Alt+N"), read into the
// modifier bits and virtual key that the system's hotkey registration takes.
#include <optional>
#include <string>
#include <string_view>

namespace vn {

// The system's modifier bits (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN).
inline constexpr unsigned kHotkeyAlt = 0x1, kHotkeyCtrl = 0x2, kHotkeyShift = 0x4, kHotkeyWin = 0x8;

struct HotkeyCombination {
    unsigned modifiers = 0;
    unsigned key = 0;  // a virtual-key code
    bool operator==(const HotkeyCombination&) const = default;
};

struct HotkeySetting {
    enum class Kind { Keys, Off, Invalid } kind = Kind::Invalid;
    HotkeyCombination keys;
};

// "Win+Alt+N", "Ctrl+Shift+F12", "Alt+Space": modifiers and one key, joined by "+",
// in any order and letter case, blanks ignored. "Off" (or "None") turns the hotkey
// off. A combination without a modifier, or with an unknown word, is Invalid.
HotkeySetting ParseHotkey(std::u16string_view text);
// The combination as a person reads it: "Win+Alt+N".
std::u16string HotkeyName(const HotkeyCombination& keys);

} // namespace vn
