#include "note/handle_budget_win.h"

#include <windows.h>

namespace vn {
namespace {

int QuotaValue(const wchar_t* name, int fallback) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    // Windows reads these at logon; a value outside the system's own range is ignored
    // by it, and so here.
    const LSTATUS status = RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows",
                                        name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    if (status != ERROR_SUCCESS || value < 200 || value > 65536) return fallback;
    return static_cast<int>(value);
}

} // namespace

note::GuiObjects SystemGuiQuota() {
    return {QuotaValue(L"USERProcessHandleQuota", note::kDefaultQuota.user),
            QuotaValue(L"GDIProcessHandleQuota", note::kDefaultQuota.gdi)};
}

note::GuiObjects SystemGuiObjects() {
    HANDLE self = GetCurrentProcess();
    return {static_cast<int>(GetGuiResources(self, GR_USEROBJECTS)),
            static_cast<int>(GetGuiResources(self, GR_GDIOBJECTS))};
}

} // namespace vn
