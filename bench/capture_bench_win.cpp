// The capture half of a store save with the real rich-text control: how long the
// interface thread takes to take the bodies of N notes that have an editor (a note
// without one hands over the bytes it read, which costs next to nothing): an editor made
// for a stored note hands over the body file it took until its content changes, so
// only the bodies that changed are streamed out.
// Runs under Wine or on Windows: cmake --build --preset win --target capture_bench,
// then scripts/run-wine.sh build/win/capture_bench.exe [RUNS].
//   capture_bench.exe [RUNS]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "note/rich_edit_win.h"

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(2, _wtoi(argv[1])) : 5;
    HWND parent = CreateWindowExW(0, L"STATIC", L"capture", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    if (!parent) return 1;
    std::string body = "{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs16 ";
    for (int line = 0; line < 40; ++line) body += "A line of a note that a person typed, line " + std::to_string(line) + "\\par ";
    body += "}";
    for (int count : {100, 1000}) {
        std::vector<std::unique_ptr<vn::RichEdit>> editors;
        for (int i = 0; i < count; ++i) {
            editors.push_back(std::make_unique<vn::RichEdit>(vn::RichEdit::Events{}));
            // As at start: a stored note is filled before its window is made.
            editors.back()->LoadBody(body);
            editors.back()->Create(parent, 0, 0, 300, 200);
        }
        std::vector<double> times;
        size_t bytes = 0;
        for (int run = 0; run < runs; ++run) {
            const auto t0 = std::chrono::steady_clock::now();
            bytes = 0;
            for (auto& editor : editors) bytes += editor->SaveRtf().size();
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        }
        const double first = times.front();
        std::sort(times.begin() + 1, times.end());
        const double again = times.size() > 1 ? times[1 + (times.size() - 1) / 2] : first;
        std::printf("%5d notes with an editor (%zu bytes of RTF): first capture %8.1f ms (%.3f ms a note), "
                    "nothing changed since %6.1f ms (median of %d)\n",
                    count, bytes, first, first / count, again, runs - 1);
        editors.front()->LoadBody(body + " ");
        const auto t0 = std::chrono::steady_clock::now();
        for (auto& editor : editors) editor->SaveRtf();
        std::printf("%5d notes, one changed: capture %6.1f ms\n", count,
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    return 0;
}
