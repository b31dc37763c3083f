#include "app/startup_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_roles_win.h"
#include "platform/theme_win.h"
#include "platform/unique_handle_win.h"

namespace vn {
namespace {

const bool kAlreadyRunningRole = test::RegisterChildRole(L"shell-already-running", [](int, wchar_t**) {
    ReportAlreadyRunning();
    return 0;
});

// This test program carries no theme resource: the "Light" lookup fails as it would
// in a program built without its resources.
const bool kMissingThemeRole = test::RegisterChildRole(L"shell-missing-theme", [](int, wchar_t**) {
    ApplyProgramTheme();
    return CurrentTheme() == nullptr ? 0 : 1;  // goes on with the default look
});

struct Box {
    HWND window = nullptr;
    std::wstring caption;
    std::vector<std::wstring> texts;
    std::vector<HWND> buttons;
    std::vector<std::wstring> buttonTexts;
};

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[512] = {};
    InternalGetWindowText(hwnd, buffer, 512);
    std::wstring text = buffer;
    std::erase(text, L'&');
    return text;
}

// The visible dialog window of a process, with its texts and buttons.
Box FindBox(DWORD pid) {
    struct Search {
        DWORD pid;
        HWND found = nullptr;
    } search{pid};
    EnumWindows(
        [](HWND hwnd, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            wchar_t className[32] = {};
            GetClassNameW(hwnd, className, 32);
            if (owner == s->pid && IsWindowVisible(hwnd) && std::wstring(className) == L"#32770") {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    Box box;
    box.window = search.found;
    if (!box.window) return box;
    box.caption = TextOf(box.window);
    EnumChildWindows(
        box.window,
        [](HWND child, LPARAM p) -> BOOL {
            auto* b = reinterpret_cast<Box*>(p);
            if (!IsWindowVisible(child)) return TRUE;
            wchar_t className[32] = {};
            GetClassNameW(child, className, 32);
            std::wstring text = TextOf(child);
            if (std::wstring(className) == L"Button") {
                b->buttons.push_back(child);
                b->buttonTexts.push_back(text);
            } else if (!text.empty()) {
                b->texts.push_back(text);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&box));
    return box;
}

TEST(StartupBoxes, EachBoxSaysItsTextAndOffersItsOneButton) {
    struct Case {
        const wchar_t* role;
        const wchar_t* text;
        const wchar_t* button;
    } cases[] = {
        {L"shell-already-running", L"Vantory Note application is alreay running!", L"OK"},
        {L"shell-missing-theme", L"Style 'Light' not found", L"Close"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.role);
        std::wstring command = L"\"" + test::SelfPath() + L"\" --child " + c.role;
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        CloseHandle(pi.hThread);
        UniqueKernelHandle child(pi.hProcess);

        Box box;
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
            box = FindBox(pi.dwProcessId);
            if (box.window && !box.buttons.empty()) break;
        }
        ASSERT_TRUE(box.window) << "no box appeared";
        EXPECT_EQ(box.caption, L"Vantory Note");
        EXPECT_NE(std::find(box.texts.begin(), box.texts.end(), c.text), box.texts.end());
        ASSERT_EQ(box.buttonTexts, std::vector<std::wstring>{c.button});

        SendMessageW(box.buttons[0], BM_CLICK, 0, 0);
        ASSERT_EQ(WaitForSingleObject(child.get(), 10000), WAIT_OBJECT_0) << "the box did not close";
        DWORD code = 99;
        GetExitCodeProcess(child.get(), &code);
        EXPECT_EQ(code, 0u);
    }
}

} // namespace
} // namespace vn
