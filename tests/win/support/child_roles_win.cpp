#include "child_roles_win.h"

#include <windows.h>

#include <map>

namespace vn::test {
namespace {
std::map<std::wstring, ChildRole>& Roles() {
    static std::map<std::wstring, ChildRole> roles;
    return roles;
}
} // namespace

bool RegisterChildRole(const std::wstring& name, ChildRole role) {
    Roles()[name] = std::move(role);
    return true;
}

int RunChildRole(const std::wstring& name, int argc, wchar_t** argv) {
    auto it = Roles().find(name);
    if (it == Roles().end()) return 99;
    return it->second(argc, argv);
}

std::wstring SelfPath() {
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    return std::wstring(buffer, n);
}

UniqueKernelHandle StartChildRole(const std::wstring& role, const std::vector<std::wstring>& args) {
    std::wstring command = L"\"" + SelfPath() + L"\" --child " + role;
    for (const auto& a : args) command += L" \"" + a + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return UniqueKernelHandle();
    CloseHandle(pi.hThread);
    return UniqueKernelHandle(pi.hProcess);
}

} // namespace vn::test
