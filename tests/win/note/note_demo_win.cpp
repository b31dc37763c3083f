// A child role that shows a note for a look at it (screenshots, manual checks):
//   vn_win_tests.exe --child note-demo [notepad|own] [SECONDS] [long|tile]
// "notepad" starts Wine's Notepad and sticks the note onto it; "own" makes a plain
// window of this process as the target. The note carries a few lines of text.
#include <windows.h>

#include <memory>
#include <string>

#include "attach/note_placement.h"
#include "attach/window_system_win.h"
#include "note/note_host.h"
#include "child_roles_win.h"
#include "note/sticky_note_win.h"
#include "test_note_host_win.h"

namespace vn::test {
namespace {

class DemoHost : public TestNoteHost {
public:
    bool SelectingCaptureWindow() const override { return false; }
    void SetSaveChangePending() override {}
    void ExportJotlets() override {}
    void ImportStickyNote() override {}
};

HWND StartNotepad() {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    wchar_t commandLine[] = L"notepad.exe";
    if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int i = 0; i < 200; ++i) {
        if (HWND h = FindWindowW(nullptr, L"Untitled - Notepad")) {
            SetWindowPos(h, nullptr, 60, 60, 620, 400, SWP_NOZORDER);
            return h;
        }
        Sleep(50);
    }
    return nullptr;
}

HWND MakeOwnTarget() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"VnNoteDemoTarget";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"Shopping list - Demo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                           640, 420, nullptr, nullptr, wc.hInstance, nullptr);
}

int RunDemo(int argc, wchar_t** argv) {
    const std::wstring which = argc > 0 ? argv[0] : L"own";
    const DWORD seconds = argc > 1 ? static_cast<DWORD>(_wtoi(argv[1])) : 30;
    const std::wstring look = argc > 2 ? argv[2] : L"";
    HWND target = which == L"notepad" ? StartNotepad() : MakeOwnTarget();
    if (!target) return 2;
    if (look == L"long")
        SetWindowTextW(target, L"Quarterly report for the regional office with all the figures of the last three "
                               L"years and a very long appendix - Demo");
    Sleep(300);

    DemoHost host;
    auto note = std::make_unique<TFStickyNote>(host, target);
    note->SetRemovalNotice([](Jotlet&) { PostQuitMessage(0); });  // its Delete button ends the demo
    PlaceNoteOnPickedWindow(TheWindowSystem(), ToWindowId(target), note->AsNewWindow());
    note->Show();
    note->Editor().LoadBody("Milk\r\nBread and butter\r\nCall the plumber about the kitchen tap\r\nBirthday card");
    if (look == L"tile") {
        SendMessageW(note->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(380, 40));
        SendMessageW(note->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(380, 40));
    } else if (look == L"hover") {
        SendMessageW(note->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(130, 90));
    }

    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < seconds * 1000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return 0;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return 0;
}

const bool registered = RegisterChildRole(L"note-demo", RunDemo);

} // namespace
} // namespace vn::test
