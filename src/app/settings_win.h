#pragma once
// The program's few settings in the registry, under HKEY_CURRENT_USER\Software\Vantory Note:
// the hotkeys the person may change and the All Notes window's place.
#include <windows.h>

#include <optional>
#include <string>

namespace vn {

inline constexpr wchar_t kSettingsKey[] = L"Software\\Vantory Note";
inline constexpr wchar_t kAddNoteHotkeyValue[] = L"AddNoteHotkey";
inline constexpr wchar_t kAllNotesHotkeyValue[] = L"AllNotesHotkey";
inline constexpr wchar_t kAllNotesPlaceValue[] = L"AllNotesWindow";
// The DPI the All Notes window had where its place was kept; without it, 96.
inline constexpr wchar_t kAllNotesDpiValue[] = L"AllNotesWindowDpi";

// A string value; nothing when it is not there or not a string.
std::optional<std::u16string> ReadSetting(const wchar_t* name);
// Writes a string value; a registry that refuses it is not an error (the setting is lost).
void WriteSetting(const wchar_t* name, const std::u16string& value);

// A window rectangle as "left,top,right,bottom", and back.
std::u16string RectSetting(const RECT& rect);
std::optional<RECT> ReadRectSetting(const std::u16string& text);

} // namespace vn
