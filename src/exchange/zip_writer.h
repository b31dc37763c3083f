#pragma once
// Packing, with the archive size limit open to tests (nobody wants to write
// 4 GiB to see the refusal).
#include <cstdint>
#include <string>

#include "exchange/zip_format.h"

namespace vn {

class FileSystem;

void ZipDirectoryContentsWithLimit(const std::u16string& ZipFileName, const std::u16string& Path, int Compression,
                                   FileSystem& files, uint64_t maxArchiveSize);

} // namespace vn
