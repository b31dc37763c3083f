// Feeds arbitrary bytes to the body-file reader as a plain-text body. Beyond the
// sanitizers' findings, a run fails when the text holds a line break other than
// the control's own CR, when it is longer than the bytes allow, or when
// well-formed UTF-8 does not come through unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text_codec.h"
#include "store/body_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const vn::Windows1252CodePage cp1252;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const vn::BodyFile body = vn::BodyFile::Read(bytes, cp1252);
    if (body.Bytes() != bytes) std::abort();
    const std::u16string text = body.PlainText();
    if (text.find(u'\n') != std::u16string::npos) std::abort();
    // One unit at most per byte (UTF-16: per two, plus one for an odd byte).
    if (text.size() > bytes.size()) std::abort();
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        const std::string rest = bytes.substr(3);
        if (rest.find_first_of("\r\n") == std::string::npos && vn::IsUtf8(rest) && vn::EncodeUtf8(text) != rest)
            std::abort();
    }
    return 0;
}
