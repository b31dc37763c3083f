#include "app/hotkey_setting.h"

#include <array>

namespace vn {
namespace {

constexpr unsigned kSpaceKey = 0x20, kF1Key = 0x70;

struct Modifier {
    std::u16string_view name;
    unsigned bit;
};
constexpr std::array<Modifier, 6> kModifiers = {{
    {u"win", kHotkeyWin}, {u"ctrl", kHotkeyCtrl}, {u"control", kHotkeyCtrl},
    {u"alt", kHotkeyAlt}, {u"shift", kHotkeyShift}, {u"windows", kHotkeyWin},
}};

std::u16string Lower(std::u16string_view text) {
    std::u16string lower;
    for (char16_t c : text)
        if (c != u' ' && c != u'\t') lower.push_back(c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c);
    return lower;
}

std::optional<unsigned> KeyOf(std::u16string_view word) {
    if (word.size() == 1) {
        const char16_t c = word[0];
        if (c >= u'a' && c <= u'z') return static_cast<unsigned>(c - u'a' + u'A');
        if (c >= u'0' && c <= u'9') return static_cast<unsigned>(c);
    }
    if (word == u"space") return kSpaceKey;
    if (word.size() >= 2 && word.size() <= 3 && word[0] == u'f') {
        unsigned n = 0;
        for (char16_t c : word.substr(1)) {
            if (c < u'0' || c > u'9') return std::nullopt;
            n = n * 10 + (c - u'0');
        }
        if (n >= 1 && n <= 24) return kF1Key + n - 1;
    }
    return std::nullopt;
}

} // namespace

HotkeySetting ParseHotkey(std::u16string_view text) {
    const std::u16string lower = Lower(text);
    if (lower == u"off" || lower == u"none") return {HotkeySetting::Kind::Off, {}};
    HotkeySetting invalid;
    HotkeyCombination keys;
    size_t begin = 0;
    bool haveKey = false;
    while (begin <= lower.size()) {
        size_t end = lower.find(u'+', begin);
        if (end == std::u16string::npos) end = lower.size();
        const std::u16string_view word = std::u16string_view(lower).substr(begin, end - begin);
        bool modifier = false;
        for (const Modifier& m : kModifiers)
            if (word == m.name) {
                if (keys.modifiers & m.bit) return invalid;
                keys.modifiers |= m.bit;
                modifier = true;
            }
        if (!modifier) {
            const std::optional<unsigned> key = KeyOf(word);
            if (!key || haveKey) return invalid;
            keys.key = *key;
            haveKey = true;
        }
        begin = end + 1;
    }
    if (!haveKey || keys.modifiers == 0) return invalid;
    return {HotkeySetting::Kind::Keys, keys};
}

std::u16string HotkeyName(const HotkeyCombination& keys) {
    std::u16string name;
    if (keys.modifiers & kHotkeyWin) name += u"Win+";
    if (keys.modifiers & kHotkeyCtrl) name += u"Ctrl+";
    if (keys.modifiers & kHotkeyAlt) name += u"Alt+";
    if (keys.modifiers & kHotkeyShift) name += u"Shift+";
    if (keys.key == kSpaceKey) return name + u"Space";
    if (keys.key >= kF1Key && keys.key < kF1Key + 24) {
        const unsigned n = keys.key - kF1Key + 1;
        name += u'F';
        if (n >= 10) name += static_cast<char16_t>(u'0' + n / 10);
        return name + static_cast<char16_t>(u'0' + n % 10);
    }
    return name + static_cast<char16_t>(keys.key);
}

} // namespace vn
