#pragma once
// Constants, failure texts and little-endian field access shared by the packer
// and the unpacker.
#include <cstddef>
#include <cstdint>

#include "exchange/zip_archive.h"

namespace vn::zipformat {

constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kEndSignature = 0x06054B50;

constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kEndRecordSize = 22;
// The end record plus the longest comment it can announce.
constexpr size_t kEndSearchRange = 65535;

constexpr uint16_t kVersion = 20;
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDataDescriptor = 0x0008;
constexpr uint16_t kFlagUtf8 = 0x0800;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;

// The format's own limits: 16-bit entry counts, 32-bit sizes and offsets.
constexpr uint32_t kMaxEntries = 0xFFFF;
constexpr uint64_t kMaxFileSize = 0xFFFFFFFF;
constexpr uint64_t kMaxArchiveSize = 0xFFFFFFFF;

constexpr size_t kStreamBufferSize = 64 * 1024;
// The largest piece of decoded data written to a file at once.
constexpr size_t kCopyChunkSize = 61440;

// Failure texts, as the program shows them.
inline constexpr const char* kStreamReadError = "Stream read error";
inline constexpr const char* kStreamWriteError = "Stream write error";
inline constexpr const char* kErrorWritingZip = "Error writing zip file";
inline constexpr const char* kErrorReadingZip = "Error reading zip file";
inline constexpr const char* kInvalidCentralSignature = "Invalid Zip Central Header signature";
inline constexpr const char* kInvalidLocalSignature = "Invalid Zip Local Header signature";
inline constexpr const char* kItemNotFound = "Item not found";
inline constexpr const char* kInvalidPathCharacters = "Invalid characters in path";
inline constexpr const char* kHeadersDisagree = "Zip Local Header does not match Central Header";
inline constexpr const char* kOverlappingEntries = "Overlapping entries in zip file";
inline constexpr const char* kWrongEntrySize = "Wrong entry size in zip file";
inline constexpr const char* kCrcError = "CRC error in zip file";
inline constexpr const char* kSymbolicLink = "Symbolic link in zip file";
inline constexpr const char* kTooManyFiles = "Too many files for zip file";
inline constexpr const char* kFileTooLarge = "File too large for zip file";
inline constexpr const char* kZipTooLarge = "Zip file too large";

inline uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
inline void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void Put32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

// The 26 bytes of a local header after its signature (version through extra length).
void PutLocalFields(uint8_t* p, const TZipHeader& h);

// DOS date and time of a local calendar time; 0 outside 1980..2107.
uint32_t DosDateTime(int year, int month, int day, int hour, int minute, int second);

} // namespace vn::zipformat
