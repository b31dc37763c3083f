#include "note/note_accessibility.h"

#include <algorithm>
#include <array>

namespace vn::note {
namespace {

constexpr std::array<Control, 11> kReadingOrder{
    Control::lTitle,    Control::ImgMinimize, Control::lOwner,     Control::lTime,
    Control::ImgSave,   Control::ImgImport,   Control::ImgFont,    Control::ImgDelete,
    Control::ImgSize,   Control::lBottomLab,  Control::ImgSmall,
};
static_assert(kReadingOrder[kPartsAboveBody - 1] == Control::ImgDelete);

bool VisibleIn(const NoteAccessView& view, Control c) {
    return view.minimized ? c == Control::ImgSmall : c != Control::ImgSmall;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f'; }

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

} // namespace

std::span<const Control> AccessibleParts() { return kReadingOrder; }

bool IsAccessiblePart(Control c) {
    const auto parts = AccessibleParts();
    return std::find(parts.begin(), parts.end(), c) != parts.end();
}

std::optional<AccessiblePart> DescribePart(const NoteAccessView& view, Control c) {
    if (!IsAccessiblePart(c)) return std::nullopt;
    AccessiblePart part;
    part.control = c;
    switch (c) {
    case Control::lTitle:
        part.name = view.title;
        part.description = u"Program and window the note is on";
        break;
    case Control::lOwner:
        part.name = view.owner;
        part.description = u"Computer the note was made on";
        break;
    case Control::lTime:
        part.name = view.time;
        part.description = u"Date and time the note was made";
        break;
    case Control::lBottomLab: part.name = view.tagline; break;
    case Control::ImgSize:
        part.role = AccessRole::Grip;
        part.name = u"Resize";
        break;
    case Control::ImgSmall:
        // The tile shows only a picture; pressing it gives the note back its size.
        part.role = AccessRole::PushButton;
        part.name = u"Restore";
        break;
    default:
        part.role = AccessRole::PushButton;
        part.name = PictureButtonCaption(ControlName(c));
        break;
    }
    if (part.role == AccessRole::PushButton) {
        part.states |= kAccessFocusable;
        part.defaultAction = u"Press";
        if (view.focused == c) part.states |= kAccessFocused;
        if (view.hovered == c) part.states |= kAccessHot;
    }
    if (!VisibleIn(view, c)) part.states = (part.states & ~(kAccessFocused | kAccessHot)) | kAccessInvisible;
    return part;
}

Control AccessibleHitTest(const NoteAccessView& view, Point p) {
    const Control c = HitTest(view.layout, view.minimized, p);
    return IsAccessiblePart(c) ? c : Control::None;
}

Control NavigateParts(const NoteAccessView& view, Control from, bool forward) {
    const auto parts = AccessibleParts();
    const auto at = std::find(parts.begin(), parts.end(), from);
    if (forward) {
        for (auto i = at == parts.end() ? parts.begin() : at + 1; i != parts.end(); ++i)
            if (VisibleIn(view, *i)) return *i;
    } else {
        for (auto i = at; i != parts.begin();) {
            --i;
            if (VisibleIn(view, *i)) return *i;
        }
    }
    return Control::None;
}

std::u16string NoteAccessibleName(std::u16string_view targetCaption) {
    if (targetCaption.empty()) return u"Note";
    return u"Note on " + std::u16string(targetCaption);
}

std::u16string CheckBoxAccessibleName(int line, std::u16string_view lineText) {
    size_t first = 0;
    size_t last = lineText.size();
    while (first < last && IsBlank(lineText[first])) ++first;
    while (last > first && IsBlank(lineText[last - 1])) --last;
    std::u16string_view text = lineText.substr(first, last - first);
    if (text.empty()) {
        const std::string n = std::to_string(line + 1);
        return u"Line " + std::u16string(n.begin(), n.end());
    }
    if (text.size() <= kCheckBoxNameLimit) return std::u16string(text);
    size_t cut = kCheckBoxNameLimit;
    const size_t space = text.find_last_of(u' ', kCheckBoxNameLimit);
    if (space != std::u16string_view::npos && space > 0) cut = space;
    // Never half a character outside the basic plane.
    else if (IsHighSurrogate(text[cut - 1])) --cut;
    std::u16string name(text.substr(0, cut));
    while (!name.empty() && IsBlank(name.back())) name.pop_back();
    return name + u"\u2026";
}

} // namespace vn::note
