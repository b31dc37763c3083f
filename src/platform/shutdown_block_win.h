#pragma once
// The reason a window gives Windows for holding up the end of the session
// (ShutdownBlockReasonCreate, Windows Vista and later; looked up at run time). While
// it is set, Windows shows it beside the program in its "programs are still
// running" screen instead of ending the process at once. Wine has the calls but
// they do nothing: the program cannot rely on them and saves as fast as it can.
#include <windows.h>

#include <string>

namespace vn {

class ShutdownBlock {
public:
    ShutdownBlock() = default;
    ~ShutdownBlock() { Release(); }
    ShutdownBlock(const ShutdownBlock&) = delete;
    ShutdownBlock& operator=(const ShutdownBlock&) = delete;

    // Sets the reason for `window`; true when the system took it.
    bool Hold(HWND window, const std::u16string& reason);
    // Takes the reason back, if one is set.
    void Release();
    bool Held() const noexcept { return window_ != nullptr; }

private:
    HWND window_ = nullptr;
};

} // namespace vn
