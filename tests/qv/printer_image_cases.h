#pragma once
// Printer images from BMP files: for each file, the sends that reach the
// printer on COM1 and the result.

#include "command_table.h"
#include "printer_bmp_files.h"

namespace qv::test {

struct ImageCase {
    const char* name;
    BmpLayout file;
    std::vector<std::string> sends;
    int32_t result;
};

// QV71BitMapD downloads the image in bands of 8 rows.
inline std::vector<ImageCase> qv71BitMapDCases() {
    using Bytes = std::vector<std::uint8_t>;
    std::vector<Bytes> twelveByTen;
    for (std::uint8_t k = 0; k < 10; ++k)
        twelveByTen.push_back({k, 0xF0});
    return {
        {"12 x 10 dots: 10 rows, 6 blank rows",
         {12, {}, twelveByTen},
         {"1F 2A 02 02", "FF 00", "FE 00", "FD 00", "FC 00", "FB 00", "FA 00", "F9 00", "F8 00",
          "F7 00", "F6 00", "00 00", "00 00", "00 00", "00 00", "00 00", "00 00", "1D 25"},
         2},
        {"32 x 8 dots: one full band",
         {32, {}, std::vector<Bytes>(8, {0x00, 0xFF, 0x0F, 0xF0})},
         {"1F 2A 04 01", "FF 00 F0 0F", "FF 00 F0 0F", "FF 00 F0 0F", "FF 00 F0 0F", "FF 00 F0 0F",
          "FF 00 F0 0F", "FF 00 F0 0F", "FF 00 F0 0F", "1D 25"},
         2},
        {"9 x 1 dots: 7 blank rows",
         {9, {}, {{0x00, 0x00}}},
         {"1F 2A 02 01", "FF 80", "00 00", "00 00", "00 00", "00 00", "00 00", "00 00", "00 00",
          "1D 25"},
         2},
        {"no escape guard",
         {16, {}, {{0xE4, 0xB0}}},
         {"1F 2A 02 01", "1B 4F", "00 00", "00 00", "00 00", "00 00", "00 00", "00 00", "00 00",
          "1D 25"},
         2},
    };
}

} // namespace qv::test
