// The program's icon file holds an image drawn for each size the notification area
// asks at the usual display scales, so the tray icon is never a stretched picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "platform/dpi_scale.h"

namespace vn {
namespace {

struct IconImage {
    int size;
    int bitsPerPixel;
    bool operator<(const IconImage& o) const { return size < o.size || (size == o.size && bitsPerPixel < o.bitsPerPixel); }
};

unsigned Word(const std::string& b, size_t at) {
    return static_cast<std::uint8_t>(b.at(at)) | static_cast<std::uint8_t>(b.at(at + 1)) << 8;
}

// The square images of an .ico file (its directory: type 1, then 16-byte entries).
std::set<IconImage> ImagesOf(const std::string& bytes) {
    std::set<IconImage> images;
    if (bytes.size() < 6 || Word(bytes, 0) != 0 || Word(bytes, 2) != 1) return images;
    for (unsigned i = 0; i < Word(bytes, 4); ++i) {
        const size_t entry = 6 + 16 * static_cast<size_t>(i);
        const int width = static_cast<std::uint8_t>(bytes.at(entry)), height = static_cast<std::uint8_t>(bytes.at(entry + 1));
        if (width == height) images.insert({width == 0 ? 256 : width, static_cast<int>(Word(bytes, entry + 6))});
    }
    return images;
}

TEST(ProgramIcon, HoldsAFullColourImageOfTheTraySizeAtEachUsualScale) {
    std::ifstream file(std::string(VN_SOURCE_DIR) + "/resources/VantoryNote.ico", std::ios::binary);
    ASSERT_TRUE(file);
    const std::set<IconImage> images = ImagesOf({std::istreambuf_iterator<char>(file), {}});
    for (int dpi : {96, 120, 144, 192}) {
        const int size = ScaleForDpi(16, dpi);  // the small icon size at that scale
        EXPECT_EQ(images.count({size, 32}), 1u) << size << " px for " << ScalePercent(dpi) << " %";
    }
    EXPECT_EQ(images.count({32, 32}), 1u) << "the window's large icon at 100 %";
}

} // namespace
} // namespace vn
