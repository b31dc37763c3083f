#pragma once
// Message, timer and command numbers of the main controller, in one place so that
// no two parts of the program pick the same one.
#include <cstdint>

namespace vn {

// WM_USER + 1: the tray icon's callback message; lParam carries the mouse message.
inline constexpr unsigned kTrayCallbackMessage = 0x0400 + 1;

// Timers of the controller (window-message timers on TFMain's window).
enum class ControllerTimer : std::uintptr_t {
    CaptureWindowTimer = 1,          // one-shot: takes the picked foreground window
    CheckForegroundWindowTimer = 2,  // while picking: ends it when another program is in front
    SaveTimer = 3,                   // one-shot, restarted by every change: delayed store save
};

inline constexpr unsigned kCaptureWindowTimerInterval = 100;          // ms
inline constexpr unsigned kCheckForegroundWindowTimerInterval = 1000;  // ms
inline constexpr unsigned kSaveTimerInterval = 5000;                   // ms

// Tray menu commands.
enum class TrayCommand : unsigned {
    AddaStickyNote1 = 101,
    ExportaStickyNote1 = 102,
    InportaStickyNote1 = 103,
    Quit1 = 104,
};

// Balloon icons (NIIF_INFO and NIIF_ERROR).
inline constexpr unsigned kBalloonInfo = 1;
inline constexpr unsigned kBalloonError = 3;

// The tray data block's limits, in UTF-16 units without the terminator.
inline constexpr unsigned kMaxTipLength = 127;
inline constexpr unsigned kMaxBalloonTextLength = 255;
inline constexpr unsigned kMaxBalloonTitleLength = 63;

} // namespace vn
