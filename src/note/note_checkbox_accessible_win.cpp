#include "note/note_checkbox_accessible_win.h"

#include <commctrl.h>

#include <string>

#include "platform/accessible_win.h"

namespace vn {
namespace {

class CheckBoxAccessible final : public DelegatingAccessible {
public:
    CheckBoxAccessible(HWND box, IAccessible* standard) : DelegatingAccessible(box, standard) {}

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) return DelegatingAccessible::get_accName(child, name);
        std::u16string text;
        if (!SendMessageW(Window(), kCheckBoxNameMessage, 0, reinterpret_cast<LPARAM>(&text)))
            return CO_E_OBJNOTCONNECTED;
        return ReturnText(text, name);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child)) return DelegatingAccessible::get_accRole(child, role);
        if (!role) return E_POINTER;
        if (!IsWindow(Window())) return CO_E_OBJNOTCONNECTED;
        SetLong(role, ROLE_SYSTEM_CHECKBUTTON);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT hr = DelegatingAccessible::get_accState(child, state);
        if (FAILED(hr) || !IsSelf(child) || state->vt != VT_I4) return hr;
        // The tick as the box holds it, whatever the system makes of a box without a caption.
        if (Ticked()) state->lVal |= STATE_SYSTEM_CHECKED;
        else state->lVal &= ~STATE_SYSTEM_CHECKED;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!IsSelf(child)) return DelegatingAccessible::get_accDefaultAction(child, action);
        if (!IsWindow(Window())) return CO_E_OBJNOTCONNECTED;
        return ReturnText(Ticked() ? u"Uncheck" : u"Check", action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child)) return DelegatingAccessible::accDoDefaultAction(child);
        if (!IsWindow(Window())) return CO_E_OBJNOTCONNECTED;
        // A click of the box's own, once the reader's call has returned: the tick goes
        // into the note and is announced as a click's is.
        return PostMessageW(Window(), BM_CLICK, 0, 0) ? S_OK : E_FAIL;
    }

private:
    bool Ticked() const { return SendMessageW(Window(), BM_GETCHECK, 0, 0) == BST_CHECKED; }
};

} // namespace

LRESULT CheckBoxAccessibleObject(HWND box, WPARAM wParam, LPARAM lParam) {
    if (!AsksForClient(lParam)) return 0;
    IAccessible* standard = StandardAccessible(box, OBJID_CLIENT);
    if (!standard) return 0;
    auto* object = new CheckBoxAccessible(box, standard);
    const LRESULT result = LresultFromObject(kIidAccessible, wParam, object);
    object->Release();
    return result < 0 ? 0 : result;
}

LRESULT SetCheckAnnounced(HWND box, WPARAM wParam, LPARAM lParam) {
    const LRESULT before = DefSubclassProc(box, BM_GETCHECK, 0, 0);
    const LRESULT result = DefSubclassProc(box, BM_SETCHECK, wParam, lParam);
    if (DefSubclassProc(box, BM_GETCHECK, 0, 0) != before)
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, box, OBJID_CLIENT, CHILDID_SELF);
    return result;
}

} // namespace vn
