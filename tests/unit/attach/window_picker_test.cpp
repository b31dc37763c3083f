#include "attach/window_picker.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "attach/fake_desktop.h"
#include "platform/errors.h"

namespace vn {
namespace {

using test::FakeDesktop;
using Log = std::vector<std::string>;

std::string Narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }

class FakeHost : public PickingHost, public PickedNote {
public:
    void SetCheckForegroundWindowTimer(bool on) override { log.push_back(on ? "check on" : "check off"); }
    void SetCaptureWindowTimer(bool on) override { log.push_back(on ? "capture on" : "capture off"); }
    void ShowBalloonPrompt(const std::u16string& text) override { log.push_back("balloon: " + Narrow(text)); }
    void ShowSelectWindowInfo(const std::u16string& text) override { log.push_back("info: " + Narrow(text)); }
    void CloseSelectWindowInfo() override { log.push_back("close info"); }
    PickedNote& AddStickyNoteToWindow(WindowId target) override {
        log.push_back("add " + std::to_string(target));
        if (refuse) throw TSNCreateWindowHandleAccessDeniedException();
        return *this;
    }
    void BringImportDialogToFrontIfShowing() override { log.push_back("import front"); }
    void FillStickyNote(const std::u16string& info) override { log.push_back("fill " + Narrow(info)); }
    void Show() override { log.push_back("show"); }

    bool refuse = false;
    Log log;
};

const std::string kBalloon =
    "balloon: Select a window to add a note to by left clicking on it.\r\nTo cancel the operation, right click "
    "anywhere.";
const std::string kInfoExact =
    "info: Select a window to add the note to by left clicking on it.\r\nTo cancel the operation, right click "
    "anywhere.";

struct Harness {
    Harness() {
        notepad = desk.Open(u"Untitled - Notepad", u"notepad.exe");
        ownNote = desk.Open(u"notepad.exe - Untitled - Notepad", u"VantoryNote.exe");
        desk[ownNote].own = true;
        taskbar = desk.Open(u" \t ", u"explorer.exe");
        otherCopy = desk.Open(u"Copy", u"vantorynote.EXE");  // another program with our file name
        desk.SetForeground(ownNote);
    }
    void Mouse(std::initializer_list<unsigned> messages) {
        for (unsigned m : messages) picker.MouseHookEvent(m);
    }
    void LeftClick() { Mouse({kMsgLButtonDown, kMsgLButtonUp}); }

    FakeDesktop desk;
    FakeHost host;
    WindowPicker picker{desk, host, u"VantoryNote.exe"};
    WindowId notepad, ownNote, taskbar, otherCopy;
};

std::string Add(WindowId w) { return "add " + std::to_string(w); }

struct PickCase {
    const char* name;
    std::function<void(Harness&)> steps;
    bool selecting;
    bool checkOn;
    bool captureOn;
    std::u16string infoString;
    std::function<Log(const Harness&)> log;
};

TEST(WindowPicker, EveryTransitionOfPicking) {
    const PickCase cases[] = {
        {"tray: balloon prompt", [](Harness& h) { h.picker.SelectWindowToAddStickyNote(true, u""); }, true, true,
         false, u"", [](const Harness&) { return Log{"check on", kBalloon}; }},
        {"import: information window prompt, record kept",
         [](Harness& h) { h.picker.SelectWindowToAddStickyNote(false, u"PC|t|0.rtf|10"); }, true, true, false,
         u"PC|t|0.rtf|10", [](const Harness&) { return Log{"check on", kInfoExact}; }},
        {"picking again replaces the record and keeps the check's period",
         [](Harness& h) {
             h.picker.SelectWindowToAddStickyNote(false, u"PC|t|0.rtf|10");
             h.picker.SelectWindowToAddStickyNote(true, u"");
         },
         true, true, false, u"", [](const Harness&) { return Log{"check on", kInfoExact, kBalloon}; }},
        {"left button down: only the release decides",
         [](Harness& h) {
             h.picker.SelectWindowToAddStickyNote(true, u"");
             h.Mouse({kMsgLButtonDown});
             h.picker.SelectWindowToAddStickyNote(true, u"");
         },
         true, true, false, u"", [](const Harness&) { return Log{"check on", kBalloon, "check off", "check on", kBalloon}; }},
        {"right button down",
         [](Harness& h) {
             h.picker.SelectWindowToAddStickyNote(true, u"");
             h.Mouse({kMsgRButtonDown});
         },
         true, false, false, u"", [](const Harness&) { return Log{"check on", kBalloon, "check off"}; }},
        {"left release arms the capture",
         [](Harness& h) {
             h.picker.SelectWindowToAddStickyNote(false, u"");
             h.LeftClick();
         },
         false, false, true, u"",
         [](const Harness&) { return Log{"check on", kInfoExact, "check off", "close info", "capture on"}; }},
        {"right release cancels",
         [](Harness& h) {
             h.picker.SelectWindowToAddStickyNote(false, u"rec");
             h.Mouse({kMsgRButtonDown, kMsgRButtonUp});
         },
         false, false, false, u"rec", [](const Harness&) { return Log{"check on", kInfoExact, "check off", "close info"}; }},
        {"moves, wheel, middle and extra buttons do nothing",
         [](Harness& h) {
             h.picker.SelectWindowToAddStickyNote(true, u"");
             h.Mouse({0x0200, 0x020A, 0x020E, 0x0207, 0x0208, 0x020B, 0x020C});
         },
         true, true, false, u"", [](const Harness&) { return Log{"check on", kBalloon}; }},
        {"idle: mouse events do nothing",
         [](Harness& h) { h.Mouse({kMsgLButtonDown, kMsgLButtonUp, kMsgRButtonDown, kMsgRButtonUp}); }, false, false,
         false, u"", [](const Harness&) { return Log{}; }},
        {"double click: the second click is ignored",
         [](Harness& h) {
             h.picker.SelectWindowToAddStickyNote(true, u"");
             h.LeftClick();
             h.LeftClick();
         },
         false, false, true, u"",
         [](const Harness&) { return Log{"check on", kBalloon, "check off", "close info", "capture on"}; }},
        {"capture armed: a right click does not cancel",
         [](Harness& h) {
             h.picker.SelectWindowToAddStickyNote(true, u"");
             h.LeftClick();
             h.Mouse({kMsgRButtonDown, kMsgRButtonUp});
         },
         false, false, true, u"",
         [](const Harness&) { return Log{"check on", kBalloon, "check off", "close info", "capture on"}; }},
        {"foreground check: another program took the foreground",
         [](Harness& h) {
             h.picker.SelectWindowToAddStickyNote(false, u"");
             h.desk.SetForeground(h.notepad);
             h.picker.CheckForegroundWindowTimerTimer();
         },
         false, false, true, u"",
         [](const Harness&) { return Log{"check on", kInfoExact, "check off", "close info", "capture on"}; }},
        {"foreground check: still this program, or one with its file name, or none",
         [](Harness& h) {
             h.picker.SelectWindowToAddStickyNote(true, u"");
             h.picker.CheckForegroundWindowTimerTimer();
             h.desk.SetForeground(h.otherCopy);
             h.picker.CheckForegroundWindowTimerTimer();
             h.desk.SetForeground(kNoWindow);
             h.picker.CheckForegroundWindowTimerTimer();
         },
         true, true, false, u"", [](const Harness&) { return Log{"check on", kBalloon}; }},
        {"foreground check after picking ended does nothing",
         [](Harness& h) {
             h.picker.SelectWindowToAddStickyNote(true, u"");
             h.Mouse({kMsgRButtonUp});
             h.desk.SetForeground(h.notepad);
             h.picker.CheckForegroundWindowTimerTimer();
         },
         false, false, false, u"", [](const Harness&) { return Log{"check on", kBalloon, "check off", "close info"}; }},
        {"capture: a note on the foreground window",
         [](Harness& h) {
             h.picker.SelectWindowToAddStickyNote(true, u"");
             h.LeftClick();
             h.desk.SetForeground(h.notepad);
             h.picker.CaptureWindowTimerTimer();
         },
         false, false, false, u"",
         [](const Harness& h) {
             return Log{"check on", kBalloon, "check off", "close info", "capture on", "capture off", Add(h.notepad),
                        "show", "import front"};
         }},
        {"capture: the imported record fills the note and is used up",
         [](Harness& h) {
             h.picker.SelectWindowToAddStickyNote(false, u"PC|t|0.rtf|10");
             h.desk.SetForeground(h.notepad);
             h.picker.CheckForegroundWindowTimerTimer();
             h.picker.CaptureWindowTimerTimer();
         },
         false, false, false, u"",
         [](const Harness& h) {
             return Log{"check on", kInfoExact, "check off", "close info", "capture on", "capture off",
                        Add(h.notepad), "fill PC|t|0.rtf|10", "show", "import front"};
         }},
        {"capture: own windows, blank captions and no window get no note and keep the record",
         [](Harness& h) {
             for (WindowId w : {h.ownNote, h.taskbar, kNoWindow}) {
                 h.picker.SelectWindowToAddStickyNote(false, u"rec");
                 h.LeftClick();
                 h.desk.SetForeground(w);
                 h.picker.CaptureWindowTimerTimer();
             }
         },
         false, false, false, u"rec",
         [](const Harness&) {
             Log one{"check on", kInfoExact, "check off", "close info", "capture on", "capture off", "import front"};
             Log all;
             for (int i = 0; i < 3; ++i) all.insert(all.end(), one.begin(), one.end());
             return all;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        c.steps(h);
        EXPECT_EQ(h.picker.SelectingCaptureWindow(), c.selecting);
        EXPECT_EQ(h.picker.CheckForegroundWindowTimerOn(), c.checkOn);
        EXPECT_EQ(h.picker.CaptureWindowTimerOn(), c.captureOn);
        EXPECT_EQ(h.picker.NewStickyNoteInfoString(), c.infoString);
        EXPECT_EQ(h.host.log, c.log(h));
    }
}

TEST(WindowPicker, ARefusedCaptureStopsBeforeFillingShowingAndTheImportDialog) {
    Harness h;
    h.host.refuse = true;
    h.picker.SelectWindowToAddStickyNote(false, u"rec");
    h.LeftClick();
    h.desk.SetForeground(h.notepad);
    h.host.log.clear();
    EXPECT_THROW(h.picker.CaptureWindowTimerTimer(), TSNCreateWindowHandleAccessDeniedException);
    EXPECT_EQ(h.host.log, (Log{"capture off", Add(h.notepad)}));
    EXPECT_EQ(h.picker.NewStickyNoteInfoString(), u"rec");
    EXPECT_FALSE(h.picker.CaptureWindowTimerOn());
}

TEST(WindowPicker, AFirstForegroundCheckThatFindsAnotherProgramPicksItWithoutAClick) {
    Harness h;
    h.desk.SetForeground(h.notepad);
    h.picker.SelectWindowToAddStickyNote(true, u"");
    h.picker.CheckForegroundWindowTimerTimer();
    h.picker.CaptureWindowTimerTimer();
    ASSERT_GE(h.host.log.size(), 3u);
    EXPECT_EQ(h.host.log[h.host.log.size() - 3], Add(h.notepad));
    EXPECT_FALSE(h.picker.SelectingCaptureWindow());
}

} // namespace
} // namespace vn
