#pragma once
// Printer family 7: the plain commands and text printing on port p.

#include "command_table.h"

namespace qv::test {

inline const CommandCase kPrinter7Commands[] = {
    {"QV7Reset", [](int32_t p) { return QV7Reset(p); }, {"1B 40"}, 2},
    {"QV7LinFed ignores n", [](int32_t p) { return QV7LinFed(p, 5); }, {"0A"}, 1},
    {"QV7CsrLEnd", [](int32_t p) { return QV7CsrLEnd(p); }, {"0D"}, 1},
    {"QV7MovCrs second value first",
     [](int32_t p) { return QV7MovCrs(p, 1, 2); },
     {"1B 24 02 01"},
     4},
    {"QV7MovCrs low bytes", [](int32_t p) { return QV7MovCrs(p, 0x1FF, -1); }, {"1B 24 FF FF"}, 4},
    {"QV7PrnMod", [](int32_t p) { return QV7PrnMod(p, 1, 2, 3); }, {"1B 21 01 02 03"}, 5},
    {"QV7Cut", [](int32_t p) { return QV7Cut(p); }, {"1B 69"}, 2},
    {"QV7Eject", [](int32_t p) { return QV7Eject(p); }, {"1B 0C"}, 2},
    {"QV7PrnBar a c b d e",
     [](int32_t p) { return QV7PrnBar(p, 1, 2, 3, 4, 5, "123"); },
     {"1D 6B 01 03 02 04 05", "31 32 33", "00"},
     1},
    {"QV7PrnBar empty text",
     [](int32_t p) { return QV7PrnBar(p, 0x49, 0, 0, 0, 0, ""); },
     {"1D 6B 49 00 00 00 00", "00"},
     1},
    {"QV7PrnBig c b a d e",
     [](int32_t p) { return QV7PrnBig(p, 1, 2, 3, 4, 5, "AB"); },
     {"1B 63 03 02 01 04 05", "41 42", "00"},
     1},
    {"QV7Prn",
     [](int32_t p) { return QV7Prn(p, 1, 2, 3, 4, 5, "AB"); },
     {"1B 24 02 01", "1B 21 03 04 05", "41 42"},
     1},
    {"QV7Prn empty text",
     [](int32_t p) { return QV7Prn(p, 1, 2, 3, 4, 5, ""); },
     {"1B 24 02 01", "1B 21 03 04 05"},
     0},
    {"QV7Prn missing text",
     [](int32_t p) { return QV7Prn(p, 1, 2, 3, 4, 5, nullptr); },
     {"1B 24 02 01", "1B 21 03 04 05"},
     0},
};

} // namespace qv::test
