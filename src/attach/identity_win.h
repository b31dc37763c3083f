#pragma once
// The window queries behind a target identity. None of them reports an error: when
// the system cannot answer, the text is empty and the own-window test is false.
#include <windows.h>

#include <string>

namespace vn {

// File name of the executable of the process that owns `window`, as the process
// list reports it; empty when the process is not found. A fresh snapshot per call.
std::u16string GetWindowExeName(HWND window);

// The window's text as the system keeps it, read without a message (as the
// system's title search and the text of another program's window are read): a
// hung program cannot hold the reader up, and another program's window costs one
// question to the window server instead of a message it must answer. No length
// limit; empty for no window.
std::u16string ReadWindowText(HWND window);

// The window's text (ReadWindowText) trimmed as a caption (TrimCaption).
std::u16string GetWindowCaption(HWND window);

// True for a window the windowing layer made for one of the program's own window
// objects (or a control it marked), in this process.
bool IsOwnWindow(HWND window);

// The local computer's name; empty when it cannot be read.
std::u16string GetLocalComputerName();

// File name part of this program's own executable path (the picking foreground check).
std::u16string GetOwnExeFileName();

} // namespace vn
