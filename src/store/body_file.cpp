#include "store/body_file.h"

namespace vn {

namespace {

std::u16string NormaliseLineBreaks(const std::u16string& in) {
    std::u16string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] == u'\r') {
            out.push_back(u'\r');
            if (i + 1 < in.size() && in[i + 1] == u'\n') ++i;
        } else if (in[i] == u'\n') {
            out.push_back(u'\r');
        } else {
            out.push_back(in[i]);
        }
    }
    return out;
}

} // namespace

BodyFile BodyFile::Read(std::string bytes, const CodePage& codePage) {
    const std::string_view b = bytes;
    const bool rtf = b.starts_with("{\\rtf") || b.starts_with("{\\urtf");
    return BodyFile(rtf ? Form::Rtf : Form::Text, std::move(bytes), codePage);
}

std::u16string BodyFile::PlainText() const { return NormaliseLineBreaks(DecodeTextFile(bytes_, *codePage_)); }

} // namespace vn
