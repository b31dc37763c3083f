// vn_inspect: lists the windows of the Wine desktop it runs in, one JSON object a
// line, for the end-to-end scenarios. Started with the same WINEPREFIX as the
// program under test, so it sees the same desktop.
//
//   vn_inspect.exe            top-level windows
//   vn_inspect.exe --children top-level windows and, after each, its child windows
//
// Fields: hwnd, parent (children only), class, caption, owner, pid, exe, rect
// [left, top, right, bottom] in desktop coordinates, visible, style, exstyle,
// foreground; for a visible tooltip (a tray balloon, say) also tip_text and
// tip_title (empty where the tooltip cannot tell its title, as under Wine 8); for a visible popup menu (class "#32768") also items, each with text
// and rect; for a child window its control id, and for a button whether it is checked.
//
// Acting on the desktop, for what a person does by other means (the keyboard, the
// session) and for timing the program from inside Wine:
//
//   vn_inspect.exe --foreground HWND     brings a window to the foreground
//   vn_inspect.exe --set-text HWND TEXT  retitles a window (as a program retitling itself)
//   vn_inspect.exe --close CLASS         posts WM_CLOSE to the first window of that class
//   vn_inspect.exe --serve               reads such commands from stdin, one a line, the
//                                        arguments separated by tabs, and answers each
//                                        with one JSON line; also:
//     launch-ready EXE TIMEOUT_MS   starts the program (current directory: its folder) and
//                                   waits until its message loop runs: see LaunchReady
//     close-wait TIMEOUT_MS         posts WM_CLOSE to the last launched program's main
//                                   window and waits for the process to end
//     wait-exit TIMEOUT_MS          waits for the last launched program's end (after a kill)
//     list / list-children          the window list as above, then {"end": true}
//     move HWND X Y                 moves a window (SetWindowPos, size and z-order kept)
//     show HWND SW                  ShowWindowAsync(HWND, SW): 6 minimises, 9 restores
//     syscommand HWND SC            posts WM_SYSCOMMAND, as the title bar's buttons and the
//                                   window menu do (0xF020 minimises, 0xF120 restores)
//     text HWND                     the window's text by WM_GETTEXT (an edit control's
//                                   content, which the list does not show)
//     listview HWND                 a list view of another process: "columns" (header
//                                   text, display order and the item's lParam, where the
//                                   export dialog keeps its header check box) and "rows"
//                                   (cell texts, screen rectangle, state image:
//                                   1 unchecked, 2 checked, 0 none; selected)
//     computer-name                 GetComputerNameW, as the program names a new note's owner
//     post HWND MSG WPARAM LPARAM   posts a message (decimal numbers): what Wine's tray does
//                                   not send, such as a click on a balloon
//     focus X Y                     where the keys go: the foreground window, its thread's
//                                   active, focus and capture windows, and the window the
//                                   system finds at the point X Y with its top-level window
//     gaps HWND MS                  for MS milliseconds, sends WM_NULL to the window again
//                                   and again and answers the longest wait for its thread
//                                   to handle one ("longest_ms") and how many it handled:
//                                   how long the program's interface thread went without
//                                   looking at its messages (input included)
//     accessible HWND               what a screen reader reads from the window's client
//                                   object (AccessibleObjectFromWindow, in this process):
//                                   the object's name, role, state and rect, and its
//                                   "children" in the order it gives them, each with id
//                                   (0 for a child window's own object), name, role,
//                                   state and rect [left, top, width, height]
//     accessible-press HWND ID      the object's default action for child ID (0: itself)
//
// Exit code (and "ok" in an answer): 0 / true on success.
#include <windows.h>
#include <oleacc.h>
#include <psapi.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace {

std::map<DWORD, std::wstring> ProcessNames() {
    std::map<DWORD, std::wstring> names;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return names;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry))
        names[entry.th32ProcessID] = entry.szExeFile;
    CloseHandle(snapshot);
    return names;
}

std::string Utf8(const std::wstring& s) {
    if (s.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string Json(const std::wstring& s) {
    std::string out = "\"";
    for (unsigned char c : Utf8(s)) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof(buffer), "\\u%04x", c);
                out += buffer;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

// Texts of a tooltip window of another process: the messages that return them
// want pointers into the tooltip's own process, so the structures are placed there.
struct TipTexts {
    std::wstring title, text;
    bool ok = false;
};

TipTexts ReadTooltip(HWND tip, DWORD pid) {
    TipTexts result;
    constexpr size_t kChars = 1024;
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return result;
    size_t size = sizeof(TOOLINFOW) + sizeof(TTGETTITLE) + 2 * kChars * sizeof(wchar_t);
    auto* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    if (remote) {
        auto* remoteInfo = reinterpret_cast<TOOLINFOW*>(remote);
        auto* remoteTitle = reinterpret_cast<TTGETTITLE*>(remote + sizeof(TOOLINFOW));
        auto* remoteText = reinterpret_cast<wchar_t*>(remote + sizeof(TOOLINFOW) + sizeof(TTGETTITLE));
        wchar_t* remoteTitleText = remoteText + kChars;
        DWORD_PTR answer = 0;
        TOOLINFOW info{};
        info.cbSize = sizeof(info);
        WriteProcessMemory(process, remoteInfo, &info, sizeof(info), nullptr);
        if (SendMessageTimeoutW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(remoteInfo), SMTO_ABORTIFHUNG, 2000,
                                &answer) && answer) {
            ReadProcessMemory(process, remoteInfo, &info, sizeof(info), nullptr);
            info.lpszText = remoteText;
            wchar_t empty = 0;
            WriteProcessMemory(process, remoteText, &empty, sizeof(empty), nullptr);
            WriteProcessMemory(process, remoteInfo, &info, sizeof(info), nullptr);
            SendMessageTimeoutW(tip, TTM_GETTEXTW, kChars, reinterpret_cast<LPARAM>(remoteInfo), SMTO_ABORTIFHUNG,
                                2000, &answer);
            TTGETTITLE title{};
            title.dwSize = sizeof(title);
            title.cch = kChars;
            title.pszTitle = remoteTitleText;
            WriteProcessMemory(process, remoteTitleText, &empty, sizeof(empty), nullptr);
            WriteProcessMemory(process, remoteTitle, &title, sizeof(title), nullptr);
            SendMessageTimeoutW(tip, TTM_GETTITLE, 0, reinterpret_cast<LPARAM>(remoteTitle), SMTO_ABORTIFHUNG, 2000,
                                &answer);
            wchar_t buffer[kChars] = {};
            ReadProcessMemory(process, remoteText, buffer, sizeof(buffer) - sizeof(wchar_t), nullptr);
            result.text = buffer;
            wchar_t titleBuffer[kChars] = {};
            ReadProcessMemory(process, remoteTitleText, titleBuffer, sizeof(titleBuffer) - sizeof(wchar_t), nullptr);
            result.title = titleBuffer;
            result.ok = true;
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return result;
}

// Items of a popup menu window: its menu handle comes from MN_GETHMENU.
std::string MenuItems(HWND menuWindow) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(menuWindow, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) || !answer) return {};
    HMENU menu = reinterpret_cast<HMENU>(answer);
    int count = GetMenuItemCount(menu);
    if (count <= 0) return {};
    std::string items = "[";
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        RECT r{};
        GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r);
        if (i) items += ", ";
        items += "{\"text\": " + Json(text) + ", \"rect\": [" + std::to_string(r.left) + ", " +
                 std::to_string(r.top) + ", " + std::to_string(r.right) + ", " + std::to_string(r.bottom) + "]}";
    }
    return items + "]";
}

struct Lister {
    std::map<DWORD, std::wstring> names = ProcessNames();
    HWND foreground = GetForegroundWindow();
    bool children = false;

    void Print(HWND hwnd, HWND parent) {
        wchar_t className[256] = {};
        GetClassNameW(hwnd, className, 256);
        // InternalGetWindowText reads the stored caption without sending a message,
        // so a hung window cannot hang the inspector.
        wchar_t caption[1024] = {};
        InternalGetWindowText(hwnd, caption, 1024);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        RECT r{};
        GetWindowRect(hwnd, &r);
        auto exe = names.find(pid);
        std::string line = "{\"hwnd\": " + std::to_string(reinterpret_cast<uintptr_t>(hwnd));
        if (parent) line += ", \"parent\": " + std::to_string(reinterpret_cast<uintptr_t>(parent));
        line += ", \"class\": " + Json(className) + ", \"caption\": " + Json(caption) +
                ", \"owner\": " + std::to_string(reinterpret_cast<uintptr_t>(GetWindow(hwnd, GW_OWNER))) +
                ", \"pid\": " + std::to_string(pid) +
                ", \"exe\": " + Json(exe == names.end() ? std::wstring() : exe->second) + ", \"rect\": [" +
                std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
                std::to_string(r.bottom) + "]" + ", \"visible\": " + (IsWindowVisible(hwnd) ? "true" : "false") +
                ", \"style\": " + std::to_string(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE))) +
                ", \"exstyle\": " + std::to_string(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE))) +
                ", \"foreground\": " + (hwnd == foreground ? "true" : "false");
        bool visible = IsWindowVisible(hwnd);
        if (visible && std::wstring(className) == TOOLTIPS_CLASSW) {
            TipTexts tip = ReadTooltip(hwnd, pid);
            if (tip.ok) line += ", \"tip_title\": " + Json(tip.title) + ", \"tip_text\": " + Json(tip.text);
        }
        if (parent) {
            // Check boxes: their control id (a note's gutter box of line i is 1000 + i)
            // and whether they are ticked.
            line += ", \"id\": " + std::to_string(GetDlgCtrlID(hwnd));
            if (_wcsicmp(className, L"Button") == 0) {
                DWORD_PTR state = 0;
                if (SendMessageTimeoutW(hwnd, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 1000, &state))
                    line += std::string(", \"checked\": ") + (state == BST_CHECKED ? "true" : "false");
            }
        }
        if (visible && std::wstring(className) == L"#32768") {
            std::string items = MenuItems(hwnd);
            if (!items.empty()) line += ", \"items\": " + items;
        }
        line += "}\n";
        std::fputs(line.c_str(), stdout);
    }

    static BOOL CALLBACK Child(HWND hwnd, LPARAM self) {
        reinterpret_cast<Lister*>(self)->Print(hwnd, GetAncestor(hwnd, GA_PARENT));
        return TRUE;
    }

    static BOOL CALLBACK TopLevel(HWND hwnd, LPARAM self) {
        auto* lister = reinterpret_cast<Lister*>(self);
        lister->Print(hwnd, nullptr);
        if (lister->children) EnumChildWindows(hwnd, &Child, self);
        return TRUE;
    }
};

// --- acting ------------------------------------------------------------------------

HWND ParseWindow(const std::wstring& text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoull(text.c_str(), nullptr, 10)));
}

double NowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string Ms(double ms) {
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%.1f", ms);
    return buffer;
}

// The first top-level window of a process with this class (visible or not).
HWND FindProcessWindow(DWORD pid, const wchar_t* className, bool mustBeVisible = false) {
    struct Search {
        DWORD pid;
        const wchar_t* className;
        bool visible;
        HWND found;
    } search{pid, className, mustBeVisible, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            wchar_t name[256] = {};
            GetClassNameW(hwnd, name, 256);
            if (owner == s->pid && std::wcscmp(name, s->className) == 0 && (!s->visible || IsWindowVisible(hwnd))) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

template <class Probe>
bool PollUntil(double deadline, Probe probe) {
    while (!probe()) {
        if (NowMs() > deadline) return false;
        Sleep(1);
    }
    return true;
}

struct Launched {
    HANDLE process = nullptr;
    DWORD pid = 0;
};
Launched lastLaunched;

// The tray icon's callback message and the window that receives it.
constexpr UINT kTrayCallbackMessage = WM_USER + 1;
constexpr wchar_t kTrayReceiverClass[] = L"VnTrayIconWindow";

// Starts the program and waits until it is ready for the user: its controller's
// creation handler (tray icon, loading the stored notes, mouse hook) has returned and
// its message loop runs. An answer to a sent message is no proof of that: a thread
// that waits for the answer of a message it sent itself (the tray icon is added by
// a message to the shell) answers sent messages meanwhile. Posted messages, though,
// come only through the message loop: a right click posted to the tray icon opens the
// tray menu once the loop runs. The menu is then closed with Escape.
// Answer: pid, window_ms (the controller's window exists), ready_ms, both from the
// moment before CreateProcessW.
std::string LaunchReady(const std::wstring& exe, double timeoutMs) {
    std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    double start = NowMs();
    double deadline = start + timeoutMs;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info))
        return "{\"ok\": false, \"error\": \"CreateProcessW failed\"}";
    CloseHandle(info.hThread);
    if (lastLaunched.process) CloseHandle(lastLaunched.process);
    lastLaunched = {info.hProcess, info.dwProcessId};
    std::string pid = std::to_string(info.dwProcessId);

    HWND main = nullptr;
    if (!PollUntil(deadline, [&] { return (main = FindProcessWindow(info.dwProcessId, L"TFMain")) != nullptr; }))
        return "{\"ok\": false, \"pid\": " + pid + ", \"error\": \"no main window\"}";
    double windowMs = NowMs() - start;
    HWND tray = nullptr;
    if (!PollUntil(deadline, [&] {
            return (tray = FindProcessWindow(info.dwProcessId, kTrayReceiverClass)) != nullptr;
        }))
        return "{\"ok\": false, \"pid\": " + pid + ", \"error\": \"no tray icon window\"}";
    PostMessageW(tray, kTrayCallbackMessage, 0, WM_RBUTTONUP);
    HWND menu = nullptr;
    if (!PollUntil(deadline, [&] { return (menu = FindProcessWindow(info.dwProcessId, L"#32768", true)) != nullptr; }))
        return "{\"ok\": false, \"pid\": " + pid + ", \"error\": \"the tray menu did not open\"}";
    double readyMs = NowMs() - start;
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    if (!PollUntil(deadline, [&] { return FindProcessWindow(info.dwProcessId, L"#32768", true) == nullptr; }))
        return "{\"ok\": false, \"pid\": " + pid + ", \"error\": \"the tray menu did not close\"}";
    return "{\"ok\": true, \"pid\": " + pid + ", \"window_ms\": " + Ms(windowMs) + ", \"ready_ms\": " +
           Ms(readyMs) + "}";
}

// Posts WM_CLOSE to the launched program's controller and waits for its end.
std::string CloseWait(double timeoutMs) {
    if (!lastLaunched.process) return "{\"ok\": false, \"error\": \"nothing launched\"}";
    HWND main = FindProcessWindow(lastLaunched.pid, L"TFMain");
    if (!main) return "{\"ok\": false, \"error\": \"no main window\"}";
    double start = NowMs();
    PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(lastLaunched.process, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
        return "{\"ok\": false, \"error\": \"the program did not end\"}";
    double exitMs = NowMs() - start;
    DWORD code = 0;
    GetExitCodeProcess(lastLaunched.process, &code);
    return "{\"ok\": true, \"exit_ms\": " + Ms(exitMs) + ", \"exit_code\": " + std::to_string(code) + "}";
}

std::string Ok(bool ok) { return ok ? "{\"ok\": true}" : "{\"ok\": false}"; }

// Memory in another process for the list view and header messages that take pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) memory_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    bool Ok() const { return memory_ != nullptr; }
    char* At(size_t offset) const { return static_cast<char*>(memory_) + offset; }
    bool Write(size_t offset, const void* data, size_t size) const {
        return WriteProcessMemory(process_, At(offset), data, size, nullptr);
    }
    bool Read(size_t offset, void* data, size_t size) const {
        return ReadProcessMemory(process_, At(offset), data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* memory_ = nullptr;
    size_t size_;
};

std::string ListView(HWND list) {
    constexpr size_t kTextOffset = 512;
    constexpr int kTextChars = 1024;
    RemoteBuffer remote(list, kTextOffset + kTextChars * sizeof(wchar_t));
    if (!IsWindow(list) || !remote.Ok()) return Ok(false);
    auto remoteText = [&] {
        wchar_t text[kTextChars] = {};
        remote.Read(kTextOffset, text, sizeof(text) - sizeof(wchar_t));
        return std::wstring(text);
    };
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    std::string json = "{\"ok\": true, \"columns\": [";
    for (int c = 0; c < columns; ++c) {
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_LPARAM | HDI_ORDER;
        item.pszText = reinterpret_cast<wchar_t*>(remote.At(kTextOffset));
        item.cchTextMax = kTextChars;
        remote.Write(kTextOffset, L"", sizeof(wchar_t));
        remote.Write(0, &item, sizeof(item));
        SendMessageW(header, HDM_GETITEMW, c, reinterpret_cast<LPARAM>(remote.At(0)));
        remote.Read(0, &item, sizeof(item));
        json += std::string(c ? ", " : "") + "{\"text\": " + Json(remoteText()) +
                ", \"order\": " + std::to_string(item.iOrder) + ", \"lparam\": " + std::to_string(item.lParam) + "}";
    }
    json += "], \"rows\": [";
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < rows; ++r) {
        json += std::string(r ? ", " : "") + "{\"texts\": [";
        for (int c = 0; c < columns; ++c) {
            LVITEMW item{};
            item.iSubItem = c;
            item.pszText = reinterpret_cast<wchar_t*>(remote.At(kTextOffset));
            item.cchTextMax = kTextChars;
            remote.Write(kTextOffset, L"", sizeof(wchar_t));
            remote.Write(0, &item, sizeof(item));
            SendMessageW(list, LVM_GETITEMTEXTW, r, reinterpret_cast<LPARAM>(remote.At(0)));
            json += std::string(c ? ", " : "") + Json(remoteText());
        }
        const UINT state = static_cast<UINT>(
            SendMessageW(list, LVM_GETITEMSTATE, r, LVIS_STATEIMAGEMASK | LVIS_SELECTED));
        RECT bounds{};
        bounds.left = LVIR_BOUNDS;
        remote.Write(0, &bounds, sizeof(bounds));
        SendMessageW(list, LVM_GETITEMRECT, r, reinterpret_cast<LPARAM>(remote.At(0)));
        remote.Read(0, &bounds, sizeof(bounds));
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&bounds), 2);
        json += "], \"rect\": [" + std::to_string(bounds.left) + ", " + std::to_string(bounds.top) + ", " +
                std::to_string(bounds.right) + ", " + std::to_string(bounds.bottom) + "]" +
                ", \"check\": " + std::to_string((state & LVIS_STATEIMAGEMASK) >> 12) +
                ", \"selected\": " + ((state & LVIS_SELECTED) ? "true" : "false") + "}";
    }
    return json + "]}";
}

bool Foreground(HWND hwnd) { return IsWindow(hwnd) && SetForegroundWindow(hwnd); }

bool SetText(HWND hwnd, const std::wstring& text) {
    DWORD_PTR answer = 0;
    return IsWindow(hwnd) && SendMessageTimeoutW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                                 SMTO_ABORTIFHUNG, 5000, &answer) && answer;
}

bool Close(const std::wstring& className) {
    HWND hwnd = FindWindowW(className.c_str(), nullptr);
    return hwnd && PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

BOOL CALLBACK CountChildren(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

struct WindowCount {
    DWORD pid;
    int windows = 0;
};

BOOL CALLBACK CountWindowsOf(HWND hwnd, LPARAM param) {
    auto* count = reinterpret_cast<WindowCount*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != count->pid) return TRUE;
    ++count->windows;
    EnumChildWindows(hwnd, &CountChildren, reinterpret_cast<LPARAM>(&count->windows));
    return TRUE;
}

// Kernel handles of a process from the system's handle table (Wine answers
// GetProcessHandleCount for another process with 0, but keeps this table).
DWORD HandleTableCount(DWORD pid) {
    struct Entry {
        USHORT process;
        USHORT creatorBackTraceIndex;
        UCHAR objectType;
        UCHAR attributes;
        USHORT handle;
        PVOID object;
        ULONG access;
    };
    struct Table {
        ULONG count;
        Entry entries[1];
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    static const auto query =
        reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    constexpr ULONG kSystemHandleInformation = 16;
    std::vector<unsigned char> buffer(1 << 20);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) break;
        if (buffer.size() >= (64u << 20)) return 0;
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
    }
    const auto* table = reinterpret_cast<const Table*>(buffer.data());
    DWORD count = 0;
    for (ULONG i = 0; i < table->count; ++i)
        if (table->entries[i].process == static_cast<USHORT>(pid)) ++count;
    return count;
}

// What a process holds: its GUI objects as the system counts them (Wine answers 0),
// its windows (top-level and children, the USER objects one can see from outside),
// its kernel handles and its private memory.
std::string Resources(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return Ok(false);
    DWORD handles = 0;
    if (!GetProcessHandleCount(process, &handles) || handles == 0) handles = HandleTableCount(pid);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
    WindowCount windows{pid};
    EnumWindows(&CountWindowsOf, reinterpret_cast<LPARAM>(&windows));
    std::string json = "{\"ok\": true, \"gdi\": " + std::to_string(GetGuiResources(process, GR_GDIOBJECTS)) +
                       ", \"user\": " + std::to_string(GetGuiResources(process, GR_USEROBJECTS)) +
                       ", \"windows\": " + std::to_string(windows.windows) +
                       ", \"handles\": " + std::to_string(handles) +
                       ", \"private\": " + std::to_string(memory.PrivateUsage) +
                       ", \"working_set\": " + std::to_string(memory.WorkingSetSize) + "}";
    CloseHandle(process);
    return json;
}

// Where the keyboard goes and what is under a point: the foreground window, the
// active and focused windows of its thread (the focus of another thread cannot be
// read with GetFocus), and the window the system finds at X Y.
std::string Focus(int x, int y) {
    auto number = [](HWND h) { return std::to_string(reinterpret_cast<uintptr_t>(h)); };
    HWND foreground = GetForegroundWindow();
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    if (thread) GetGUIThreadInfo(thread, &info);
    HWND at = WindowFromPoint(POINT{x, y});
    return "{\"ok\": true, \"foreground\": " + number(foreground) + ", \"active\": " + number(info.hwndActive) +
           ", \"focus\": " + number(info.hwndFocus) + ", \"capture\": " + number(info.hwndCapture) +
           ", \"at\": " + number(at) + ", \"at_root\": " + number(at ? GetAncestor(at, GA_ROOT) : nullptr) + "}";
}

// One command with its arguments; the answer line.
std::string Gaps(HWND window, int ms) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    double longest = 0;
    long handled = 0;
    while (Clock::now() < end) {
        const auto sent = Clock::now();
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) return Ok(false);
        longest = std::max(longest, std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
        ++handled;
        Sleep(1);
    }
    return "{\"ok\": true, \"longest_ms\": " + std::to_string(longest) + ", \"handled\": " + std::to_string(handled) + "}";
}

// The client object of a window of another process, as a screen reader asks for it.
// The interface id comes from the declaration: the import library's IID_IAccessible
// is a jump stub, not the id.
IAccessible* ClientObject(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return nullptr;
    return object;
}

VARIANT ChildId(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// "name", "role", "state" and "rect" of one child of an object, as JSON fields.
std::string Described(IAccessible* object, long id) {
    const VARIANT child = ChildId(id);
    BSTR name = nullptr;
    std::wstring text;
    if (SUCCEEDED(object->get_accName(child, &name)) && name) text.assign(name, SysStringLen(name));
    SysFreeString(name);
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    const long roleValue = SUCCEEDED(object->get_accRole(child, &role)) && role.vt == VT_I4 ? role.lVal : -1;
    const long stateValue = SUCCEEDED(object->get_accState(child, &state)) && state.vt == VT_I4 ? state.lVal : -1;
    VariantClear(&role);
    VariantClear(&state);
    long left = 0, top = 0, width = 0, height = 0;
    object->accLocation(&left, &top, &width, &height, child);
    return "\"name\": " + Json(text) + ", \"role\": " + std::to_string(roleValue) + ", \"state\": " +
           std::to_string(stateValue) + ", \"rect\": [" + std::to_string(left) + ", " + std::to_string(top) + ", " +
           std::to_string(width) + ", " + std::to_string(height) + "]";
}

std::string Accessible(HWND window) {
    IAccessible* object = ClientObject(window);
    if (!object) return Ok(false);
    std::string answer = "{\"ok\": true, " + Described(object, CHILDID_SELF) + ", \"children\": [";
    long count = 0;
    object->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<size_t>(std::max(count, 0L)));
    long got = 0;
    if (count > 0) AccessibleChildren(object, 0, count, children.data(), &got);
    for (long i = 0; i < got; ++i) {
        VARIANT& child = children[static_cast<size_t>(i)];
        if (i) answer += ", ";
        if (child.vt == VT_I4) {
            answer += "{\"id\": " + std::to_string(child.lVal) + ", " + Described(object, child.lVal) + "}";
        } else if (child.vt == VT_DISPATCH && child.pdispVal) {
            IAccessible* own = nullptr;
            child.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&own));
            answer += own ? "{\"id\": 0, " + Described(own, CHILDID_SELF) + "}" : "{\"id\": 0}";
            if (own) own->Release();
        } else {
            answer += "{}";
        }
        VariantClear(&child);
    }
    object->Release();
    return answer + "]}";
}

bool AccessiblePress(HWND window, long id) {
    IAccessible* object = ClientObject(window);
    if (!object) return false;
    const bool pressed = object->accDoDefaultAction(ChildId(id)) == S_OK;
    object->Release();
    return pressed;
}

std::string Run(const std::vector<std::wstring>& args) {
    auto arg = [&](size_t i) { return i < args.size() ? args[i] : std::wstring(); };
    const std::wstring& command = args.empty() ? std::wstring() : args[0];
    if (command == L"foreground") return Ok(Foreground(ParseWindow(arg(1))));
    if (command == L"set-text") return Ok(SetText(ParseWindow(arg(1)), arg(2)));
    if (command == L"close") return Ok(Close(arg(1)));
    // paste HWND: the edit control pastes what the clipboard holds, as its Paste does.
    if (command == L"paste")
        return Ok(SendMessageTimeoutW(ParseWindow(arg(1)), WM_PASTE, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr) != 0);
    if (command == L"close-window") return Ok(PostMessageW(ParseWindow(arg(1)), WM_CLOSE, 0, 0));
    // post HWND MSG WPARAM LPARAM (decimal): what the system would post, where Wine does not
    // (the tray's balloon click, say).
    if (command == L"post")
        return Ok(PostMessageW(ParseWindow(arg(1)), static_cast<UINT>(std::wcstoul(arg(2).c_str(), nullptr, 10)),
                               std::wcstoull(arg(3).c_str(), nullptr, 10),
                               static_cast<LPARAM>(std::wcstoll(arg(4).c_str(), nullptr, 10))));
    if (command == L"launch-ready") return LaunchReady(arg(1), std::wcstod(arg(2).c_str(), nullptr));
    if (command == L"close-wait") return CloseWait(std::wcstod(arg(1).c_str(), nullptr));
    if (command == L"wait-exit")
        return Ok(lastLaunched.process && WaitForSingleObject(lastLaunched.process, static_cast<DWORD>(std::wcstod(
                                              arg(1).c_str(), nullptr))) == WAIT_OBJECT_0);
    if (command == L"move") {
        // move HWND X Y [WIDTH HEIGHT]: with a size, the window is also resized.
        const bool sized = !arg(4).empty();
        return Ok(SetWindowPos(ParseWindow(arg(1)), nullptr, _wtoi(arg(2).c_str()), _wtoi(arg(3).c_str()),
                               _wtoi(arg(4).c_str()), _wtoi(arg(5).c_str()),
                               (sized ? 0 : SWP_NOSIZE) | SWP_NOZORDER | SWP_NOACTIVATE));
    }
    if (command == L"text") {
        HWND hwnd = ParseWindow(arg(1));
        DWORD_PTR length = 0;
        if (!IsWindow(hwnd) ||
            !SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
            return Ok(false);
        std::wstring text(length + 1, L'\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                                 SMTO_ABORTIFHUNG, 5000, &copied))
            return Ok(false);
        text.resize(copied);
        return "{\"ok\": true, \"text\": " + Json(text) + "}";
    }
    if (command == L"listview") return ListView(ParseWindow(arg(1)));
    if (command == L"accessible") return Accessible(ParseWindow(arg(1)));
    if (command == L"accessible-press") return Ok(AccessiblePress(ParseWindow(arg(1)), _wtoi(arg(2).c_str())));
    if (command == L"gaps") return Gaps(ParseWindow(arg(1)), _wtoi(arg(2).c_str()));
    if (command == L"focus") return Focus(_wtoi(arg(1).c_str()), _wtoi(arg(2).c_str()));
    if (command == L"resources") return Resources(std::wcstoul(arg(1).c_str(), nullptr, 0));
    if (command == L"computer-name") {
        wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
        DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
        if (!GetComputerNameW(name, &size)) return Ok(false);
        return "{\"ok\": true, \"name\": " + Json(name) + "}";
    }
    if (command == L"syscommand")
        return Ok(PostMessageW(ParseWindow(arg(1)), WM_SYSCOMMAND, std::wcstoul(arg(2).c_str(), nullptr, 0), 0));
    if (command == L"show") return Ok(ShowWindowAsync(ParseWindow(arg(1)), _wtoi(arg(2).c_str())));
    if (command == L"list" || command == L"list-children") {
        Lister lister;
        lister.children = command == L"list-children";
        EnumWindows(&Lister::TopLevel, reinterpret_cast<LPARAM>(&lister));
        return "{\"end\": true}";
    }
    return "{\"ok\": false, \"error\": \"unknown command\"}";
}

std::wstring FromUtf8(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

int Serve() {
    char buffer[8192];
    while (std::fgets(buffer, sizeof(buffer), stdin)) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        std::vector<std::wstring> args;
        size_t from = 0;
        for (;;) {
            size_t tab = line.find('\t', from);
            args.push_back(FromUtf8(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from)));
            if (tab == std::string::npos) break;
            from = tab + 1;
        }
        std::string answer = Run(args) + "\n";
        std::fputs(answer.c_str(), stdout);
        std::fflush(stdout);
    }
    return 0;
}

LRESULT CALLBACK TargetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // One close ends the process and every window with it at once.
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// --targets COUNT PREFIX SUFFIX: COUNT small visible windows captioned
// PREFIX + i + SUFFIX, tiled over the desktop, for notes to stick to (the
// benchmarks need more target windows than Notepads are quick to open).
int Targets(int count, const std::wstring& prefix, const std::wstring& suffix) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VnBenchTarget";
    RegisterClassW(&wc);
    for (int i = 0; i < count; ++i) {
        const std::wstring caption = prefix + std::to_wstring(i) + suffix;
        if (!CreateWindowExW(0, wc.lpszClassName, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             (i % 10) * 120, (i / 10 % 10) * 70, 240, 160, nullptr, nullptr, wc.hInstance, nullptr))
            return 2;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    // A screen reader's questions (accessible) are COM calls into the program.
    CoInitialize(nullptr);
    if (!args.empty() && args[0] == L"--serve") return Serve();
    if (args.size() == 4 && args[0] == L"--targets") return Targets(_wtoi(args[1].c_str()), args[2], args[3]);
    if (!args.empty() && args[0].rfind(L"--", 0) == 0 && args[0] != L"--children") {
        args[0] = args[0].substr(2);
        std::string answer = Run(args);
        std::fputs((answer + "\n").c_str(), stdout);
        return answer.rfind("{\"ok\": true", 0) == 0 ? 0 : 1;
    }
    Lister lister;
    lister.children = !args.empty() && args[0] == L"--children";
    EnumWindows(&Lister::TopLevel, reinterpret_cast<LPARAM>(&lister));
    std::fflush(stdout);
    return 0;
}
