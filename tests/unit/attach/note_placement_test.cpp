#include "attach/note_placement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "attach/fake_desktop.h"
#include "platform/errors.h"

namespace vn {
namespace {

using test::FakeDesktop;
using Log = std::vector<std::string>;

class FakeNewNote : public NewNoteWindow {
public:
    void SetPosition(int left, int top) override {
        log.push_back("position " + std::to_string(left) + "," + std::to_string(top));
    }
    void CreateNativeWindowIfNeeded() override {
        if (refuse) throw TSNCreateWindowHandleAccessDeniedException();
        log.push_back("create");
    }
    void ShowAboveTarget(WindowId target) override { log.push_back("show above " + std::to_string(target)); }
    void Discard() override { log.push_back("discard"); }

    bool refuse = false;
    Log log;
};

TEST(NotePlacement, ANoteOnAPickedWindowGoesToItsCornerPlusFiveAndShowsAboveIt) {
    FakeDesktop desk;
    WindowId target = desk.Open(u"Untitled - Notepad", u"notepad.exe", {-20, 7, 600, 400});
    FakeNewNote note;
    PlaceNoteOnPickedWindow(desk, target, note);
    EXPECT_EQ(note.log, (Log{"position -15,12", "create", "show above " + std::to_string(target)}));
}

TEST(NotePlacement, TheCornerOffsetIsScaledToTheDpiOfTheTargetsMonitor) {
    const struct {
        int dpi;
        std::string position;
    } cases[] = {{96, "position -15,12"}, {120, "position -14,13"}, {144, "position -12,15"}, {192, "position -10,17"}};
    for (const auto& c : cases) {
        FakeDesktop desk;
        WindowId target = desk.Open(u"Untitled - Notepad", u"notepad.exe", {-20, 7, 600, 400});
        desk[target].monitorDpi = c.dpi;
        FakeNewNote note;
        PlaceNoteOnPickedWindow(desk, target, note);
        EXPECT_EQ(note.log.front(), c.position) << c.dpi;
    }
}

TEST(NotePlacement, ATargetWhoseRectangleIsGoneLeavesTheNoteWhereItWasMade) {
    FakeDesktop desk;
    WindowId target = desk.Open(u"Untitled - Notepad", u"notepad.exe");
    desk[target].rect.reset();
    FakeNewNote note;
    PlaceNoteOnPickedWindow(desk, target, note);
    EXPECT_EQ(note.log, (Log{"create", "show above " + std::to_string(target)}));
}

TEST(NotePlacement, ARefusedNoteIsDiscardedAndTheRefusalGoesOn) {
    FakeDesktop desk;
    WindowId target = desk.Open(u"Administrator: cmd", u"cmd.exe");
    FakeNewNote note;
    note.refuse = true;
    EXPECT_THROW(PlaceNoteOnPickedWindow(desk, target, note), TSNCreateWindowHandleAccessDeniedException);
    EXPECT_EQ(note.log, (Log{"position 105,205", "discard"}));
}

} // namespace
} // namespace vn
