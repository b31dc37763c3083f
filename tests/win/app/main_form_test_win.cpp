#include "app/main_form_win.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/app_texts.h"
#include "app/application_win.h"
#include "note/handle_budget.h"
#include "platform/errors.h"
#include "platform/guarded.h"
#include "platform/mouse_hook_win.h"
#include "platform/text_win.h"

namespace vn {
namespace {

// What the store would write of a note; the list tests do not look at it.
class BlankStoreNote : public StoreNote {
public:
    std::u16string ExeName() const override { return u"test.exe"; }
    std::u16string Caption() const override { return u"Test"; }
    std::u16string OwnerLabel() const override { return {}; }
    std::u16string TimeLabel() const override { return {}; }
    void SetOwnerLabel(const std::u16string&) override {}
    void SetTimeLabel(const std::u16string&) override {}
    std::string SaveBody() override { return {}; }
    void LoadBody(const BodyFile&) override {}
    std::u16string CheckStateString() const override { return {}; }
    void SetPendingCheckStates(const std::u16string&) override {}
    void RestoreLayoutAfterFill() override {}
};

// A note as the controller sees it; it records what is done to it.
class FakeJotlet : public Jotlet {
public:
    FakeJotlet(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
    void Close() override { log_.push_back("close " + name_); }
    StoreNote& Stored() noexcept override { return stored_; }
    void SetRemovalNotice(RemovalNotice notice) override {
        log_.push_back((notice ? "notice " : "cancel ") + name_);
        notice_ = std::move(notice);
    }
    void Hide() override { log_.push_back("hide " + name_); }
    void Destroy() override {
        log_.push_back("destroy " + name_);
        if (auto notice = std::exchange(notice_, {})) notice(*this);
    }
    // The window went some other way (its own Delete button, say).
    void DestroyedByItself() {
        if (notice_) notice_(*this);
    }

private:
    std::string name_;
    std::vector<std::string>& log_;
    RemovalNotice notice_;
    BlankStoreNote stored_;
};

class ThrowingWindow : public Window {
public:
    explicit ThrowingWindow(std::string message) : message_(std::move(message)) {
        RegisterClass(L"VnShellTestThrowing");
        CreateNative(0, L"VnShellTestThrowing", L"", WS_POPUP, 0, 0, 0, 0, nullptr);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) throw Error(message_);
        return Window::HandleMessage(message, wParam, lParam);
    }

private:
    std::string message_;
};

// A data folder of the test's own, so the final saves never touch the user's notes.
std::u16string TestDataFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    return U16(temp) + u"vn-shell-main-form\\";
}

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        application.SetTitle(kApplicationTitle);
        application.Initialize();
        main.Create();
    }
    // The balloon on screen has had its time: the next one shows at once.
    void BalloonTimeIsUp() {
        SendMessageW(main.Handle(), WM_TIMER, static_cast<WPARAM>(ControllerTimer::BalloonTimer), 0);
    }
    Application application;
    TFMain main{application, TestDataFolder()};
};

TEST_F(MainFormTest, StartsHiddenWithoutTaskbarButtonAndSettlesInTheTray) {
    HWND h = main.Handle();
    ASSERT_TRUE(IsWindow(h));
    EXPECT_EQ(FMain, &main);
    wchar_t className[64] = {}, caption[64] = {};
    GetClassNameW(h, className, 64);
    GetWindowTextW(h, caption, 64);
    EXPECT_STREQ(className, L"TFMain");
    EXPECT_STREQ(caption, L"FMain");
    RECT r{};
    GetWindowRect(h, &r);
    EXPECT_EQ(r.right - r.left, 0);
    EXPECT_EQ(r.bottom - r.top, 0);
    EXPECT_FALSE(IsWindowVisible(h));
    // No taskbar button: owned by the invisible application window, no WS_EX_APPWINDOW.
    EXPECT_EQ(GetWindow(h, GW_OWNER), application.Handle());
    EXPECT_FALSE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_FALSE(IsWindowVisible(application.Handle()));

    EXPECT_TRUE(main.Tray().Visible());
    EXPECT_EQ(main.Tray().BalloonTitle(), u"Vantory Note 1.32");
    EXPECT_EQ(main.Tray().BalloonText(), u"Vantory Note 1.32 is running. Right click on the icon for options.");
    EXPECT_EQ(main.Tray().BalloonIcon(), static_cast<DWORD>(NIIF_INFO));
    EXPECT_EQ(main.Tray().BalloonsShown(), 1u);
    EXPECT_TRUE(main.MouseHookInstalled());
    EXPECT_TRUE(main.WindowEventsInstalled());
    EXPECT_EQ(main.OpenDialog().Title, u"Select Vantory Note File to Import");
    EXPECT_EQ(main.OpenDialog().Filter, u"Vantory Note Export File (*.vnx)|*.vnx");
    // A name typed without an extension gets the one the filters show: an archive
    // saved as "notes" must be listed when it is imported.
    for (const FileDialog* dialog : {&main.OpenDialog(), &main.ExportDialog()->SaveDialog()}) {
        EXPECT_NE(dialog->Filter.find(u"|*." + dialog->DefaultExt), std::u16string::npos) << Utf8(dialog->Filter);
    }

    main.Destroy();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(main.Tray().Visible());
    EXPECT_FALSE(main.MouseHookInstalled());
    EXPECT_FALSE(main.WindowEventsInstalled());
    main.Destroy();  // a second shutdown does nothing
}

TEST_F(MainFormTest, OnlyTheAccessDeniedFailureIsShownAndAsAnErrorBalloon) {
    const std::u16string startup = main.Tray().BalloonText();
    struct Case {
        std::string message;
        bool shown;
    } cases[] = {
        {"TSNCreateWindowHandleAccessDeniedException", true},
        {"Capture: tsncreatewindowhandleaccessdeniedexception", true},
        {"System Error.  Code: 5.\nAccess is denied.", false},
        {"Failed to Load Stream", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        BalloonTimeIsUp();
        unsigned before = main.Tray().BalloonsShown();
        // Raised inside a window procedure of the program, as a failing capture would be.
        ThrowingWindow window(c.message);
        SendMessageW(window.Handle(), WM_APP, 0, 0);
        EXPECT_EQ(main.Tray().BalloonsShown(), before + (c.shown ? 1 : 0));
        if (c.shown) {
            EXPECT_EQ(main.Tray().BalloonIcon(), static_cast<DWORD>(NIIF_ERROR));
            EXPECT_EQ(main.Tray().BalloonText(),
                      u"The application you are trying to attach the note to seems to be running with admin "
                      u"privileges.\r\nIn order to attach notes to it, Vantory Note application must be started "
                      u"with admin privileges as well.");
            EXPECT_EQ(main.Tray().BalloonTitle(), u"Vantory Note 1.32");
        }
    }
    unsigned before = main.Tray().BalloonsShown();
    Guarded([] { throw 42; });  // not even an exception object: dropped
    EXPECT_EQ(main.Tray().BalloonsShown(), before);
    EXPECT_TRUE(IsWindow(main.Handle()));
}

// One balloon at a time: a notice waits for the one on screen, and a click on that
// balloon (which Wine's tray never sends; the shell's callback is sent here) makes way.
TEST_F(MainFormTest, ANoticeWaitsForTheBalloonOnScreenUntilItIsClickedOrItsTimeIsUp) {
    const std::u16string startup = main.Tray().BalloonText();
    EXPECT_TRUE(main.TimerEnabled(ControllerTimer::BalloonTimer));
    const unsigned before = main.Tray().BalloonsShown();
    ThrowingWindow window("TSNCreateWindowHandleAccessDeniedException");
    SendMessageW(window.Handle(), WM_APP, 0, 0);
    SendMessageW(window.Handle(), WM_APP, 0, 0);  // the same news waits once
    EXPECT_EQ(main.Tray().BalloonsShown(), before);
    EXPECT_EQ(main.Tray().BalloonText(), startup);

    SendMessageW(main.Tray().MessageWindow(), kTrayCallbackMessage, TrayIcon::kIconId, NIN_BALLOONUSERCLICK);
    EXPECT_EQ(main.Tray().BalloonsShown(), before + 1);
    EXPECT_EQ(main.Tray().BalloonIcon(), static_cast<DWORD>(NIIF_ERROR));
    BalloonTimeIsUp();
    EXPECT_EQ(main.Tray().BalloonsShown(), before + 1) << "nothing else was waiting";
    EXPECT_FALSE(main.TimerEnabled(ControllerTimer::BalloonTimer));
}

TEST_F(MainFormTest, NoRoomForNoteWindowsIsToldOnceAShortageAsAWarning) {
    main.Budget().SetQuota({note::kReserve.user + note::kNoteWindowCost.user, note::kDefaultQuota.gdi});
    // What a waiting note's tick does, twice a second.
    auto tick = [&] { Guarded([&] { if (!main.Budget().TakeNoteWindow()) throw note::NoRoomForWindow(); }); };
    tick();  // the one window there is room for
    BalloonTimeIsUp();
    const unsigned before = main.Tray().BalloonsShown();
    for (int i = 0; i < 4; ++i) tick();
    EXPECT_EQ(main.Tray().BalloonsShown(), before + 1);
    EXPECT_EQ(main.Tray().BalloonIcon(), static_cast<DWORD>(NIIF_WARNING));
    EXPECT_EQ(main.Tray().BalloonText(), kNoRoomBalloonText);
    EXPECT_EQ(main.Tray().BalloonTitle(), u"Vantory Note 1.32");

    main.Budget().Give(note::kNoteWindowCost);  // a note was deleted: the waiting one shows
    tick();
    BalloonTimeIsUp();
    tick();  // and the next one waits again: a new shortage
    EXPECT_EQ(main.Tray().BalloonsShown(), before + 2);
}

TEST_F(MainFormTest, ARemovedNoteLeavesTheListAndSchedulesASaveButShutdownDestroysQuietly) {
    std::vector<std::string> log;
    FakeJotlet a("a", log), b("b", log), c("c", log);
    main.AddJotlet(a);
    main.AddJotlet(b);
    main.AddJotlet(c);
    EXPECT_EQ(main.Jotlets(), (std::vector<Jotlet*>{&a, &b, &c}));
    EXPECT_FALSE(main.TimerEnabled(ControllerTimer::SaveTimer));

    b.DestroyedByItself();
    EXPECT_EQ(main.Jotlets(), (std::vector<Jotlet*>{&a, &c}));
    EXPECT_TRUE(main.TimerEnabled(ControllerTimer::SaveTimer)) << "closing a note must lead to a save";

    log.clear();
    main.Destroy();
    // Last position first; each notice cancelled before the note goes, so the
    // destructions schedule nothing.
    EXPECT_EQ(log, (std::vector<std::string>{"cancel c", "hide c", "destroy c", "cancel a", "hide a", "destroy a"}));
    EXPECT_TRUE(main.Jotlets().empty());
    EXPECT_FALSE(main.TimerEnabled(ControllerTimer::SaveTimer));
}

TEST_F(MainFormTest, ClosingTheMainWindowEndsTheMessageLoop) {
    PostMessageW(main.Handle(), WM_CLOSE, 0, 0);
    application.Run();  // returns once the loop has ended
    EXPECT_TRUE(application.Terminated());
    EXPECT_TRUE(IsWindow(main.Handle())) << "the controller lives until the shutdown after the loop";
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the quit message was left behind";
}

} // namespace
} // namespace vn
