#pragma once
// The program's two hotkeys, registered on the controller's window: one adds a note
// to the window in front, one opens All Notes. Each is read from the registry
// (settings_win.h), where the person may change it or turn it off.
#include <windows.h>

#include <string>
#include <vector>

#include "app/hotkey_setting.h"
#include "app/settings_win.h"

namespace vn {

enum class HotkeyId : int { AddNote = 1, AllNotes = 2 };

struct HotkeyChoice {
    HotkeyId id;
    const wchar_t* valueName;
    const char16_t* defaultKeys;
};

// Win+Alt+N and Win+Alt+F: no Ctrl+Alt+letter, which is AltGr on many keyboards and
// would swallow a typed letter.
inline constexpr HotkeyChoice kHotkeyChoices[] = {
    {HotkeyId::AddNote, kAddNoteHotkeyValue, u"Win+Alt+N"},
    {HotkeyId::AllNotes, kAllNotesHotkeyValue, u"Win+Alt+F"},
};

// The combination a registry value asks for: the default when the value is missing
// or cannot be read, nothing when it turns the hotkey off.
std::optional<HotkeyCombination> HotkeyFromSetting(const std::optional<std::u16string>& value,
                                                   std::u16string_view defaultKeys);

class Hotkeys {
public:
    explicit Hotkeys(HWND window) : window_(window) {}
    ~Hotkeys() { Unregister(); }
    Hotkeys(const Hotkeys&) = delete;
    Hotkeys& operator=(const Hotkeys&) = delete;

    // Registers every hotkey that is on; returns the names of the combinations that
    // another program holds ("Win+Alt+N").
    std::vector<std::u16string> Register();
    void Unregister() noexcept;

private:
    HWND window_;
    std::vector<int> registered_;
};

} // namespace vn
