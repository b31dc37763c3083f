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
// and rect.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <map>
#include <string>

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

} // namespace

int wmain(int argc, wchar_t** argv) {
    Lister lister;
    for (int i = 1; i < argc; ++i)
        if (std::wstring(argv[i]) == L"--children") lister.children = true;
    EnumWindows(&Lister::TopLevel, reinterpret_cast<LPARAM>(&lister));
    std::fflush(stdout);
    return 0;
}
