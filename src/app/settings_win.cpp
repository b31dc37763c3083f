#include "app/settings_win.h"

#include <cwchar>

#include "platform/text_win.h"

namespace vn {

std::optional<std::u16string> ReadSetting(const wchar_t* name) {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, buffer.data(), &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return U16(buffer.c_str());
}

void WriteSetting(const wchar_t* name, const std::u16string& value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_SZ, W(value),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::u16string RectSetting(const RECT& rect) {
    wchar_t text[64];
    swprintf(text, 64, L"%ld,%ld,%ld,%ld", rect.left, rect.top, rect.right, rect.bottom);
    return U16(text);
}

std::optional<RECT> ReadRectSetting(const std::u16string& text) {
    RECT rect{};
    wchar_t end = 0;
    if (swscanf(W(text), L"%ld,%ld,%ld,%ld%lc", &rect.left, &rect.top, &rect.right, &rect.bottom, &end) != 4)
        return std::nullopt;
    if (rect.right <= rect.left || rect.bottom <= rect.top) return std::nullopt;
    return rect;
}

} // namespace vn
