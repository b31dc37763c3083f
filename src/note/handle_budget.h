#pragma once
// The process's share of the system's window and drawing objects. Windows gives a
// process at most 10,000 USER and 10,000 GDI objects by default; past that,
// CreateWindowEx and the GDI calls fail without warning, and a half-made note
// (a window without its editor, a line without its box) is what the person would
// see. The notes ask the budget before they make a window or a box, and a request
// that would eat into the reserve is refused: the note stays stored and makes its
// window on a later tick, once there is room again.
#include <functional>
#include <utility>

#include "platform/errors.h"

namespace vn::note {

struct GuiObjects {
    int user = 0;
    int gdi = 0;
    friend bool operator==(const GuiObjects&, const GuiObjects&) = default;
};

// The system's default per-process quotas (GDIProcessHandleQuota, USERProcessHandleQuota).
inline constexpr GuiObjects kDefaultQuota{10000, 10000};
// Kept free for what the program needs besides notes: its dialogs, menus, the
// font dialog, the tray balloon, the drawing of the notes' faces.
inline constexpr GuiObjects kReserve{1000, 1000};
// A note's native window: the form, the backing panel, the body area and the
// editor; the window region is its one GDI object (the system owns it once set).
inline constexpr GuiObjects kNoteWindowCost{4, 1};
// A checklist line: one check box.
inline constexpr GuiObjects kCheckBoxCost{1, 0};
// The hidden editor that answers for a note without a window when something asks
// what the note's body holds that was not kept aside: the control and the
// message-only window it lives in. Its fonts come from the control's library
// cache (no GDI object of its own while nothing draws it).
inline constexpr GuiObjects kHiddenEditorCost{2, 0};

class HandleBudget {
public:
    // What the system says the process uses now; zeros where it does not tell
    // (Wine answers GetGuiResources with 0).
    using Reader = std::function<GuiObjects()>;

    HandleBudget(GuiObjects quota, Reader systemCount) : quota_(quota), systemCount_(std::move(systemCount)) {}

    // Counts `cost` as used and returns true when it fits below the quota minus the
    // reserve; otherwise counts nothing and returns false.
    bool Take(GuiObjects cost);
    // A note window's share (kNoteWindowCost), as Take. A refusal starts a shortage
    // that lasts until a note window fits again; the person is to be told of it once
    // (ShortageToTell), not at every tick that finds no room.
    bool TakeNoteWindow();
    // True once for each shortage, at the first call after it began.
    bool ShortageToTell() noexcept;

    // Counts `cost` as used whether or not it fits: for what must be made all the
    // same (the reserve is kept for it), so that it leaves less room for notes.
    void Count(GuiObjects cost) noexcept;
    // Gives back what a Take or Count counted (a window or box that is gone).
    void Give(GuiObjects cost) noexcept;

    // In use as far as the budget can tell: the larger of the system's count and
    // what the notes took.
    GuiObjects Used() const;
    // What the notes have taken and not given back.
    GuiObjects Taken() const noexcept { return taken_; }
    GuiObjects Quota() const noexcept { return quota_; }
    void SetQuota(GuiObjects quota) noexcept { quota_ = quota; }

private:
    GuiObjects quota_;
    Reader systemCount_;
    GuiObjects taken_;
    bool shortage_ = false;
    bool shortageTold_ = false;
};

// A note window was not made: the budget has no room for it.
class NoRoomForWindow : public Error {
public:
    NoRoomForWindow() : Error("No room for another note window") {}
};

} // namespace vn::note
