#include "note/note_accessible_win.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/accessible_win.h"

namespace vn {

using note::Control;

namespace {

LONG IdOf(Control part) { return static_cast<LONG>(part); }

long RoleOf(note::AccessRole role) {
    switch (role) {
    case note::AccessRole::Pane: return ROLE_SYSTEM_PANE;
    case note::AccessRole::StaticText: return ROLE_SYSTEM_STATICTEXT;
    case note::AccessRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case note::AccessRole::Grip: return ROLE_SYSTEM_GRIP;
    }
    return ROLE_SYSTEM_CLIENT;
}

long StatesOf(unsigned states) {
    long s = 0;
    if (states & note::kAccessInvisible) s |= STATE_SYSTEM_INVISIBLE;
    if (states & note::kAccessFocusable) s |= STATE_SYSTEM_FOCUSABLE;
    if (states & note::kAccessFocused) s |= STATE_SYSTEM_FOCUSED;
    if (states & note::kAccessHot) s |= STATE_SYSTEM_HOTTRACKED;
    return s;
}

// The window's own children (the body area's backing panel and the body area), in
// the system's order, each as the system describes it.
std::vector<HWND> ChildWindows(HWND window) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    return children;
}

bool SetWindowObject(HWND child, VARIANT* out) {
    IDispatch* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(child, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(&object))) ||
        !object)
        return false;
    VariantInit(out);
    out->vt = VT_DISPATCH;
    out->pdispVal = object;
    return true;
}

} // namespace

// The note window's client object. Its children are the parts (simple elements,
// named by their ids) and the window's child windows (objects of their own); the
// enumeration gives them in reading order, the body's windows after the Delete button.
class NoteAccessible final : public DelegatingAccessible, public IEnumVARIANT {
public:
    NoteAccessible(HWND window, IAccessible* standard, const NoteAccessSource& source)
        : DelegatingAccessible(window, standard), source_(source) {}

    // IUnknown, shared by both interfaces.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IEnumVARIANT && object) {
            *object = static_cast<IEnumVARIANT*>(this);
            AddRef();
            return S_OK;
        }
        return DelegatingAccessible::QueryInterface(riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return DelegatingAccessible::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return DelegatingAccessible::Release(); }

    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        *count = static_cast<long>(note::AccessibleParts().size() + ChildWindows(Window()).size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        // A part is a simple element: its parent answers for it.
        return Part(child) ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (IsSelf(child)) return Connected() ? ReturnText(source_.name(), name) : CO_E_OBJNOTCONNECTED;
        return Answer(child, [&](const note::AccessiblePart& p) { return ReturnText(p.name, name); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (IsSelf(child)) return DelegatingAccessible::get_accValue(child, value);
        if (value) *value = nullptr;
        return Answer(child, [](const note::AccessiblePart&) { return DISP_E_MEMBERNOTFOUND; });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (IsSelf(child)) return DelegatingAccessible::get_accDescription(child, description);
        return Answer(child, [&](const note::AccessiblePart& p) { return ReturnText(p.description, description); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        if (IsSelf(child)) {
            if (!Connected()) return CO_E_OBJNOTCONNECTED;
            SetLong(role, ROLE_SYSTEM_PANE);
            return S_OK;
        }
        return Answer(child, [&](const note::AccessiblePart& p) {
            SetLong(role, RoleOf(p.role));
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (IsSelf(child)) return DelegatingAccessible::get_accState(child, state);
        if (!state) return E_POINTER;
        return Answer(child, [&](const note::AccessiblePart& p) {
            long s = StatesOf(p.states);
            // A part of a hidden note is hidden too.
            if (!IsWindowVisible(Window())) s |= STATE_SYSTEM_INVISIBLE;
            SetLong(state, s);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        if (IsSelf(child)) return DelegatingAccessible::get_accHelp(child, help);
        return Answer(child, [&](const note::AccessiblePart&) { return ReturnText({}, help); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        if (IsSelf(child)) return DelegatingAccessible::get_accKeyboardShortcut(child, shortcut);
        return Answer(child, [&](const note::AccessiblePart&) { return ReturnText({}, shortcut); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        if (!child) return E_POINTER;
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        const Control focused = source_.view().focused;
        if (focused != Control::None && GetFocus() == Window()) {
            SetLong(child, IdOf(focused));
            return S_OK;
        }
        return DelegatingAccessible::get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (IsSelf(child)) return DelegatingAccessible::get_accDefaultAction(child, action);
        return Answer(child, [&](const note::AccessiblePart& p) { return ReturnText(p.defaultAction, action); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        if (IsSelf(child)) return DelegatingAccessible::accSelect(flags, child);
        return Answer(child, [](const note::AccessiblePart&) { return DISP_E_MEMBERNOTFOUND; });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (IsSelf(child)) return DelegatingAccessible::accLocation(left, top, width, height, child);
        if (!left || !top || !width || !height) return E_POINTER;
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        const auto part = Part(child);
        if (!part) return E_INVALIDARG;
        const note::Rect r = source_.view().layout.Of(*part);
        POINT origin{r.left, r.top};
        ClientToScreen(Window(), &origin);
        *left = origin.x;
        *top = origin.y;
        *width = r.width;
        *height = r.height;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        VariantInit(end);
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        const note::NoteAccessView view = source_.view();
        if (IsSelf(start)) {
            if (direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD)
                return DelegatingAccessible::accNavigate(direction, start, end);
            return Ended(note::NavigateParts(view, Control::None, direction == NAVDIR_FIRSTCHILD), end);
        }
        const auto part = Part(start);
        if (!part) return E_INVALIDARG;
        const bool forward = direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT;
        if (!forward && direction != NAVDIR_PREVIOUS && direction != NAVDIR_UP && direction != NAVDIR_LEFT)
            return E_INVALIDARG;
        const Control next = note::NavigateParts(view, *part, forward);
        // Between the Delete button and the grip lies the body.
        const auto parts = note::AccessibleParts();
        const bool crossesBody = forward ? *part == parts[note::kPartsAboveBody - 1]
                                         : next == parts[note::kPartsAboveBody - 1];
        if (crossesBody && !view.minimized)
            for (HWND w : ChildWindows(Window()))
                if (IsWindowVisible(w) && SetWindowObject(w, end)) return S_OK;
        return Ended(next, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        if (!child) return E_POINTER;
        VariantInit(child);
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        POINT p{x, y};
        ScreenToClient(Window(), &p);
        RECT client{};
        GetClientRect(Window(), &client);
        if (!PtInRect(&client, p)) return S_FALSE;
        const HWND under = ChildWindowFromPointEx(Window(), p, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (under && under != Window()) return SetWindowObject(under, child) ? S_OK : S_FALSE;
        SetLong(child, IdOf(note::AccessibleHitTest(source_.view(), {p.x, p.y})));  // None is the note itself
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (IsSelf(child)) return DelegatingAccessible::accDoDefaultAction(child);
        return Answer(child, [&](const note::AccessiblePart& p) -> HRESULT {
            if (p.defaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
            if (p.states & note::kAccessInvisible) return E_FAIL;
            return PostMessageW(Window(), kAccessPressMessage, static_cast<WPARAM>(p.control), 0) ? S_OK : E_FAIL;
        });
    }

    // IEnumVARIANT over the children, read afresh at each step.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
        if (!out) return E_POINTER;
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        std::vector<VARIANT> children = Children();
        ULONG n = 0;
        for (; n < count && enumAt_ < children.size(); ++n, ++enumAt_) {
            VariantInit(&out[n]);
            VariantCopy(&out[n], &children[enumAt_]);
        }
        for (VARIANT& v : children) VariantClear(&v);
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        std::vector<VARIANT> children = Children();
        const size_t total = children.size();
        for (VARIANT& v : children) VariantClear(&v);
        const size_t skipped = std::min<size_t>(count, total > enumAt_ ? total - enumAt_ : 0);
        enumAt_ += skipped;
        return skipped == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        enumAt_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        if (copy) *copy = nullptr;
        return E_NOTIMPL;
    }

private:
    // The part a child id names; nothing for the note itself or an unknown id.
    static std::optional<Control> Part(const VARIANT& child) {
        if (child.vt != VT_I4) return std::nullopt;
        const auto c = static_cast<Control>(child.lVal);
        if (child.lVal <= 0 || child.lVal > IdOf(Control::ImgMinimize) || !note::IsAccessiblePart(c))
            return std::nullopt;
        return c;
    }

    template <class F>
    HRESULT Answer(const VARIANT& child, F&& with) {
        if (!Connected()) return CO_E_OBJNOTCONNECTED;
        const auto part = Part(child);
        if (!part) return E_INVALIDARG;
        const std::optional<note::AccessiblePart> described = note::DescribePart(source_.view(), *part);
        if (!described) return E_INVALIDARG;
        return with(*described);
    }

    static HRESULT Ended(Control part, VARIANT* end) {
        if (part == Control::None) return S_FALSE;
        SetLong(end, IdOf(part));
        return S_OK;
    }

    // Every child in reading order: the parts above the body, the window's child
    // windows, the rest of the parts.
    std::vector<VARIANT> Children() const {
        std::vector<VARIANT> children;
        const auto parts = note::AccessibleParts();
        for (size_t i = 0; i < parts.size(); ++i) {
            if (i == note::kPartsAboveBody)
                for (HWND w : ChildWindows(Window())) {
                    VARIANT v;
                    if (SetWindowObject(w, &v)) children.push_back(v);
                }
            VARIANT v;
            SetLong(&v, IdOf(parts[i]));
            children.push_back(v);
        }
        return children;
    }

    NoteAccessSource source_;
    size_t enumAt_ = 0;
};

LRESULT NoteAccessibleLink::Answer(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!AsksForClient(lParam)) return 0;
    if (object_ && object_->Window() != window) Disconnect();
    if (!object_) {
        IAccessible* standard = StandardAccessible(window, OBJID_CLIENT);
        if (!standard) return 0;
        object_ = new NoteAccessible(window, standard, source_);
    }
    const LRESULT result = LresultFromObject(kIidAccessible, wParam, static_cast<IAccessible*>(object_));
    return result < 0 ? 0 : result;
}

void NoteAccessibleLink::Disconnect() noexcept {
    if (!object_) return;
    object_->Disconnect();
    object_->Release();
    object_ = nullptr;
}

void NoteAccessibleLink::NameChanged(HWND window, Control part) noexcept {
    if (window) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, IdOf(part));
}

void NoteAccessibleLink::PartsChanged(HWND window) noexcept {
    if (window) NotifyWinEvent(EVENT_OBJECT_REORDER, window, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace vn
