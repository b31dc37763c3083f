#include "store/store_fingerprint.h"

#include <cstring>

#include "store/body_path.h"
#include "store/index_file.h"
#include "store/record_line.h"
#include "store/store_names.h"

namespace vn {

namespace {

constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

uint64_t Mix(uint64_t h) {
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    h ^= h >> 32;
    return h;
}

// A body file the index names that does not exist.
constexpr uint64_t kMissingBody = 0x6D697373696E6721ull;

} // namespace

uint64_t DigestBytes(std::string_view bytes, uint64_t seed) {
    // Four lanes of 8 bytes a step keep the multiplications independent.
    uint64_t lanes[4] = {seed ^ 0x243F6A8885A308D3ull, seed ^ 0x13198A2E03707344ull, seed ^ 0xA4093822299F31D0ull,
                         seed ^ 0x082EFA98EC4E6C89ull};
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left >= 32) {
        for (uint64_t& lane : lanes) {
            uint64_t word;
            std::memcpy(&word, p, 8);
            lane = (lane ^ word) * kMultiplier;
            lane ^= lane >> 29;
            p += 8;
        }
        left -= 32;
    }
    uint64_t h = bytes.size() * kMultiplier;
    for (uint64_t lane : lanes) h = Mix(h ^ lane) * kMultiplier;
    while (left > 0) {
        uint64_t word = 0;
        const size_t n = left < 8 ? left : 8;
        std::memcpy(&word, p, n);
        h = Mix((h ^ word) * kMultiplier);
        p += n;
        left -= n;
    }
    return Mix(h);
}

uint64_t StoreFingerprint(std::string_view indexBytes, const CodePage& codePage, const StoreBodyLookup& body) {
    uint64_t h = DigestBytes(indexBytes);
    for (const std::u16string& line : DecodeIndexFile(indexBytes, codePage)) {
        const RecordFields read = ReadRecordLine(line);
        if (read.fields.size() <= kBodyFileField) continue;
        const FieldSpan& span = read.fields[kBodyFileField];
        const std::optional<std::u16string> name =
            BodyFileInFolder(std::u16string_view(line).substr(span.offset, span.length), kStoreFolderName);
        if (!name) continue;
        const std::string* bytes = body(*name);
        h = Mix(h * kMultiplier ^ (bytes ? DigestBytes(*bytes, h) : kMissingBody));
    }
    return h;
}

} // namespace vn
