// The checklist walk on a key release in a 100-line note, with the real rich-text
// control, against a key release that does not walk (an arrow key) in the same run.
// Runs under Wine (bench/checklist_bench.sh) or on Windows.
//   checklist_bench.exe [ROUNDS]
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "attach/note_placement.h"
#include "attach/stacking_order_win.h"
#include "attach/window_system_win.h"
#include "note/checklist.h"
#include "note/handle_budget.h"
#include "note/note_chrome_win.h"
#include "note/note_checklist_win.h"
#include "note/note_companion_win.h"
#include "note/note_host.h"
#include "note/rich_edit_win.h"
#include "note/sticky_note_win.h"
#include "platform/guarded.h"

namespace {

class BenchHost final : public vn::NoteHost {
public:
    BenchHost() { companion_.Create(); }
    bool SelectingCaptureWindow() const override { return false; }
    void SetSaveChangePending() override {}
    void ExportJotlets() override {}
    void ImportStickyNote() override {}
    vn::WindowSystem& TrackingWindows() override { return vn::TheWindowSystem(); }
    vn::NoteCompanionWindow& NoteCompanion() override { return companion_; }
    vn::NoteChrome& Chrome() override { return chrome_; }
    vn::note::HandleBudget& Budget() override { return budget_; }
    vn::StackingOrder& Stacking() override { return stacking_; }

private:
    vn::NoteCompanionWindow companion_;
    vn::NoteChrome chrome_;
    vn::note::HandleBudget budget_{vn::note::kDefaultQuota, {}};
    vn::StackingOrder stacking_{100};
};

// The walk's reads alone, against boxes that cost nothing: once as the note walks
// (line places read where a line is in one font) and once with a caret step for every
// line, as the walk did before, alternating in the same run so that the machine's load
// weighs on both alike.
class NoBoxes final : public vn::note::CheckBoxView {
public:
    void CreateBox(int, int) override {}
    void MoveBox(int, int) override {}
    void ShowBox(int, bool) override {}
    void TickBox(int, bool) override {}
    void ParkBodyArea(bool) override {}
};

class CaretStepsOnly final : public vn::note::ChecklistEditor {
public:
    explicit CaretStepsOnly(vn::note::ChecklistEditor& editor) : e_(editor) {}
    int LineCount() const override { return e_.LineCount(); }
    int LineStart(int line) const override { return e_.LineStart(line); }
    int SelStart() const override { return e_.SelStart(); }
    void SetSelStart(int start) override { e_.SetSelStart(start); }
    int SelLength() const override { return e_.SelLength(); }
    void SetSelLength(int length) override { e_.SetSelLength(length); }
    vn::note::CharAttributes SelAttributes() const override { return e_.SelAttributes(); }
    int SelSize() const override { return e_.SelSize(); }
    void SetSelAttributes(const vn::note::CharAttributes& a) override { e_.SetSelAttributes(a); }
    void FocusForWalk() override { e_.FocusForWalk(); }
    std::optional<int> CaretY() const override { return e_.CaretY(); }
    std::optional<vn::note::LinePlace> PlaceOfLine(int) const override { return std::nullopt; }

private:
    vn::note::ChecklistEditor& e_;
};

double NowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 200;
    vn::SetApplicationExceptionHandler([](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& x) {
            std::fprintf(stderr, "failure: %s\n", x.what());
        } catch (...) {
            std::fputs("failure\n", stderr);
        }
    });

    // A target window of the benchmark's own, and a note on it as "Add a Note" makes one.
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VnChecklistBenchTarget";
    RegisterClassW(&wc);
    HWND target = CreateWindowExW(0, wc.lpszClassName, L"Checklist bench target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  40, 40, 800, 600, nullptr, nullptr, wc.hInstance, nullptr);
    BenchHost host;
    auto note = std::make_unique<vn::TFStickyNote>(host, target);
    vn::PlaceNoteOnPickedWindow(vn::TheWindowSystem(), vn::ToWindowId(target), note->AsNewWindow());
    note->Show();
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 100; ++i) rtf += "line " + std::to_string(i) + " of the list\\par ";
    note->Editor().LoadBody(rtf + "}");
    note->UpdateLayout();
    SetForegroundWindow(note->Handle());
    note->Editor().SetFocus();
    Pump();
    HWND edit = note->Editor().Handle();

    if (std::getenv("VN_PROBE")) {
        // What one pass of the walk costs, call by call (100 calls each).
        auto& e = note->Editor();
        auto time = [&](const char* what, auto f) {
            const double t = NowMs();
            for (int i = 0; i < 100; ++i) f(i);
            std::printf("%-34s %.3f ms / 100\n", what, NowMs() - t);
        };
        POINT p;
        time("caret to a line start (EM_EXSETSEL)", [&](int i) { e.SetSelStart(e.LineStart(i)); });
        time("line start (EM_LINEINDEX)", [&](int i) { (void)e.LineStart(i); });
        // The walk puts its questions to the control's procedure; sent, each costs more.
        time("line start, sent (SendMessageW)",
             [&](int i) { (void)SendMessageW(e.Handle(), EM_LINEINDEX, static_cast<WPARAM>(i), 0); });
        time("size at the caret (EM_GETCHARFORMAT)", [&](int) { (void)e.SelSize(); });
        time("caret position (GetCaretPos)", [&](int) { (void)e.CaretPos(p); });
        time("character position (EM_POSFROMCHAR)", [&](int i) { (void)e.CharPos(e.LineStart(i), p); });
        time("one-font size of a line (ITextFont)",
             [&](int i) { (void)e.OneFontSize(e.LineStart(i), e.LineStart(i + 1)); });
        time("place of a line start, as the walk reads it", [&](int i) { (void)e.PlaceOfRowStart(i); });
    }
    const double coldStart = NowMs();
    SendMessageW(edit, WM_KEYUP, 'A', 0);  // the first walk makes the 100 boxes
    const double cold = NowMs() - coldStart;

    std::vector<double> walk, plain;
    for (int i = 0; i < rounds; ++i) {
        double t = NowMs();
        SendMessageW(edit, WM_KEYUP, 'A', 0);  // a typed letter: the walk runs
        walk.push_back(NowMs() - t);
        Pump();
        t = NowMs();
        SendMessageW(edit, WM_KEYUP, VK_LEFT, 0);  // an arrow: no walk
        plain.push_back(NowMs() - t);
        Pump();
    }
    std::vector<double> direct, stepped;
    {
        NoBoxes none;
        vn::note::CheckBoxes slots;
        for (int i = 0; i < rounds; ++i) {
            vn::NoteChecklistEditor editor(note->Editor(), [] { return true; });
            CaretStepsOnly steps(editor);
            double t = NowMs();
            slots.UpdateCheckBoxes(editor, none, false);
            direct.push_back(NowMs() - t);
            t = NowMs();
            slots.UpdateCheckBoxes(steps, none, false);
            stepped.push_back(NowMs() - t);
            Pump();
        }
    }
    const double w = Median(walk), p = Median(plain);
    std::printf("lines 100, rounds %d\n", rounds);
    std::printf("first walk (makes the boxes): %.2f ms\n", cold);
    std::printf("key release with the walk:    median %.3f ms\n", w);
    std::printf("key release without the walk: median %.3f ms\n", p);
    std::printf("ratio: %.1f\n", p > 0 ? w / p : 0.0);
    std::printf("reads of a walk, places read:  median %.3f ms\n", Median(direct));
    std::printf("reads of a walk, caret steps:  median %.3f ms\n", Median(stepped));
    note.reset();
    DestroyWindow(target);
    return w <= 10.0 ? 0 : 1;
}
