#pragma once
// Move-only owners of system handles: one template, a traits type per kind of handle.
#include <windows.h>
#include <tlhelp32.h>

#include <utility>

namespace vn {

template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle h) noexcept : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }

    Handle get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Traits::Invalid(); }
    Handle release() noexcept { return std::exchange(h_, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) noexcept {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }

private:
    Handle h_ = Traits::Invalid();
};

struct KernelHandleTraits {  // handles that are NULL when invalid (mutexes, events, processes)
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { CloseHandle(h); }
};
struct FileHandleTraits {  // handles that are INVALID_HANDLE_VALUE when invalid (files, snapshots)
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { CloseHandle(h); }
};
template <class T>
struct GdiObjectTraits {
    using Handle = T;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { DeleteObject(h); }
};
struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { DestroyIcon(h); }
};
struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { DestroyMenu(h); }
};
struct HookTraits {
    using Handle = HHOOK;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { UnhookWindowsHookEx(h); }
};
struct WinEventHookTraits {
    using Handle = HWINEVENTHOOK;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { UnhookWinEvent(h); }
};
struct FindTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { FindClose(h); }
};
struct DcTraits {  // memory device contexts made with CreateCompatibleDC
    using Handle = HDC;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { DeleteDC(h); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueSnapshot = UniqueHandle<FileHandleTraits>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueHook = UniqueHandle<HookTraits>;
using UniqueWinEventHook = UniqueHandle<WinEventHookTraits>;
using UniqueFind = UniqueHandle<FindTraits>;
using UniqueMemoryDc = UniqueHandle<DcTraits>;

} // namespace vn
