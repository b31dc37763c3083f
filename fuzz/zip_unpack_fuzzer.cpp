// Feeds arbitrary bytes to the unpacker as an archive. Beyond the sanitizers'
// findings, a run fails if anything is created outside the target folder or if
// the unpacker fails with anything but its own error.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "exchange/zip_archive.h"
#include "platform/errors.h"
#include "memory_archive_files.h"

namespace {

bool Inside(const std::u16string& path) {
    static const std::u16string kFolder = u"/box/out";
    if (path == kFolder) return true;
    if (!path.starts_with(kFolder + u"/")) return false;
    for (size_t at = kFolder.size(); at != std::u16string::npos; at = path.find(u'/', at + 1)) {
        size_t end = path.find(u'/', at + 1);
        std::u16string component = path.substr(at + 1, end == std::u16string::npos ? end : end - at - 1);
        if (component.empty() || component == u"." || component == u"..") return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vn::test::MemoryArchiveFiles files;
    files.AddFile(u"/in/a.zip", std::string(reinterpret_cast<const char*>(data), size));
    files.created.clear();
    try {
        vn::ExtractZipFile(u"/in/a.zip", u"/box/out", files);
    } catch (const vn::Error&) {
        // A refusal with a text is the expected end of most inputs.
    }
    for (const std::u16string& path : files.created)
        if (!Inside(path)) std::abort();
    return 0;
}
