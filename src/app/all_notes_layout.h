#pragma once
// Where the All Notes window's controls stand in a client area of a given size, at a
// given DPI: the lengths are written at 96 DPI and scaled by the one display-scale
// rule; the list and the preview share what the search box and the buttons leave.
// And the window's own sizes: the first one, the smallest, and a kept size brought
// to another DPI.
#include <span>
#include <vector>

namespace vn {

struct Box {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Box&) const = default;
};

struct AllNotesLayout {
    Box search, list, preview, status, close;
    std::vector<Box> buttons;  // in the order of the widths asked for, left to right
};

// At 96 DPI.
inline constexpr int kAllNotesButtonWidth = 110;
inline constexpr int kAllNotesWideButtonWidth = kAllNotesButtonWidth + 20;

// The controls of a client area of `width` x `height` at `dpi`, with buttons of
// `buttonWidths` (at 96 DPI) from the left and Close at the right.
AllNotesLayout LayOutAllNotes(int width, int height, int dpi, std::span<const int> buttonWidths);

struct WindowSize {
    int width = 0, height = 0;
    bool operator==(const WindowSize&) const = default;
};

// The window's size when it has no kept place, at most the screen's.
WindowSize DefaultAllNotesSize(int dpi, WindowSize screen);
// The smallest size the person can make it.
WindowSize MinimumAllNotesSize(int dpi);
// A size kept at `fromDpi` on a monitor now at `toDpi`: the same size in the
// person's terms (a window that took half the screen still takes half of it).
WindowSize KeptSizeAtDpi(WindowSize kept, int fromDpi, int toDpi);

} // namespace vn
