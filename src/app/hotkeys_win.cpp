#include "app/hotkeys_win.h"


namespace vn {

std::optional<HotkeyCombination> HotkeyFromSetting(const std::optional<std::u16string>& value,
                                                   std::u16string_view defaultKeys) {
    HotkeySetting setting = value ? ParseHotkey(*value) : HotkeySetting{};
    if (setting.kind == HotkeySetting::Kind::Off) return std::nullopt;
    if (setting.kind == HotkeySetting::Kind::Invalid) setting = ParseHotkey(defaultKeys);
    return setting.keys;
}

std::vector<std::u16string> Hotkeys::Register() {
    Unregister();
    std::vector<std::u16string> taken;
    for (const HotkeyChoice& choice : kHotkeyChoices) {
        const std::optional<HotkeyCombination> keys = HotkeyFromSetting(ReadSetting(choice.valueName), choice.defaultKeys);
        if (!keys) continue;
        const int id = static_cast<int>(choice.id);
        // MOD_NOREPEAT: holding the keys down adds one note, not one per repeat.
        if (RegisterHotKey(window_, id, keys->modifiers | MOD_NOREPEAT, keys->key)) registered_.push_back(id);
        else taken.push_back(HotkeyName(*keys));
    }
    return taken;
}

void Hotkeys::Unregister() noexcept {
    for (int id : registered_) UnregisterHotKey(window_, id);
    registered_.clear();
}

} // namespace vn
