// vn_win_tests.exe --child all-notes-timing [NOTES] [KEYSTROKES]: the All Notes
// window's figures in one run with NOTES stored notes of about 4 KB (5,000 by
// default), as JSON: the start until ready, the reading of every search text after
// it, the window's first and later opening, each keystroke of typed searches until
// the list and the preview are drawn, and the memory the search text costs per note.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "child_roles_win.h"
#include "wiring_fixture_win.h"

namespace vn::test {
namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

// About 4 KB of RTF: sixty lines of words, one of them the note's own ("idNNNN").
std::string Body(int note, std::mt19937& random) {
    static const char* const kWords[] = {"meeting", "budget",  "call",    "stamps",  "invoice", "report", "review",
                                         "plumber", "garden",  "Übersicht", "draft", "project", "deadline",
                                         "lunch",   "travel",  "ticket",  "office",  "printer", "coffee", "notes"};
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Tahoma;}}\\f0\\fs20 ";
    rtf += "id" + std::to_string(note) + "\\par ";
    while (rtf.size() < 4000) {
        for (int w = 0; w < 9; ++w) {
            std::string word = kWords[random() % std::size(kWords)];
            if (word == "Übersicht") word = "\\'dcbersicht";
            rtf += word + (w == 8 ? "" : " ");
        }
        rtf += "\\par ";
    }
    return rtf + "}";
}

void Paint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

std::string Percentiles(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    char text[128];
    std::snprintf(text, sizeof(text), "{\"count\": %zu, \"median\": %.1f, \"p95\": %.1f, \"max\": %.1f}", ms.size(),
                  ms[ms.size() / 2], ms[ms.size() * 95 / 100], ms.back());
    return text;
}

int AllNotesTiming(int argc, wchar_t** argv) {
    const int count = argc > 0 ? _wtoi(argv[0]) : 5000;
    DataFolder folder("vn-all-notes-timing");
    std::mt19937 random(7);
    std::string index;
    for (int i = 0; i < count; ++i) {
        const std::string file = "Information\\" + std::to_string(i) + ".txt";
        folder.Write(file.c_str(), Body(i, random));
        index += "notepad.exe|n" + std::to_string(i) + ".txt - Notepad=PC-1|12/" + std::to_string(1 + i % 28) +
                 "/2026 9:00:00 AM|" + file + "|\r\n";
    }
    folder.Write("Information\\Jotlets.txt", index);

    Application application;
    application.SetTitle(kApplicationTitle);
    application.Initialize();
    TFMain main(application, folder.Path());
    auto start = Clock::now();
    main.Create();
    const double readyMs = Since(start);
    start = Clock::now();
    while (main.SearchTexts().Pending() > 0) PumpMessagesFor(5);
    const double textsMs = Since(start);
    // What the upkeep adds to the start: each note queued for reading once.
    NoteSearchTexts queue(SystemCodePage());
    start = Clock::now();
    for (Jotlet* note : main.Jotlets()) queue.Changed(*note);
    const double upkeepMs = Since(start);

    start = Clock::now();
    main.OpenAllNotes();
    AllNotesWindow& window = *main.AllNotes();
    Paint(window.Handle());
    const double firstOpenMs = Since(start);
    std::vector<double> laterOpens;
    for (int i = 0; i < 5; ++i) {
        window.Close();
        PumpMessagesFor(20);
        start = Clock::now();
        main.OpenAllNotes();
        Paint(window.Handle());
        laterOpens.push_back(Since(start));
    }

    // Typed one key at a time, as a person types: a rare word, a common one, two
    // words, an accent-free spelling, and erasing back to nothing.
    std::vector<std::u16string> typed;
    for (const std::u16string query : {u"id4321", u"plumber", u"budget stamps", u"ubersicht"}) {
        for (size_t n = 1; n <= query.size(); ++n) typed.push_back(query.substr(0, n));
        for (size_t n = query.size(); n-- > 0;) typed.push_back(query.substr(0, n));
    }
    std::vector<double> keystrokes, work, filters, repaints;
    for (const std::u16string& text : typed) {
        start = Clock::now();
        SetWindowTextW(window.SearchBox(), W(text));
        work.push_back(Since(start));
        Paint(window.Handle());
        keystrokes.push_back(Since(start));
        // The baseline of this machine at this moment: the same window drawn again
        // with nothing changed.
        start = Clock::now();
        InvalidateRect(window.Handle(), nullptr, TRUE);
        RedrawWindow(window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        repaints.push_back(Since(start));
    }
    // The index's part of it, alone.
    for (const std::u16string& text : typed) {
        start = Clock::now();
        main.SearchTexts().Index().Filter(SearchQuery(text));
        filters.push_back(Since(start));
    }
    std::printf("{\"notes\": %d, \"ready_ms\": %.1f, \"upkeep_in_start_ms\": %.2f, \"texts_read_after_ready_ms\": %.1f, "
                "\"first_open_ms\": %.1f, "
                "\"later_open_ms\": %s, \"keystroke_ms\": %s, \"keystroke_before_drawing_ms\": %s, "
                "\"index_filter_ms\": %s, \"redraw_unchanged_ms\": %s, \"search_bytes_per_note\": %zu}\n",
                count, readyMs, upkeepMs, textsMs, firstOpenMs, Percentiles(laterOpens).c_str(), Percentiles(keystrokes).c_str(),
                Percentiles(work).c_str(), Percentiles(filters).c_str(), Percentiles(repaints).c_str(),
                main.SearchTexts().BytesPerNote());
    std::fflush(stdout);
    main.Destroy();
    return 0;
}

const bool registered = RegisterChildRole(L"all-notes-timing", AllNotesTiming);

} // namespace
} // namespace vn::test
