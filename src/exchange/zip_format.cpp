#include "exchange/zip_format.h"

namespace vn::zipformat {

void PutLocalFields(uint8_t* p, const TZipHeader& h) {
    Put16(p + 0, h.RequiredVersion);
    Put16(p + 2, h.Flag);
    Put16(p + 4, h.CompressionMethod);
    Put32(p + 6, h.ModifiedDateTime);
    Put32(p + 10, h.CRC32);
    Put32(p + 14, h.CompressedSize);
    Put32(p + 18, h.UncompressedSize);
    Put16(p + 22, h.FileNameLength);
    Put16(p + 24, h.ExtraFieldLength);
}

uint32_t DosDateTime(int year, int month, int day, int hour, int minute, int second) {
    // DOS dates count years from 1980 in seven bits.
    if (year < 1980 || year > 2107) return 0;
    const uint32_t time = static_cast<uint32_t>(second / 2 + minute * 32 + hour * 2048);
    const uint32_t date = static_cast<uint32_t>(day + month * 32 + (year - 1980) * 512);
    return (date << 16) | time;
}

} // namespace vn::zipformat
