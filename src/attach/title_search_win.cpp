#include "attach/title_search_win.h"

#include "platform/one_line.h"

#include <windows.h>

#include "attach/identity_win.h"
#include "attach/window_system_win.h"
#include "platform/guarded.h"
#include "platform/text_win.h"

namespace vn {
namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) noexcept {
    auto& windows = *reinterpret_cast<std::vector<TopLevelWindow>*>(data);
    return Guarded(FALSE, [&] {
        // The title as the system keeps it, read without a message: a hung program's
        // window cannot hold the search up, and the system's own search reads it so.
        // A note stores its caption on one line, so the title is searched in that form.
        windows.push_back({ToWindowId(window), CaptionOnOneLine(ReadWindowText(window))});
        return TRUE;
    });
}

bool SameTitle(std::u16string_view a, std::u16string_view b) {
    return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                                reinterpret_cast<const wchar_t*>(b.data()), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

} // namespace

std::vector<TopLevelWindow> ListTopLevelWindows() {
    std::vector<TopLevelWindow> windows;
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

TitleSearch SystemTitleSearch(std::uint64_t maxAgeMs) {
    return TitleSearch(&ListTopLevelWindows, &SameTitle, [] { return static_cast<std::uint64_t>(GetTickCount64()); },
                       maxAgeMs);
}

} // namespace vn
