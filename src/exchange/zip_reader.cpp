#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "exchange/zip_archive.h"
#include "platform/file_system.h"
#include "exchange/zip_format.h"
#include "exchange/zip_names.h"
#include "platform/text_codec.h"
#include "platform/errors.h"

namespace vn {

using namespace zipformat;

namespace {

// Archives come from other people: every count, size and offset below is checked
// against the real file before anything is allocated, looped over or written.
// Memory stays bounded whatever the headers say: a few 64 KiB buffers, one name
// at a time, and a small record per entry (at most 65,535 of them).

struct EndRecord {
    uint64_t position = 0;
    uint16_t entryCount = 0;
    uint32_t centralSize = 0;
    uint32_t centralOffset = 0;
};

struct Entry {
    uint16_t madeBy = 0;
    uint16_t flag = 0;
    uint16_t method = 0;
    uint16_t nameLength = 0;
    uint16_t extraLength = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint32_t externalAttributes = 0;
    uint32_t localOffset = 0;
    uint64_t nameOffset = 0;  // the central directory's copy of the name; the extra field follows it
    uint64_t dataStart = 0;
};

constexpr uint16_t kUnicodePathExtra = 0x7075;
constexpr uint16_t kHostUnix = 3;
constexpr uint32_t kUnixFileTypeMask = 0170000;
constexpr uint32_t kUnixSymbolicLink = 0120000;

std::string ReadBytes(SourceFile& file, uint64_t offset, size_t count) {
    std::string bytes(count, '\0');
    if (count > 0 && file.ReadAt(offset, bytes.data(), count) != count) throw Error(kErrorReadingZip);
    return bytes;
}

// The end record nearest the end of the file whose comment reaches exactly to
// the end wins, so a comment that happens to hold the signature is no trap.
// Failing that, the nearest whole record is taken (bytes appended behind an archive).
EndRecord FindEndRecord(SourceFile& file, uint64_t size) {
    const size_t range = static_cast<size_t>(std::min<uint64_t>(size, kEndSearchRange));
    const uint64_t rangeStart = size - range;
    std::vector<uint8_t> tail(range);
    if (file.ReadAt(rangeStart, tail.data(), range) != range) throw Error(kErrorReadingZip);
    std::optional<size_t> chosen;
    std::optional<size_t> fallback;
    for (size_t i = range >= 4 ? range - 4 + 1 : 0; i-- > 0;) {
        if (Get32(&tail[i]) != kEndSignature || i + kEndRecordSize > range) continue;
        if (i + kEndRecordSize + Get16(&tail[i + 20]) == range) {
            chosen = i;
            break;
        }
        if (!fallback) fallback = i;
    }
    if (!chosen) chosen = fallback;
    if (!chosen) throw Error(kErrorReadingZip);
    const uint8_t* p = &tail[*chosen];
    EndRecord end;
    end.position = rangeStart + *chosen;
    end.entryCount = Get16(p + 10);
    end.centralSize = Get32(p + 12);
    end.centralOffset = Get32(p + 16);
    return end;
}

// Reads a region of the file front to back through one buffer, never past its end.
class RegionReader {
public:
    RegionReader(SourceFile& file, uint64_t start, uint64_t end)
        : file_(file), position_(start), end_(end), buffer_(kStreamBufferSize) {}

    uint64_t Position() const { return position_ - (fill_ - next_); }

    const uint8_t* Take(size_t count) {
        if (count > end_ - Position()) throw Error(kErrorReadingZip);
        if (fill_ - next_ < count) {
            std::memmove(buffer_.data(), buffer_.data() + next_, fill_ - next_);
            fill_ -= next_;
            next_ = 0;
            size_t want = static_cast<size_t>(std::min<uint64_t>(buffer_.size() - fill_, end_ - position_));
            if (file_.ReadAt(position_, buffer_.data() + fill_, want) != want) throw Error(kErrorReadingZip);
            fill_ += want;
            position_ += want;
        }
        const uint8_t* p = buffer_.data() + next_;
        next_ += count;
        return p;
    }

    void Skip(uint64_t count) {
        if (count > end_ - Position()) throw Error(kErrorReadingZip);
        uint64_t buffered = fill_ - next_;
        if (count <= buffered) {
            next_ += static_cast<size_t>(count);
        } else {
            position_ += count - buffered;
            next_ = fill_ = 0;
        }
    }

private:
    SourceFile& file_;
    uint64_t position_;  // file offset of buffer_[fill_]
    uint64_t end_;
    std::vector<uint8_t> buffer_;
    size_t next_ = 0;
    size_t fill_ = 0;
};

// Reads the central directory and each entry's local header, and checks that
// they agree and that every entry's data lies apart from the others and before
// the central directory.
std::vector<Entry> ReadEntries(SourceFile& file, const EndRecord& end) {
    if (end.centralOffset > end.position || end.centralSize > end.position - end.centralOffset ||
        uint64_t{end.entryCount} * kCentralHeaderSize > end.centralSize)
        throw Error(kErrorReadingZip);
    std::vector<Entry> entries;
    entries.reserve(end.entryCount);
    RegionReader central(file, end.centralOffset, uint64_t{end.centralOffset} + end.centralSize);
    std::string local;
    for (unsigned i = 0; i < end.entryCount; ++i) {
        const uint8_t* c = central.Take(kCentralHeaderSize);
        if (Get32(c) != kCentralSignature) throw Error(kInvalidCentralSignature);
        Entry e;
        e.madeBy = Get16(c + 4);
        e.flag = Get16(c + 8);
        e.method = Get16(c + 10);
        e.crc = Get32(c + 16);
        e.compressedSize = Get32(c + 20);
        e.uncompressedSize = Get32(c + 24);
        e.nameLength = Get16(c + 28);
        e.extraLength = Get16(c + 30);
        const uint16_t commentLength = Get16(c + 32);
        e.externalAttributes = Get32(c + 38);
        e.localOffset = Get32(c + 42);
        e.nameOffset = central.Position();
        const uint8_t* name = central.Take(e.nameLength);

        local.resize(kLocalHeaderSize + e.nameLength);
        if (file.ReadAt(e.localOffset, local.data(), local.size()) != local.size()) throw Error(kErrorReadingZip);
        const auto* l = reinterpret_cast<const uint8_t*>(local.data());
        if (Get32(l) != kLocalSignature) throw Error(kInvalidLocalSignature);
        const uint16_t localFlag = Get16(l + 6);
        const bool sizesInDescriptor = (localFlag & kFlagDataDescriptor) != 0;
        if (Get16(l + 8) != e.method || Get16(l + 26) != e.nameLength ||
            std::memcmp(l + kLocalHeaderSize, name, e.nameLength) != 0 ||
            (!sizesInDescriptor &&
             (Get32(l + 14) != e.crc || Get32(l + 18) != e.compressedSize || Get32(l + 22) != e.uncompressedSize)))
            throw Error(kHeadersDisagree);
        e.dataStart = uint64_t{e.localOffset} + kLocalHeaderSize + e.nameLength + Get16(l + 28);
        if (e.dataStart + e.compressedSize > end.centralOffset) throw Error(kOverlappingEntries);

        central.Skip(uint64_t{e.extraLength} + commentLength);
        entries.push_back(e);
    }
    // The entries must fill the central directory exactly: a count that says
    // less or more than is there is a damaged or doctored archive.
    if (central.Position() != uint64_t{end.centralOffset} + end.centralSize) throw Error(kErrorReadingZip);

    std::vector<std::pair<uint64_t, uint64_t>> spans;
    spans.reserve(entries.size());
    for (const Entry& e : entries) spans.emplace_back(e.localOffset, e.dataStart + e.compressedSize);
    std::sort(spans.begin(), spans.end());
    for (size_t i = 1; i < spans.size(); ++i)
        if (spans[i].first < spans[i - 1].second) throw Error(kOverlappingEntries);
    return entries;
}

// The UTF-8 name that Info-ZIP keeps in an extra field next to a name in the
// local character set, if it belongs to this very name (its CRC says so).
std::optional<std::string> UnicodePathOf(const std::string& extra, const std::string& name) {
    size_t i = 0;
    while (i + 4 <= extra.size()) {
        const auto* p = reinterpret_cast<const uint8_t*>(extra.data() + i);
        const uint16_t id = Get16(p);
        const uint16_t size = Get16(p + 2);
        if (size > extra.size() - i - 4) break;
        if (id == kUnicodePathExtra && size >= 5 && p[4] == 1) {
            const uLong nameCrc =
                crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(name.data()), static_cast<uInt>(name.size()));
            if (Get32(p + 5) == static_cast<uint32_t>(nameCrc)) return extra.substr(i + 9, size - 5);
        }
        i += 4 + size;
    }
    return std::nullopt;
}

class Unpacker {
public:
    Unpacker(SourceFile& archive, const std::u16string& folder, FileSystem& files)
        : archive_(archive), folder_(folder), files_(files), input_(kStreamBufferSize), output_(kCopyChunkSize) {
        while (folder_.size() > 1 && (folder_.back() == u'/' || folder_.back() == kPathSeparator))
            folder_.pop_back();
        std::memset(&stream_, 0, sizeof stream_);
        int rc = inflateInit2(&stream_, -15);
        if (rc != Z_OK) throw Error(zError(rc));
    }
    ~Unpacker() { inflateEnd(&stream_); }
    Unpacker(const Unpacker&) = delete;
    Unpacker& operator=(const Unpacker&) = delete;

    void Extract(const Entry& e) {
        if (e.method != kMethodStored && e.method != kMethodDeflated) throw Error(kItemNotFound);
        const ZipEntryPath path = EntryPath(e);
        if (((e.externalAttributes >> 16) & kUnixFileTypeMask) == kUnixSymbolicLink) throw Error(kSymbolicLink);

        const size_t folderCount = path.isFolder ? path.components.size() : path.components.size() - 1;
        // (a folder entry with no components is the target folder itself)
        std::u16string target = folder_;
        for (size_t i = 0; i < folderCount; ++i) {
            target += kPathSeparator;
            target += path.components[i];
        }
        EnsureFolder(target);
        if (path.isFolder) return;
        target += kPathSeparator;
        target += path.components.back();

        if (e.method == kMethodStored && e.compressedSize != e.uncompressedSize)
            throw Error(e.compressedSize < e.uncompressedSize ? kStreamReadError : kWrongEntrySize);
        switch (files_.Kind(target)) {
        case PathKind::Missing:
            break;
        case PathKind::File:
            if (files_.OpenRead(target)->Identity() == archive_.Identity())
                RaiseCannotCreateFile(target, "It is the archive being unpacked.");
            break;
        default:
            RaiseCannotCreateFile(target, "Not a regular file.");
        }
        std::unique_ptr<TargetFile> out = files_.Create(target);
        uint32_t crc = 0;
        if (e.uncompressedSize > 0) crc = e.method == kMethodStored ? Copy(e, *out) : Inflate(e, *out);
        if (crc != e.crc) throw Error(kCrcError);
    }

private:
    ZipEntryPath EntryPath(const Entry& e) {
        const std::string name = ReadBytes(archive_, e.nameOffset, e.nameLength);
        // Each entry says for itself how its name is encoded: tools set bit 11 only
        // on names that need it. Unix tools without bit 11 write the system's
        // character set, which today is UTF-8; other names are code page 437.
        std::u16string decoded;
        if (e.flag & kFlagUtf8) {
            decoded = DecodeUtf8(name);
        } else if (auto unicode = UnicodePathOf(ReadBytes(archive_, e.nameOffset + e.nameLength, e.extraLength), name)) {
            decoded = DecodeUtf8(*unicode);
        } else if ((e.madeBy >> 8) == kHostUnix && IsUtf8(name)) {
            decoded = DecodeUtf8(name);
        } else {
            decoded = DecodeCp437(name);
        }
        std::optional<ZipEntryPath> path = ZipCleanEntryName(decoded);
        if (!path) throw Error(kInvalidPathCharacters);
        return std::move(*path);
    }

    // Creates the folders below the target folder one level at a time, and
    // refuses to pass through anything that is not a real folder (a link could
    // lead out of the target folder).
    void EnsureFolder(const std::u16string& folder) {
        if (folder == lastFolder_) return;
        size_t next = folder_.size();
        while (next < folder.size()) {
            next = folder.find(kPathSeparator, next + 1);
            if (next == std::u16string::npos) next = folder.size();
            const std::u16string level = folder.substr(0, next);
            switch (files_.Kind(level)) {
            case PathKind::Folder:
                break;
            case PathKind::Missing:
                files_.CreateFolder(level);
                break;
            default:
                RaiseCannotCreateFile(level, "Not a folder.");
            }
        }
        lastFolder_ = folder;
    }

    uint32_t Copy(const Entry& e, TargetFile& out) {
        uLong crc = crc32(0, nullptr, 0);
        for (uint64_t done = 0; done < e.uncompressedSize;) {
            size_t n = static_cast<size_t>(std::min<uint64_t>(output_.size(), e.uncompressedSize - done));
            if (archive_.ReadAt(e.dataStart + done, output_.data(), n) != n) throw Error(kStreamReadError);
            if (out.WriteAt(done, output_.data(), n) != n) throw Error(kStreamWriteError);
            crc = crc32(crc, output_.data(), static_cast<uInt>(n));
            done += n;
        }
        return static_cast<uint32_t>(crc);
    }

    // Decodes exactly the announced size: input is limited to the entry's own
    // compressed bytes, and a stream that would give more, or ends early, is refused.
    uint32_t Inflate(const Entry& e, TargetFile& out) {
        inflateReset(&stream_);
        uLong crc = crc32(0, nullptr, 0);
        uint64_t inputOffset = e.dataStart;
        uint64_t inputLeft = e.compressedSize;
        uint64_t produced = 0;
        stream_.avail_in = 0;
        for (;;) {
            if (stream_.avail_in == 0 && inputLeft > 0) {
                size_t n = static_cast<size_t>(std::min<uint64_t>(input_.size(), inputLeft));
                if (archive_.ReadAt(inputOffset, input_.data(), n) != n) throw Error(kStreamReadError);
                inputOffset += n;
                inputLeft -= n;
                stream_.next_in = input_.data();
                stream_.avail_in = static_cast<uInt>(n);
            }
            const uint64_t wanted = e.uncompressedSize - produced;
            // With everything announced decoded, one spare byte shows whether the
            // stream would go on.
            const auto room = static_cast<uInt>(wanted == 0 ? 1 : std::min<uint64_t>(output_.size(), wanted));
            stream_.next_out = output_.data();
            stream_.avail_out = room;
            const int rc = inflate(&stream_, Z_NO_FLUSH);
            const size_t n = room - stream_.avail_out;
            if (wanted == 0 && n > 0) throw Error(kWrongEntrySize);
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) throw Error(zError(rc));
            if (n > 0) {
                if (out.WriteAt(produced, output_.data(), n) != n) throw Error(kStreamWriteError);
                crc = crc32(crc, output_.data(), static_cast<uInt>(n));
                produced += n;
            }
            if (rc == Z_STREAM_END) break;
            if (rc == Z_BUF_ERROR) throw Error(kStreamReadError);  // the compressed bytes ran out
        }
        if (produced != e.uncompressedSize) throw Error(kStreamReadError);
        return static_cast<uint32_t>(crc);
    }

    SourceFile& archive_;
    std::u16string folder_;
    FileSystem& files_;
    std::vector<uint8_t> input_;
    std::vector<uint8_t> output_;
    z_stream stream_;
    std::u16string lastFolder_;
};

} // namespace

void ExtractZipFile(const std::u16string& ZipFileName, const std::u16string& Path) {
    ExtractZipFile(ZipFileName, Path, PlatformFileSystem());
}

void ExtractZipFile(const std::u16string& ZipFileName, const std::u16string& Path, FileSystem& files) {
    std::unique_ptr<SourceFile> archive = files.OpenRead(ZipFileName);
    const uint64_t size = archive->Size();
    if (size == 0) throw Error(kStreamReadError);
    const EndRecord end = FindEndRecord(*archive, size);
    const std::vector<Entry> entries = ReadEntries(*archive, end);
    files.CreateFolders(Path);
    Unpacker unpacker(*archive, Path, files);
    for (const Entry& e : entries) unpacker.Extract(e);
}

} // namespace vn
