#include "zip_test_support.h"

#include <zlib.h>

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace vn::test {

ScratchFolder::ScratchFolder() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("vn-zip-" + std::to_string(random()) + std::to_string(random()));
    fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::u16string U16(const fs::path& p) { return p.u16string(); }

void WriteBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + p.string());
}

std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::map<std::string, std::string> Tree(const fs::path& root) {
    std::map<std::string, std::string> tree;
    if (!fs::exists(root)) return tree;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        std::string relative = item.path().lexically_relative(root).generic_string();
        if (item.is_symlink())
            tree[relative] = "-> " + fs::read_symlink(item.path()).string();
        else if (item.is_directory())
            tree[relative + "/"] = "";
        else
            tree[relative] = ReadBytes(item.path());
    }
    return tree;
}

std::string RawDeflate(const std::string& data) {
    z_stream z = {};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, data.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string RawInflate(const std::string& data, size_t size) {
    z_stream z = {};
    inflateInit2(&z, -15);
    std::string out(size + 1, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    int rc = inflate(&z, Z_FINISH);
    out.resize(z.total_out);
    inflateEnd(&z);
    if (rc != Z_STREAM_END) throw std::runtime_error("not a whole raw deflate stream");
    return out;
}

uint32_t Crc(const std::string& data) {
    return static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

uint16_t Le16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b.at(at)) | (static_cast<uint8_t>(b.at(at + 1)) << 8));
}
uint32_t Le32(const std::string& b, size_t at) { return Le16(b, at) | (static_cast<uint32_t>(Le16(b, at + 2)) << 16); }

namespace {

void Put16(std::string& b, uint16_t v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>(v >> 8);
}
void Put32(std::string& b, uint32_t v) {
    Put16(b, static_cast<uint16_t>(v));
    Put16(b, static_cast<uint16_t>(v >> 16));
}

} // namespace

std::string RawArchive::Build() const {
    std::string out = prefix;
    std::string central;
    for (const RawEntry& e : entries) {
        const std::string data = e.data ? *e.data : e.method == 8 ? RawDeflate(e.content) : e.content;
        const uint32_t crc = e.crc.value_or(Crc(e.content));
        const uint32_t compressed = e.compressedSize.value_or(static_cast<uint32_t>(data.size()));
        const uint32_t uncompressed = e.uncompressedSize.value_or(static_cast<uint32_t>(e.content.size()));
        const uint16_t flag = static_cast<uint16_t>(e.flag | (e.descriptor ? 0x0008 : 0));
        const uint32_t offset = static_cast<uint32_t>(out.size());

        const std::string localName = e.localName.value_or(e.name);
        Put32(out, 0x04034B50);
        Put16(out, 20);
        Put16(out, flag);
        Put16(out, e.localMethod.value_or(e.method));
        Put32(out, 0x58B16DAF);
        Put32(out, e.descriptor ? 0 : e.localCrc.value_or(crc));
        Put32(out, e.descriptor ? 0 : e.localCompressedSize.value_or(compressed));
        Put32(out, e.descriptor ? 0 : uncompressed);
        Put16(out, static_cast<uint16_t>(localName.size()));
        Put16(out, static_cast<uint16_t>(e.extra.size()));
        out += localName + e.extra + data;
        if (e.descriptor) {
            Put32(out, 0x08074B50);
            Put32(out, crc);
            Put32(out, compressed);
            Put32(out, uncompressed);
        }

        Put32(central, 0x02014B50);
        Put16(central, e.madeBy);
        Put16(central, 20);
        Put16(central, flag);
        Put16(central, e.method);
        Put32(central, 0x58B16DAF);
        Put32(central, crc);
        Put32(central, compressed);
        Put32(central, uncompressed);
        Put16(central, static_cast<uint16_t>(e.name.size()));
        Put16(central, static_cast<uint16_t>(e.extra.size()));
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, e.external);
        Put32(central, e.localOffset.value_or(offset));
        central += e.name + e.extra;
    }
    const uint32_t centralStart = static_cast<uint32_t>(out.size());
    out += central;
    Put32(out, 0x06054B50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, count.value_or(static_cast<uint16_t>(entries.size())));
    Put16(out, count.value_or(static_cast<uint16_t>(entries.size())));
    Put32(out, centralSize.value_or(static_cast<uint32_t>(central.size())));
    Put32(out, centralOffset.value_or(centralStart));
    Put16(out, commentLength.value_or(static_cast<uint16_t>(comment.size())));
    out += comment;
    return out;
}

} // namespace vn::test
