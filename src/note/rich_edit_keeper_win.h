#pragma once
// RichEditKeeper keeps a rich-text control's content while no control in a parent of
// the program's holds it. When the control's window goes, its content is captured as
// the control's own RTF stream together with the selection, the format at the caret
// and the line count; the next control takes it back. A body file loaded meanwhile
// waits, unread, until a control needs it, and a save writes its bytes as they were
// read. A question asked meanwhile goes to a hidden control under a private
// message-only host that the keeper makes.
#include <windows.h>

#include <richedit.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "store/body_file.h"

namespace vn {

// A CHARFORMAT2W that sets and reads nothing until its mask says so.
CHARFORMAT2W EmptyCharFormat();

// Streams `bytes` into the control, replacing its content; true when it took them.
bool StreamIntoControl(HWND control, UINT format, std::string_view bytes);
// The control's whole content as its own RTF stream. Raises Error("Failed to Save Stream").
std::string StreamRtfOutOf(HWND control);
// The control's whole text, each paragraph ending in "\r" (indexes match selection
// positions). `ask` puts a message to the control: SendMessageW, or its own procedure.
std::u16string RichEditText(const std::function<LRESULT(UINT, WPARAM, LPARAM)>& ask);

class RichEditKeeper {
public:
    // `onHiddenControl`: the host of a hidden control was made (true), or is gone
    // again (false); it takes objects of the process while it exists.
    explicit RichEditKeeper(std::function<void(bool made)> onHiddenControl);
    ~RichEditKeeper();
    RichEditKeeper(const RichEditKeeper&) = delete;
    RichEditKeeper& operator=(const RichEditKeeper&) = delete;

    // The parent for a hidden control, made when first asked for. Raises OSError.
    HWND Host();
    // The host goes; only once no hidden control lives under it any more.
    void DropHost();

    // True while content is kept: captured from a control that went, or an unread body.
    bool Holds() const noexcept { return kept_.has_value(); }
    // True while the kept content is a body file that no control has read yet.
    bool BodyUnread() const noexcept { return kept_ && kept_->unread; }
    // The line count of the control the content was captured from.
    std::optional<int> Lines() const noexcept { return kept_ ? kept_->lines : std::nullopt; }
    // The kept bytes: the captured control's RTF stream, or the unread body's bytes.
    const std::string& Bytes() const { return kept_->rtf; }

    // Keeps an RTF body file unread, in place of anything kept.
    void KeepUnread(const BodyFile& body);
    // Captures the content of `control`, whose window is going (`lines`: its line
    // count). An unread body stays what is kept: the control could not take it.
    void Capture(HWND control, int lines);
    // Gives the kept content to the new, empty `control` and forgets it. An unread body
    // goes in through `loadBody`; when that raises, the body stays kept and unread.
    void Restore(HWND control, const std::function<void(const BodyFile&)>& loadBody);

private:
    class HostWindow;
    struct Kept {
        std::string rtf;
        CHARRANGE selection{};
        CHARFORMAT2W caretFormat{};
        std::optional<BodyFile> unread;
        std::optional<int> lines;
    };

    std::function<void(bool made)> onHiddenControl_;
    std::unique_ptr<HostWindow> host_;
    std::optional<Kept> kept_;
};

} // namespace vn
