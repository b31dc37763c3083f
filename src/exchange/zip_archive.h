#pragma once
// The exchange archive: a plain zip file holding the contents of one folder.
// Written with the fixed layout below; read from any common zip tool's output,
// with every header checked before it is trusted.
#include <cstdint>
#include <string>

namespace vn {

class FileSystem;

// One entry: the fields of both its local header and its central directory
// entry. Fields marked "central only" do not appear in the local header.
struct TZipHeader {
    uint16_t MadeByVersion = 0;  // central only
    uint16_t RequiredVersion = 0;
    uint16_t Flag = 0;
    uint16_t CompressionMethod = 0;
    uint32_t ModifiedDateTime = 0;  // DOS time in the low 16 bits, DOS date in the high 16 bits
    uint32_t CRC32 = 0;
    uint32_t CompressedSize = 0;
    uint32_t UncompressedSize = 0;
    uint16_t FileNameLength = 0;
    uint16_t ExtraFieldLength = 0;
    uint16_t FileCommentLength = 0;   // central only
    uint16_t DiskNumberStart = 0;     // central only
    uint16_t InternalAttributes = 0;  // central only
    uint32_t ExternalAttributes = 0;  // central only
    uint32_t LocalHeaderOffset = 0;   // central only
    std::string FileName;             // UTF-8 (flag bit 11) or code page 437 bytes
    std::string ExtraField;
    std::string FileComment;
};

// Packs every file below the folder `Path` into a new archive `ZipFileName`
// (replacing a file there). `Compression` is the zip method: 8 (deflate) or 0
// (stored). Raises vn::Error with a text on failure; the archive is then still a
// valid zip of the entries completed before it.
void ZipDirectoryContents(const std::u16string& ZipFileName, const std::u16string& Path, int Compression);
void ZipDirectoryContents(const std::u16string& ZipFileName, const std::u16string& Path, int Compression,
                          FileSystem& files);

// Unpacks every entry of the archive `ZipFileName` into the folder `Path`.
// Nothing is ever written outside `Path`. Raises vn::Error with a text on failure;
// entries unpacked before it stay.
void ExtractZipFile(const std::u16string& ZipFileName, const std::u16string& Path);
void ExtractZipFile(const std::u16string& ZipFileName, const std::u16string& Path, FileSystem& files);

} // namespace vn
