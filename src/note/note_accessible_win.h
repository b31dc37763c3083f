#pragma once
// The note as a screen reader sees it (Active Accessibility): the note window answers
// WM_GETOBJECT for its client with an object that describes the parts drawn on it as
// simple children (child id = the part's note::Control value) and passes the window's
// own children (the body area with the editor and the check boxes) on as the system
// describes them. No part costs a window: the description comes from the layout.
#include <windows.h>

#include <functional>
#include <string>

#include "note/note_accessibility.h"

namespace vn {

class NoteAccessible;

// Posted to the note window when a screen reader presses a part (wParam: the part),
// so that a command that opens a dialog runs from the message loop and the reader's
// call returns at once.
inline constexpr UINT kAccessPressMessage = WM_APP + 0x41;

// What the accessible object asks the note, at each question.
struct NoteAccessSource {
    // The note's parts as they are now; its texts stay valid until the next call.
    std::function<note::NoteAccessView()> view;
    // The name of the note itself.
    std::function<std::u16string()> name;
};

// The note's end of its accessible object: made at the first WM_GETOBJECT of a
// window and disconnected when that window goes (or the note with it).
class NoteAccessibleLink {
public:
    explicit NoteAccessibleLink(NoteAccessSource source) : source_(std::move(source)) {}
    ~NoteAccessibleLink() { Disconnect(); }
    NoteAccessibleLink(const NoteAccessibleLink&) = delete;
    NoteAccessibleLink& operator=(const NoteAccessibleLink&) = delete;

    // The answer to WM_GETOBJECT on `window`; 0 (the system's own answer) for any
    // object but the client, or when no object can be made.
    LRESULT Answer(HWND window, WPARAM wParam, LPARAM lParam);
    // The window went: a reader still holding the object gets CO_E_OBJNOTCONNECTED.
    void Disconnect() noexcept;

    // Tells readers that a part's name (a label's text) or the parts shown (the tile
    // and back) changed.
    static void NameChanged(HWND window, note::Control part) noexcept;
    static void PartsChanged(HWND window) noexcept;

private:
    NoteAccessSource source_;
    NoteAccessible* object_ = nullptr;  // one reference, while connected
};

} // namespace vn
