#pragma once
// A note's body file as read: the rich-text control's own RTF stream, or plain
// text when some other program wrote the file. The choice is made once, here,
// when the bytes are read; the editor acts on it.
#include <string>
#include <string_view>

#include "platform/errors.h"
#include "platform/text_codec.h"

namespace vn {

class BodyFile {
public:
    enum class Form { Rtf, Text };

    // RTF when the bytes begin an RTF stream ("{\rtf" or "{\urtf"), the only data
    // the control reads as RTF; plain text otherwise. `codePage` must outlive the
    // result: it decodes plain text without a byte-order mark.
    static BodyFile Read(std::string bytes, const CodePage& codePage);

    Form GetForm() const noexcept { return form_; }
    // The file's bytes, unchanged: what a save writes back while no control has read them.
    const std::string& Bytes() const noexcept { return bytes_; }
    // The plain-text reading: FF FE is UTF-16LE, FE FF UTF-16BE, EF BB BF UTF-8,
    // anything else the ANSI code page (see text_codec.h for broken input). A lone
    // CR, a lone LF and CR LF each become one "\r", the control's own line break.
    // Also what an RTF file becomes when the control refuses it as RTF.
    std::u16string PlainText() const;

private:
    BodyFile(Form form, std::string bytes, const CodePage& codePage)
        : form_(form), bytes_(std::move(bytes)), codePage_(&codePage) {}

    Form form_;
    std::string bytes_;
    const CodePage* codePage_;
};

// The load order of a body into the editor: an RTF file as RTF, then, if the
// control refused that, as plain text; a text file as plain text. Each stream
// function answers whether the control took the data. Raises
// Error("Failed to Load Stream") when it took neither.
template <class StreamRtf, class StreamText>
void LoadBodyFile(const BodyFile& body, StreamRtf streamRtf, StreamText streamText) {
    if (body.GetForm() == BodyFile::Form::Rtf && streamRtf(std::string_view(body.Bytes()))) return;
    if (streamText(body.PlainText())) return;
    throw Error("Failed to Load Stream");
}

} // namespace vn
