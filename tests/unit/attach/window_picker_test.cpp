#include "attach/window_picker.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "attach/fake_desktop.h"
#include "manual_timer.h"

namespace vn {
namespace {

using test::FakeDesktop;
using test::ManualTimer;
using Log = std::vector<std::string>;
using enum MouseButtonEvent;

std::string Narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }

// The picker with a desktop and its two timers; every step logs what the picker
// asked the controller to do.
struct Harness {
    Harness() {
        notepad = desk.Open(u"Untitled - Notepad", u"notepad.exe");
        ownNote = desk.Open(u"notepad.exe - Untitled - Notepad", u"VantoryNote.exe");
        desk[ownNote].own = true;
        taskbar = desk.Open(u" \t ", u"explorer.exe");
        otherCopy = desk.Open(u"Copy", u"vantorynote.EXE");  // another program with our file name
        desk.SetForeground(ownNote);
    }
    void Start(bool balloon, std::u16string info) {
        PickPrompt prompt = picker.SelectWindowToAddStickyNote(balloon, std::move(info));
        log.push_back(prompt == PickPrompt::TrayBalloon ? "balloon" : "info window");
    }
    void Record(PickingState state) {
        if (state == PickingState::Cancelled) log.push_back("cancelled");
        if (state == PickingState::CaptureArmed) log.push_back("capture armed");
    }
    void Mouse(std::initializer_list<MouseButtonEvent> events) {
        for (MouseButtonEvent e : events) Record(picker.MouseHookEvent(e));
    }
    void LeftClick() { Mouse({LeftDown, LeftUp}); }
    void Check() { Record(picker.CheckForegroundWindowTimerTimer()); }
    // The capture as the controller runs it: a note for the pick, filled from the record.
    void Capture() {
        std::optional<PickedWindow> picked = picker.CaptureWindowTimerTimer();
        if (!picked) {
            log.push_back("no pick");
            return;
        }
        log.push_back("pick " + std::to_string(picked->target) + " " + Narrow(picked->infoString));
        picker.NoteMadeForPick();
    }

    FakeDesktop desk;
    ManualTimer check{kCheckForegroundWindowTimerInterval};
    ManualTimer capture{kCaptureWindowTimerInterval};
    WindowPicker picker{desk, check, capture, u"VantoryNote.exe"};
    WindowId notepad, ownNote, taskbar, otherCopy;
    Log log;
};

std::string Pick(WindowId w, const char* info = "") { return "pick " + std::to_string(w) + " " + info; }

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
        {"tray: balloon prompt", [](Harness& h) { h.Start(true, u""); }, true, true, false, u"",
         [](const Harness&) { return Log{"balloon"}; }},
        {"import: information window prompt, record kept", [](Harness& h) { h.Start(false, u"PC|t|0.rtf|10"); },
         true, true, false, u"PC|t|0.rtf|10", [](const Harness&) { return Log{"info window"}; }},
        {"picking again replaces the record and the prompt",
         [](Harness& h) {
             h.Start(false, u"PC|t|0.rtf|10");
             h.Start(true, u"");
         },
         true, true, false, u"", [](const Harness&) { return Log{"info window", "balloon"}; }},
        {"left button down: only the release decides",
         [](Harness& h) {
             h.Start(true, u"");
             h.Mouse({LeftDown});
         },
         true, false, false, u"", [](const Harness&) { return Log{"balloon"}; }},
        {"right button down",
         [](Harness& h) {
             h.Start(true, u"");
             h.Mouse({RightDown});
         },
         true, false, false, u"", [](const Harness&) { return Log{"balloon"}; }},
        {"picking again after a button went down checks the foreground again",
         [](Harness& h) {
             h.Start(true, u"");
             h.Mouse({LeftDown});
             h.Start(true, u"");
         },
         true, true, false, u"", [](const Harness&) { return Log{"balloon", "balloon"}; }},
        {"left release arms the capture",
         [](Harness& h) {
             h.Start(false, u"");
             h.LeftClick();
         },
         false, false, true, u"", [](const Harness&) { return Log{"info window", "capture armed"}; }},
        {"right release cancels and keeps the record",
         [](Harness& h) {
             h.Start(false, u"rec");
             h.Mouse({RightDown, RightUp});
         },
         false, false, false, u"rec", [](const Harness&) { return Log{"info window", "cancelled"}; }},
        {"moves, wheel, middle and extra buttons do nothing",
         [](Harness& h) {
             h.Start(true, u"");
             h.Mouse({Other, Other});
         },
         true, true, false, u"", [](const Harness&) { return Log{"balloon"}; }},
        {"idle: mouse events do nothing", [](Harness& h) { h.Mouse({LeftDown, LeftUp, RightDown, RightUp}); },
         false, false, false, u"", [](const Harness&) { return Log{}; }},
        {"double click: the second click is ignored",
         [](Harness& h) {
             h.Start(true, u"");
             h.LeftClick();
             h.LeftClick();
         },
         false, false, true, u"", [](const Harness&) { return Log{"balloon", "capture armed"}; }},
        {"capture armed: a right click does not cancel",
         [](Harness& h) {
             h.Start(true, u"");
             h.LeftClick();
             h.Mouse({RightDown, RightUp});
         },
         false, false, true, u"", [](const Harness&) { return Log{"balloon", "capture armed"}; }},
        {"foreground check: another program took the foreground",
         [](Harness& h) {
             h.Start(false, u"");
             h.desk.SetForeground(h.notepad);
             h.Check();
         },
         false, false, true, u"", [](const Harness&) { return Log{"info window", "capture armed"}; }},
        {"foreground check: still this program, or one with its file name, or none",
         [](Harness& h) {
             h.Start(true, u"");
             h.Check();
             h.desk.SetForeground(h.otherCopy);
             h.Check();
             h.desk.SetForeground(kNoWindow);
             h.Check();
         },
         true, true, false, u"", [](const Harness&) { return Log{"balloon"}; }},
        {"foreground check after picking ended does nothing",
         [](Harness& h) {
             h.Start(true, u"");
             h.Mouse({RightUp});
             h.desk.SetForeground(h.notepad);
             h.Check();
         },
         false, false, false, u"", [](const Harness&) { return Log{"balloon", "cancelled"}; }},
        {"capture: the foreground window is picked",
         [](Harness& h) {
             h.Start(true, u"");
             h.LeftClick();
             h.desk.SetForeground(h.notepad);
             h.Capture();
         },
         false, false, false, u"",
         [](const Harness& h) { return Log{"balloon", "capture armed", Pick(h.notepad)}; }},
        {"capture: the imported record comes with the pick and is used up",
         [](Harness& h) {
             h.Start(false, u"PC|t|0.rtf|10");
             h.desk.SetForeground(h.notepad);
             h.Check();
             h.Capture();
         },
         false, false, false, u"",
         [](const Harness& h) { return Log{"info window", "capture armed", Pick(h.notepad, "PC|t|0.rtf|10")}; }},
        {"capture: own windows, blank captions and no window are no pick and keep the record",
         [](Harness& h) {
             for (WindowId w : {h.ownNote, h.taskbar, kNoWindow}) {
                 h.Start(false, u"rec");
                 h.LeftClick();
                 h.desk.SetForeground(w);
                 h.Capture();
             }
         },
         false, false, false, u"rec",
         [](const Harness&) {
             Log one{"info window", "capture armed", "no pick"};
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
        EXPECT_EQ(h.check.Enabled(), c.checkOn);
        EXPECT_EQ(h.capture.Enabled(), c.captureOn);
        EXPECT_EQ(h.picker.NewStickyNoteInfoString(), c.infoString);
        EXPECT_EQ(h.log, c.log(h));
    }
}

TEST(WindowPicker, TheTimersTickIntoPickingAndARunningCheckKeepsItsPeriod) {
    Harness h;
    h.check.SetHandler([&] { h.Check(); });
    h.capture.SetHandler([&] { h.Capture(); });
    h.Start(true, u"");
    h.check.Advance(std::chrono::milliseconds(600));
    h.Start(true, u"");  // picking again: the check still fires 1 s after it started
    EXPECT_EQ(h.check.Starts(), 1);
    h.desk.SetForeground(h.notepad);
    h.check.Advance(std::chrono::milliseconds(400));
    EXPECT_EQ(h.log, (Log{"balloon", "balloon", "capture armed"}));
    h.capture.Advance(std::chrono::milliseconds(99));
    EXPECT_EQ(h.log.size(), 3u) << "the capture comes 100 ms after the end of picking";
    h.capture.Advance(std::chrono::milliseconds(1000));
    EXPECT_EQ(h.log.back(), Pick(h.notepad)) << "and only once";
    EXPECT_EQ(h.log.size(), 4u);
    EXPECT_FALSE(h.check.Enabled());
}

TEST(WindowPicker, APickWhoseNoteWasNotMadeKeepsTheRecordForTheNextPick) {
    Harness h;
    h.Start(false, u"rec");
    h.LeftClick();
    h.desk.SetForeground(h.notepad);
    std::optional<PickedWindow> picked = h.picker.CaptureWindowTimerTimer();
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->infoString, u"rec");
    // The note was refused (access denied): the controller does not report it made.
    EXPECT_EQ(h.picker.NewStickyNoteInfoString(), u"rec");
    EXPECT_FALSE(h.capture.Enabled());
}

} // namespace
} // namespace vn
