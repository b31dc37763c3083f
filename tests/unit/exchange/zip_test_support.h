#pragma once
// Helpers of the archive tests: scratch folders on disk, and a generator of raw
// zip archives in which every field can be set to a lie.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vn::test {

namespace fs = std::filesystem;

// A fresh folder below the system's temporary folder, removed again at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& Path() const { return path_; }
    fs::path operator/(const fs::path& p) const { return path_ / p; }

private:
    fs::path path_;
};

std::u16string U16(const fs::path& p);
void WriteBytes(const fs::path& p, const std::string& bytes);
std::string ReadBytes(const fs::path& p);
// Every file and folder below `root`, by relative generic path; folders end in "/",
// and files map to their content.
std::map<std::string, std::string> Tree(const fs::path& root);

std::string RawDeflate(const std::string& data);
std::string RawInflate(const std::string& data, size_t size);
uint32_t Crc(const std::string& data);

uint16_t Le16(const std::string& b, size_t at);
uint32_t Le32(const std::string& b, size_t at);

// One entry of a generated archive. Unset optionals take their honest values.
struct RawEntry {
    std::string name;
    std::string content;
    uint16_t method = 8;  // 8 deflates `content`, anything else stores it as it is
    uint16_t flag = 0x0800;
    uint16_t madeBy = 20;
    uint32_t external = 0;
    std::string extra;
    std::optional<std::string> data;  // the entry's data bytes, instead of `content` encoded
    std::optional<uint32_t> crc, compressedSize, uncompressedSize;
    std::optional<std::string> localName;
    std::optional<uint16_t> localMethod;
    std::optional<uint32_t> localCrc, localCompressedSize;
    std::optional<uint32_t> localOffset;  // where the central entry says its local header is
    bool descriptor = false;              // sizes and CRC behind the data (flag bit 3)
};

struct RawArchive {
    std::vector<RawEntry> entries;
    std::string prefix;  // bytes before the first entry
    std::string comment;
    std::optional<uint16_t> count;
    std::optional<uint32_t> centralOffset, centralSize;
    std::optional<uint16_t> commentLength;
    std::string Build() const;
};

} // namespace vn::test
