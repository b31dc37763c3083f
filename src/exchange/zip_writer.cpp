#include "exchange/zip_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "exchange/zip_archive.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "platform/errors.h"

namespace vn {

using namespace zipformat;

namespace {

// The archive's bytes go through one 64 KiB buffer: headers and compressed data
// of small files collect there and reach the disk in few writes, and the final
// CRC and sizes of an entry whose data is still in the buffer are patched in
// memory instead of by seeking back in the file.
class ArchiveOutput {
public:
    ArchiveOutput(TargetFile& file, uint64_t maxSize) : file_(file), maxSize_(maxSize), buffer_(kStreamBufferSize) {}

    uint64_t Position() const { return base_ + used_; }
    uint8_t* Space() { return buffer_.data() + used_; }
    size_t Free() const { return buffer_.size() - used_; }
    void Commit(size_t count) { used_ += count; }

    void Append(const void* data, size_t count, const char* failureText) {
        const auto* p = static_cast<const uint8_t*>(data);
        while (count > 0) {
            if (Free() == 0) Flush(failureText);
            size_t n = std::min(count, Free());
            std::memcpy(Space(), p, n);
            Commit(n);
            p += n;
            count -= n;
        }
    }

    void Flush(const char* failureText) {
        if (Position() > maxSize_) throw Error(kZipTooLarge);
        if (used_ == 0) return;
        if (file_.WriteAt(base_, buffer_.data(), used_) != used_) throw Error(failureText);
        base_ += used_;
        used_ = 0;
    }

    // Rewrites bytes already appended, in the buffer or in the file.
    void Patch(uint64_t offset, const uint8_t* data, size_t count, const char* failureText) {
        if (offset < base_) {
            size_t inFile = static_cast<size_t>(std::min<uint64_t>(count, base_ - offset));
            if (file_.WriteAt(offset, data, inFile) != inFile) throw Error(failureText);
            offset += inFile;
            data += inFile;
            count -= inFile;
        }
        if (count > 0) std::memcpy(buffer_.data() + (offset - base_), data, count);
    }

    // Drops everything from `position` on; what already reached the file is
    // overwritten or cut off later.
    void Rewind(uint64_t position) {
        if (position >= base_) {
            used_ = static_cast<size_t>(position - base_);
        } else {
            base_ = position;
            used_ = 0;
        }
    }

private:
    TargetFile& file_;
    uint64_t maxSize_;
    std::vector<uint8_t> buffer_;
    uint64_t base_ = 0;  // archive offset of buffer_[0]
    size_t used_ = 0;
};

class ArchiveWriter {
public:
    ArchiveWriter(TargetFile& file, int method, uint64_t maxSize)
        : file_(file), output_(file, maxSize), maxSize_(maxSize), method_(static_cast<uint16_t>(method)),
          input_(kStreamBufferSize) {
        std::memset(&stream_, 0, sizeof stream_);
        // Raw deflate (no zlib header or trailer), zlib's default level and strategy.
        int rc = deflateInit2(&stream_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
        if (rc != Z_OK) throw Error(zError(rc));
    }
    ~ArchiveWriter() { deflateEnd(&stream_); }
    ArchiveWriter(const ArchiveWriter&) = delete;
    ArchiveWriter& operator=(const ArchiveWriter&) = delete;

    void AddFile(const std::u16string& name, SourceFile& source) {
        if (entries_.size() >= kMaxEntries) throw Error(kTooManyFiles);
        const uint64_t size = source.Size();
        if (size > kMaxFileSize) throw Error(kFileTooLarge);

        TZipHeader h;
        h.MadeByVersion = std::max(h.MadeByVersion, kVersion);
        h.RequiredVersion = std::max(h.RequiredVersion, kVersion);
        h.Flag = kFlagUtf8;
        h.CompressionMethod = method_;
        const LocalFileTime t = source.LastWriteTime();
        h.ModifiedDateTime = DosDateTime(t.year, t.month, t.day, t.hour, t.minute, t.second);
        h.UncompressedSize = static_cast<uint32_t>(size);
        h.FileName = EncodeUtf8(name);
        if (h.FileName.size() > 0xFFFF) throw Error(kErrorWritingZip);
        h.FileNameLength = static_cast<uint16_t>(h.FileName.size());

        const uint64_t start = output_.Position();
        h.LocalHeaderOffset = static_cast<uint32_t>(start);
        uint8_t local[kLocalHeaderSize];
        Put32(local, kLocalSignature);
        PutLocalFields(local + 4, h);
        output_.Append(local, sizeof local, kErrorWritingZip);
        output_.Append(h.FileName.data(), h.FileName.size(), kErrorWritingZip);

        const uint64_t dataStart = output_.Position();
        // The CRC is taken from the same reads that feed the compressor: the
        // bytes written are those of a separate CRC pass, with one read instead of two.
        h.CRC32 = method_ == kMethodDeflated ? Deflate(source, size) : Store(source, size);
        const uint64_t compressed = output_.Position() - dataStart;
        const uint64_t end = output_.Position() + centralSize_ + kCentralHeaderSize + h.FileName.size() + kEndRecordSize;
        if (compressed > kMaxFileSize || end > maxSize_) {
            output_.Rewind(start);
            throw Error(kZipTooLarge);
        }
        h.CompressedSize = static_cast<uint32_t>(compressed);
        PutLocalFields(local + 4, h);
        output_.Patch(start + 4, local + 4, kLocalHeaderSize - 4, kErrorWritingZip);

        centralSize_ += kCentralHeaderSize + h.FileName.size();
        endOfEntries_ = output_.Position();
        entries_.push_back(std::move(h));
    }

    // Writes the central directory and the end record behind the last completed
    // entry and cuts off anything an unfinished entry left behind it.
    void Close() {
        output_.Rewind(endOfEntries_);
        const uint64_t centralOffset = output_.Position();
        for (const TZipHeader& h : entries_) {
            uint8_t c[kCentralHeaderSize];
            Put32(c, kCentralSignature);
            Put16(c + 4, h.MadeByVersion);
            PutLocalFields(c + 6, h);
            Put16(c + 32, h.FileCommentLength);
            Put16(c + 34, h.DiskNumberStart);
            Put16(c + 36, h.InternalAttributes);
            Put32(c + 38, h.ExternalAttributes);
            Put32(c + 42, h.LocalHeaderOffset);
            output_.Append(c, sizeof c, kErrorWritingZip);
            output_.Append(h.FileName.data(), h.FileName.size(), kErrorWritingZip);
        }
        uint8_t e[kEndRecordSize] = {};
        Put32(e, kEndSignature);
        Put16(e + 8, static_cast<uint16_t>(entries_.size()));
        Put16(e + 10, static_cast<uint16_t>(entries_.size()));
        Put32(e + 12, static_cast<uint32_t>(output_.Position() - centralOffset));
        Put32(e + 16, static_cast<uint32_t>(centralOffset));
        output_.Append(e, sizeof e, kErrorWritingZip);
        output_.Flush(kErrorWritingZip);
        if (!file_.Truncate(output_.Position())) throw Error(kErrorWritingZip);
    }

private:
    size_t ReadChunk(SourceFile& source, uint64_t offset, uint64_t size) {
        size_t want = static_cast<size_t>(std::min<uint64_t>(input_.size(), size - offset));
        if (want > 0 && source.ReadAt(offset, input_.data(), want) != want) throw Error(kStreamReadError);
        return want;
    }

    uint32_t Deflate(SourceFile& source, uint64_t size) {
        deflateReset(&stream_);
        uLong crc = crc32(0, nullptr, 0);
        uint64_t offset = 0;
        int flush = Z_NO_FLUSH;
        while (flush != Z_FINISH) {
            size_t n = ReadChunk(source, offset, size);
            offset += n;
            crc = crc32(crc, input_.data(), static_cast<uInt>(n));
            flush = offset == size ? Z_FINISH : Z_NO_FLUSH;
            stream_.next_in = input_.data();
            stream_.avail_in = static_cast<uInt>(n);
            for (;;) {
                if (output_.Free() == 0) output_.Flush(kStreamWriteError);
                const auto room = static_cast<uInt>(output_.Free());
                stream_.next_out = output_.Space();
                stream_.avail_out = room;
                int rc = deflate(&stream_, flush);
                output_.Commit(room - stream_.avail_out);
                if (rc == Z_STREAM_END) break;
                if (rc != Z_OK && rc != Z_BUF_ERROR) throw Error(zError(rc));
                if (flush == Z_NO_FLUSH && stream_.avail_in == 0 && stream_.avail_out != 0) break;
            }
        }
        return static_cast<uint32_t>(crc);
    }

    uint32_t Store(SourceFile& source, uint64_t size) {
        uLong crc = crc32(0, nullptr, 0);
        for (uint64_t offset = 0; offset < size;) {
            size_t n = ReadChunk(source, offset, size);
            offset += n;
            crc = crc32(crc, input_.data(), static_cast<uInt>(n));
            output_.Append(input_.data(), n, kStreamWriteError);
        }
        return static_cast<uint32_t>(crc);
    }

    TargetFile& file_;
    ArchiveOutput output_;
    uint64_t maxSize_;
    uint16_t method_;
    std::vector<uint8_t> input_;
    z_stream stream_;
    std::vector<TZipHeader> entries_;
    uint64_t centralSize_ = 0;
    uint64_t endOfEntries_ = 0;
};

} // namespace

void ZipDirectoryContentsWithLimit(const std::u16string& ZipFileName, const std::u16string& Path, int Compression,
                                   FileSystem& files, uint64_t maxArchiveSize) {
    if (Compression != kMethodDeflated && Compression != kMethodStored) throw Error(kItemNotFound);
    std::unique_ptr<TargetFile> archive = files.Create(ZipFileName);
    const FileIdentity archiveIdentity = archive->Identity();
    ArchiveWriter writer(*archive, Compression, maxArchiveSize);
    try {
        const std::vector<ListedFile> listed = files.ListFiles(Path);
        // One of the listed files may be the archive itself, which is left out.
        if (listed.size() > size_t{kMaxEntries} + 1) throw Error(kTooManyFiles);
        for (const ListedFile& file : listed) {
            std::unique_ptr<SourceFile> source = files.OpenRead(file.path);
            if (source->Identity() == archiveIdentity) continue;
            writer.AddFile(file.name, *source);
        }
    } catch (...) {
        // The archive stays a valid zip of the entries completed so far; the
        // first failure is the one reported.
        try {
            writer.Close();
        } catch (...) {
        }
        throw;
    }
    writer.Close();
}

void ZipDirectoryContents(const std::u16string& ZipFileName, const std::u16string& Path, int Compression,
                          FileSystem& files) {
    ZipDirectoryContentsWithLimit(ZipFileName, Path, Compression, files, kMaxArchiveSize);
}

void ZipDirectoryContents(const std::u16string& ZipFileName, const std::u16string& Path, int Compression) {
    ZipDirectoryContents(ZipFileName, Path, Compression, PlatformFileSystem());
}

} // namespace vn
