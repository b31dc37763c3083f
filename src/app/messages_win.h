#pragma once
// Message, timer and command numbers of the main controller, in one place so that
// no two parts of the program pick the same one.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>

namespace vn {

// The tray icon's callback message; lParam carries the mouse message.
inline constexpr UINT kTrayCallbackMessage = WM_USER + 1;
// Posted by the data folder's writer when a job is done: the controller runs what
// follows it (DataFolderWriter::RunFinished).
inline constexpr UINT kWriterDoneMessage = WM_USER + 2;

// Timers of the controller (window-message timers on TFMain's window).
enum class ControllerTimer : UINT_PTR {
    CaptureWindowTimer = 1,          // one-shot: takes the picked foreground window
    CheckForegroundWindowTimer = 2,  // while picking: ends it when another program is in front
    SaveTimer = 3,                   // one-shot, restarted by every change: delayed store save
    BalloonTimer = 4,                // while a balloon is on screen: its time is up
    IndexRereadTimer = 5,            // one-shot: an index that could not be read at start is read again
    SearchTextTimer = 6,             // while notes' search texts wait to be read
    AllNotesStateTimer = 7,          // while All Notes is open: the notes' states
};

// Tray menu commands.
enum class TrayCommand : UINT {
    AddaStickyNote1 = 101,
    ExportaStickyNote1 = 102,
    InportaStickyNote1 = 103,
    Quit1 = 104,
    AllNotes1 = 105,
};

// Balloon icons.
inline constexpr DWORD kBalloonInfo = NIIF_INFO;
inline constexpr DWORD kBalloonError = NIIF_ERROR;
inline constexpr DWORD kBalloonWarning = NIIF_WARNING;

} // namespace vn
