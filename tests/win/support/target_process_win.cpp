#include "target_process_win.h"

#include <cstdio>
#include <stdexcept>

#include "child_roles_win.h"

namespace vn::test {
namespace {

constexpr wchar_t kTargetClass[] = L"VnAttachTestTarget";
// Posted to a window of the child: it sleeps wParam milliseconds.
constexpr UINT kHangMessage = WM_APP + 9;

// Captions travel as hex so that blanks, tabs and long texts survive the command line.
std::wstring ToHex(const std::u16string& s) {
    std::wstring out = L"x";
    wchar_t digits[5];
    for (char16_t c : s) {
        swprintf(digits, 5, L"%04x", static_cast<unsigned>(c));
        out += digits;
    }
    return out;
}

std::wstring FromHex(const wchar_t* hex) {
    std::wstring out;
    for (const wchar_t* p = hex + 1; p[0] && p[1] && p[2] && p[3]; p += 4)
        out += static_cast<wchar_t>(std::wcstoul(std::wstring(p, 4).c_str(), nullptr, 16));
    return out;
}

LRESULT CALLBACK TargetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Ending the process takes every window with it at once; destroying them one by
    // one makes Wine wait for a window manager that Xvfb does not have.
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    if (message == kHangMessage) {
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int RunTargets(int argc, wchar_t** argv) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTargetClass;
    RegisterClassW(&wc);
    for (int i = 0; i < argc; ++i) {
        HWND h = CreateWindowExW(0, kTargetClass, FromHex(argv[i]).c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 60 + 20 * i, 80 + 20 * i, 300 + i, 200, nullptr, nullptr, wc.hInstance, nullptr);
        if (!h) return 2;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

const bool registered = RegisterChildRole(L"attach-targets", RunTargets);

struct Search {
    DWORD processId;
    std::vector<HWND>* windows;
};

BOOL CALLBACK CollectWindows(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (pid != search->processId || std::wstring(cls) != kTargetClass) return TRUE;
    RECT r{};
    GetWindowRect(hwnd, &r);
    size_t index = static_cast<size_t>(r.right - r.left - 300);
    if (index < search->windows->size()) (*search->windows)[index] = hwnd;
    return TRUE;
}

} // namespace

void PumpMessagesFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (milliseconds) Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

TargetProcess::TargetProcess(const std::vector<std::u16string>& captions) {
    (void)registered;
    std::wstring commandLine = L"\"" + SelfPath() + L"\" --child attach-targets";
    for (const auto& caption : captions) commandLine += L" " + ToHex(caption);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_))
        throw std::runtime_error("cannot start the target process (error " + std::to_string(GetLastError()) + ")");
    windows_.assign(captions.size(), nullptr);
    DWORD start = GetTickCount();
    for (;;) {
        Search search{process_.dwProcessId, &windows_};
        EnumWindows(CollectWindows, reinterpret_cast<LPARAM>(&search));
        bool all = true;
        for (HWND h : windows_) all = all && h;
        if (all) break;
        if (GetTickCount() - start > 15000) {
            Quit();
            throw std::runtime_error("the target process shows no windows");
        }
        Sleep(20);
    }
}

TargetProcess::~TargetProcess() { Quit(); }

void TargetProcess::Hang(DWORD milliseconds) { PostMessageW(windows_.at(0), kHangMessage, milliseconds, 0); }

void TargetProcess::Kill() {
    if (!process_.hProcess) return;
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 10000);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    process_ = {};
}

void TargetProcess::Quit() {
    if (!process_.hProcess) return;
    for (HWND h : windows_)
        if (h) PostMessageW(h, WM_CLOSE, 0, 0);
    // Closing the child's windows moves the activation, which the system announces to
    // this thread's windows too: keep answering while waiting.
    DWORD start = GetTickCount();
    while (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > 10000) {
            TerminateProcess(process_.hProcess, 1);
            break;
        }
        MsgWaitForMultipleObjects(1, &process_.hProcess, FALSE, 50, QS_ALLINPUT);
        PumpMessagesFor(0);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    process_ = {};
}

} // namespace vn::test
