#include "platform/shutdown_block_win.h"

#include "platform/text_win.h"

namespace vn {

namespace {
template <typename Fn> Fn User32(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}
} // namespace

bool ShutdownBlock::Hold(HWND window, const std::u16string& reason) {
    using CreateFn = BOOL(WINAPI*)(HWND, LPCWSTR);
    Release();
    auto create = User32<CreateFn>("ShutdownBlockReasonCreate");
    if (!create || !window || !create(window, W(reason))) return false;
    window_ = window;
    return true;
}

void ShutdownBlock::Release() {
    using DestroyFn = BOOL(WINAPI*)(HWND);
    if (!window_) return;
    if (auto destroy = User32<DestroyFn>("ShutdownBlockReasonDestroy")) destroy(window_);
    window_ = nullptr;
}

} // namespace vn
