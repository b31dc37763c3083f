#pragma once
// Shared pieces of the tests of the running program's wiring: a data folder of
// the test's own, a started main controller on it, the notes it lists, and the
// program's own mouse hook fed with made-up events.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app_texts.h"
#include "app/application_win.h"
#include "app/main_form_win.h"
#include "note/sticky_note_win.h"
#include "platform/mouse_hook_win.h"
#include "platform/text_win.h"

#include "target_process_win.h"

namespace vn::test {

// An empty folder below the temporary folder, removed again at the end.
class DataFolder {
public:
    explicit DataFolder(const char* name) : path_(std::filesystem::temp_directory_path() / name) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~DataFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    // As the program names it: ending in a backslash.
    std::u16string Path() const { return U16(path_.wstring()) + u"\\"; }
    std::filesystem::path operator/(const char* relative) const { return path_ / relative; }

    void Write(const char* relative, const std::string& bytes) const {
        std::filesystem::create_directories((path_ / relative).parent_path());
        std::ofstream(path_ / relative, std::ios::binary) << bytes;
    }
    std::string Read(const char* relative) const {
        std::ifstream in(path_ / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool Exists(const char* relative) const { return std::filesystem::exists(path_ / relative); }

private:
    std::filesystem::path path_;
};

// The index file's lines as the program writes them (the test data is ASCII).
inline std::string IndexFile(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) bytes += line + "\r\n";
    return bytes;
}

inline std::string Rtf(const std::string& body) {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Tahoma;}}\\f0\\fs20 " + body + "\\par}";
}

// The main controller of a running program, started on a data folder of its own.
class WiringTest : public ::testing::Test {
protected:
    explicit WiringTest(const char* folderName) : folder(folderName) {}

    // Prepare the store on disk first, then start.
    void Start() {
        application.SetTitle(kApplicationTitle);
        application.Initialize();
        main = std::make_unique<TFMain>(application, folder.Path());
        main->Create();
    }
    void TearDown() override {
        if (main) main->Destroy();
    }

    TFStickyNote& Note(size_t position) const {
        auto* note = dynamic_cast<TFStickyNote*>(main->Jotlets().at(position));
        if (!note) throw std::logic_error("not a note window");
        return *note;
    }

    // Lets messages and timers run until `done` or the time is up.
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) const {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > timeoutMs) return false;
            PumpMessagesFor(10);
        }
        return true;
    }

    // One mouse event as the system hands it to the program's low-level hook.
    static void Hook(UINT message) {
        MSLLHOOKSTRUCT event{};
        GetCursorPos(&event.pt);
        MouseHook::MouseHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&event));
    }

    // Makes `window` the foreground window, as a click or Alt+Tab would.
    bool BringToFront(HWND window) const {
        SetForegroundWindow(window);
        return PumpUntil([&] { return GetForegroundWindow() == window; }, 3000);
    }

    DataFolder folder;
    Application application;
    std::unique_ptr<TFMain> main;
};

} // namespace vn::test
