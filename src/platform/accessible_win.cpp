#include "platform/accessible_win.h"

#include <string>

namespace vn {

IAccessible* StandardAccessible(HWND window, LONG objectId) noexcept {
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(window, objectId, kIidAccessible, reinterpret_cast<void**>(&standard))))
        return nullptr;
    return standard;
}

DelegatingAccessible::~DelegatingAccessible() {
    if (standard_) standard_->Release();
}

void DelegatingAccessible::Disconnect() noexcept {
    if (!standard_) return;
    IAccessible* standard = standard_;
    standard_ = nullptr;
    standard->Release();
    // Stubs that remote clients hold go now; this object lives on only as long as
    // references in this process do.
    AddRef();
    CoDisconnectObject(static_cast<IAccessible*>(this), 0);
    Release();
}

HRESULT DelegatingAccessible::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == kIidAccessible) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG DelegatingAccessible::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG DelegatingAccessible::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT DelegatingAccessible::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}
HRESULT DelegatingAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT DelegatingAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT DelegatingAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

#define VN_DELEGATE(call)                             \
    if (!standard_) return CO_E_OBJNOTCONNECTED;      \
    return standard_->call

HRESULT DelegatingAccessible::get_accParent(IDispatch** parent) { VN_DELEGATE(get_accParent(parent)); }
HRESULT DelegatingAccessible::get_accChildCount(long* count) { VN_DELEGATE(get_accChildCount(count)); }
HRESULT DelegatingAccessible::get_accChild(VARIANT child, IDispatch** object) {
    VN_DELEGATE(get_accChild(child, object));
}
HRESULT DelegatingAccessible::get_accName(VARIANT child, BSTR* name) { VN_DELEGATE(get_accName(child, name)); }
HRESULT DelegatingAccessible::get_accValue(VARIANT child, BSTR* value) { VN_DELEGATE(get_accValue(child, value)); }
HRESULT DelegatingAccessible::get_accDescription(VARIANT child, BSTR* description) {
    VN_DELEGATE(get_accDescription(child, description));
}
HRESULT DelegatingAccessible::get_accRole(VARIANT child, VARIANT* role) { VN_DELEGATE(get_accRole(child, role)); }
HRESULT DelegatingAccessible::get_accState(VARIANT child, VARIANT* state) {
    VN_DELEGATE(get_accState(child, state));
}
HRESULT DelegatingAccessible::get_accHelp(VARIANT child, BSTR* help) { VN_DELEGATE(get_accHelp(child, help)); }
HRESULT DelegatingAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    VN_DELEGATE(get_accHelpTopic(file, child, topic));
}
HRESULT DelegatingAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    VN_DELEGATE(get_accKeyboardShortcut(child, shortcut));
}
HRESULT DelegatingAccessible::get_accFocus(VARIANT* child) { VN_DELEGATE(get_accFocus(child)); }
HRESULT DelegatingAccessible::get_accSelection(VARIANT* children) { VN_DELEGATE(get_accSelection(children)); }
HRESULT DelegatingAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    VN_DELEGATE(get_accDefaultAction(child, action));
}
HRESULT DelegatingAccessible::accSelect(long flags, VARIANT child) { VN_DELEGATE(accSelect(flags, child)); }
HRESULT DelegatingAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    VN_DELEGATE(accLocation(left, top, width, height, child));
}
HRESULT DelegatingAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    VN_DELEGATE(accNavigate(direction, start, end));
}
HRESULT DelegatingAccessible::accHitTest(long left, long top, VARIANT* child) {
    VN_DELEGATE(accHitTest(left, top, child));
}
HRESULT DelegatingAccessible::accDoDefaultAction(VARIANT child) { VN_DELEGATE(accDoDefaultAction(child)); }

#undef VN_DELEGATE

HRESULT DelegatingAccessible::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }
HRESULT DelegatingAccessible::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

HRESULT DelegatingAccessible::ReturnText(std::u16string_view text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void DelegatingAccessible::SetLong(VARIANT* v, long value) noexcept {
    VariantInit(v);
    v->vt = VT_I4;
    v->lVal = value;
}

} // namespace vn
