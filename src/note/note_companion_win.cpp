#include "note/note_companion_win.h"

#include "platform/text_win.h"

namespace vn {
namespace {
constexpr wchar_t kClassName[] = L"VnNoteCompanion";
// Posted to carry a close to the next turn of the message loop.
constexpr UINT kReleaseMessage = WM_APP + 0x51;
} // namespace

NoteCompanionWindow::NoteCompanionWindow(Events events) : events_(std::move(events)) {}

NoteCompanionWindow::~NoteCompanionWindow() { DestroyHandle(); }

void NoteCompanionWindow::Create() {
    if (HasHandle()) return;
    RegisterClass(kClassName);
    // A hidden top-level window rather than a message-only one: only a top-level
    // window can own the note's window while the note has no target.
    CreateNative(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr);
}

void NoteCompanionWindow::StartTimer(UINT_PTR id, UINT milliseconds) {
    if (!SetTimer(Handle(), id, milliseconds, nullptr)) RaiseLastOSError();
}

void NoteCompanionWindow::StopTimer(UINT_PTR id) {
    if (HasHandle()) KillTimer(Handle(), id);
}

void NoteCompanionWindow::PostRelease() {
    if (!PostMessageW(Handle(), kReleaseMessage, 0, 0)) RaiseLastOSError();
}

LRESULT NoteCompanionWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (events_.onTimer) events_.onTimer(wParam);
        return 0;
    case kReleaseMessage:
        // The handler may destroy this window's owner object: touch nothing after it.
        if (events_.onRelease) {
            auto release = events_.onRelease;
            release();
        }
        return 0;
    case WM_CLOSE:
        return 0;  // only the note decides when its helper goes
    default: return Window::HandleMessage(message, wParam, lParam);
    }
}

} // namespace vn
