#pragma once
// The base of the note's accessible objects: an IAccessible that hands every
// question it does not answer itself to the system's standard object of its window
// (parent, focus, the window's own state and place, its children). Once its window
// has gone it is disconnected: every call then fails with CO_E_OBJNOTCONNECTED, so
// a screen reader holding on to it reaches nothing that was freed.
#include <windows.h>
#include <oleacc.h>

#include <string_view>

namespace vn {

// The interface id of IAccessible. Not IID_IAccessible: the MinGW import library of
// oleacc.dll names the DLL's exported id as a function, so its address is a jump
// stub's bytes, and the system rightly answers E_NOINTERFACE for that id.
inline const IID& kIidAccessible = __uuidof(IAccessible);

class DelegatingAccessible : public IAccessible {
public:
    DelegatingAccessible(const DelegatingAccessible&) = delete;
    DelegatingAccessible& operator=(const DelegatingAccessible&) = delete;

    HWND Window() const noexcept { return window_; }
    bool Connected() const noexcept { return standard_ != nullptr; }
    // Lets go of the window: the standard object is released and remote clients are
    // cut off, so that their references no longer keep anything alive here.
    void Disconnect() noexcept;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch: no type information; screen readers call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
    // IAccessible: each handed to the standard object unless a derived class answers.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override;

protected:
    // `standard` is the system's object for (window, objectId), one reference taken over.
    DelegatingAccessible(HWND window, IAccessible* standard) noexcept : window_(window), standard_(standard) {}
    virtual ~DelegatingAccessible();

    IAccessible* Standard() const noexcept { return standard_; }

    // Out-parameter helpers: a BSTR of `text` (S_FALSE and null for empty text), and
    // a VT_I4 variant.
    static HRESULT ReturnText(std::u16string_view text, BSTR* out);
    static void SetLong(VARIANT* v, long value) noexcept;
    static bool IsSelf(const VARIANT& child) noexcept { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

private:
    LONG references_ = 1;
    HWND window_;
    IAccessible* standard_;
};

// The standard object of `window` for `objectId`, or null when the system has none.
IAccessible* StandardAccessible(HWND window, LONG objectId) noexcept;

// True when a WM_GETOBJECT's lParam asks for the window's client object.
inline bool AsksForClient(LPARAM lParam) noexcept {
    return static_cast<LONG>(static_cast<DWORD>(lParam)) == static_cast<LONG>(OBJID_CLIENT);
}

} // namespace vn
