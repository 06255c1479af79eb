#pragma once
// The VFD character display's commands on port p.

#include "command_table.h"

namespace qv::test {

inline const std::uint8_t kPattern[5] = {0x7F, 0x00, 0x41, 0x00, 0x7F};

inline const CommandCase kVfdCommands[] = {
    {"VFDSay second value first",
     [](int32_t p) { return VFDSay(p, 2, 5, "AB"); },
     {"1F 24 05 02", "41 42"},
     2},
    {"VFDSay empty text", [](int32_t p) { return VFDSay(p, 2, 5, ""); }, {"1F 24 05 02"}, 1},
    {"VFDSay missing text", [](int32_t p) { return VFDSay(p, 1, 1, nullptr); }, {"1F 24 01 01"}, 1},
    {"VFDMovCrs second value first",
     [](int32_t p) { return VFDMovCrs(p, 1, 20); },
     {"1F 24 14 01"},
     4},
    {"VFDCsrLef", [](int32_t p) { return VFDCsrLef(p); }, {"08"}, 1},
    {"VFDCsrRit", [](int32_t p) { return VFDCsrRit(p); }, {"09"}, 1},
    {"VFDCsrUp", [](int32_t p) { return VFDCsrUp(p); }, {"1F 0A"}, 2},
    {"VFDCsrDn", [](int32_t p) { return VFDCsrDn(p); }, {"0A"}, 1},
    {"VFDCsrLEnd", [](int32_t p) { return VFDCsrLEnd(p); }, {"0D"}, 1},
    {"VFDCsrREnd", [](int32_t p) { return VFDCsrREnd(p); }, {"1F 0D"}, 2},
    {"VFDCsrHom", [](int32_t p) { return VFDCsrHom(p); }, {"0B"}, 1},
    {"VFDCsrBot", [](int32_t p) { return VFDCsrBot(p); }, {"1F 42"}, 2},
    {"VFDCls", [](int32_t p) { return VFDCls(p); }, {"0C"}, 1},
    {"VFDReset", [](int32_t p) { return VFDReset(p); }, {"1B 40"}, 2},
    {"VFDTest", [](int32_t p) { return VFDTest(p); }, {"1F 40"}, 2},
    {"VFDBriAdj", [](int32_t p) { return VFDBriAdj(p, 4); }, {"1F 58 04"}, 3},
    {"VFDBlnSet", [](int32_t p) { return VFDBlnSet(p, 0x32); }, {"1F 45 32"}, 3},
    {"VFDCodSet", [](int32_t p) { return VFDCodSet(p, 0x10); }, {"1B 74 10"}, 3},
    {"VFDChrSet", [](int32_t p) { return VFDChrSet(p, 0x0D); }, {"1B 52 0D"}, 3},
    {"VFDChrRev", [](int32_t p) { return VFDChrRev(p, 1); }, {"1F 72 01"}, 3},
    {"VFDOvrMod", [](int32_t p) { return VFDOvrMod(p); }, {"1F 01"}, 2},
    {"VFDVerScr", [](int32_t p) { return VFDVerScr(p); }, {"1F 02"}, 2},
    {"VFDHorScr", [](int32_t p) { return VFDHorScr(p); }, {"1F 03"}, 2},
    {"VFDChrDnLoad sends 00 bytes of the pattern",
     [](int32_t p) { return VFDChrDnLoad(p, 0x20, kPattern); },
     {"1B 26 01 20 01", "7F 00 41 00 7F"},
     5},
    {"VFDChrDnLoad without a pattern: a blank character",
     [](int32_t p) { return VFDChrDnLoad(p, 0x21, nullptr); },
     {"1B 26 01 21 01", "00 00 00 00 00"},
     5},
    {"VFDDelDnLoad", [](int32_t p) { return VFDDelDnLoad(p); }, {"1B 3F"}, 2},
    {"VFDEblDnLoad", [](int32_t p) { return VFDEblDnLoad(p, 1); }, {"1B 25 01"}, 3},
    {"VFDSetWin",
     [](int32_t p) { return VFDSetWin(p, 1, 2, 3, 4, 5, 6); },
     {"1B 57 01 02 03 04 05 06"},
     8},
    {"VFDSelDec", [](int32_t p) { return VFDSelDec(p, 2); }, {"1B 3D 02"}, 3},
    {"VFDMacSet", [](int32_t p) { return VFDMacSet(p); }, {"1F 3A"}, 2},
    {"VFDMacRun", [](int32_t p) { return VFDMacRun(p, 3, 0x14); }, {"1F 5E 03 14"}, 4},
    {"VFDSetTim", [](int32_t p) { return VFDSetTim(p, 13, 45); }, {"1F 54 0D 2D"}, 4},
    {"VFDShwTim", [](int32_t p) { return VFDShwTim(p); }, {"1F 55"}, 2},
};

} // namespace qv::test
