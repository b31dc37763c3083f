// Command-line face of the archive code, for checking it against other zip tools:
//   vn_zip_tool pack ARCHIVE FOLDER [METHOD]
//   vn_zip_tool unpack ARCHIVE FOLDER
#include <cstdio>
#include <cstring>
#include <string>

#include "exchange/zip_archive.h"
#include "platform/text_codec.h"
#include "platform/errors.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s pack|unpack ARCHIVE FOLDER [METHOD]\n", argv[0]);
        return 2;
    }
    const std::u16string archive = vn::DecodeUtf8(argv[2]);
    const std::u16string folder = vn::DecodeUtf8(argv[3]);
    try {
        if (std::strcmp(argv[1], "pack") == 0) {
            vn::ZipDirectoryContents(archive, folder, argc > 4 ? std::atoi(argv[4]) : 8);
        } else if (std::strcmp(argv[1], "unpack") == 0) {
            vn::ExtractZipFile(archive, folder);
        } else {
            return 2;
        }
    } catch (const vn::Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
