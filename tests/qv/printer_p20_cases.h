#pragma once
// Printer family P20: its commands on port p with their sends and result.

#include "command_table.h"

namespace qv::test {

inline const CommandCase kP20Commands[] = {
    {"P20Reset", [](int32_t p) { return P20Reset(p); }, {"1B 52 0D"}, 3},
    {"P20Open", [](int32_t p) { return P20Open(p); }, {"1B 47 0D"}, 3},
    {"P20Cut", [](int32_t p) { return P20Cut(p); }, {"1B 43 0D"}, 3},
    {"P20CutFom 1: R", [](int32_t p) { return P20CutFom(p, 1); }, {"1B 56 52 0D"}, 4},
    {"P20CutFom 2: J", [](int32_t p) { return P20CutFom(p, 2); }, {"1B 56 4A 0D"}, 4},
    {"P20CutFom 7: B", [](int32_t p) { return P20CutFom(p, 7); }, {"1B 56 42 0D"}, 4},
    {"P20CutFom 0x101: B", [](int32_t p) { return P20CutFom(p, 0x101); }, {"1B 56 42 0D"}, 4},
    {"P20Stamp", [](int32_t p) { return P20Stamp(p); }, {"1B 53 0D"}, 3},
    {"P20CanHed", [](int32_t p) { return P20CanHed(p); }, {"1B 73 00"}, 3},
    {"P20LinFed in one send", [](int32_t p) { return P20LinFed(p, 1, 3); }, {"1B 4C 52 33 0D"}, 5},
    {"P20LinFed digit of 10", [](int32_t p) { return P20LinFed(p, 0, 10); }, {"1B 4C 42 3A 0D"}, 5},
    {"P20LinFed digit of -1", [](int32_t p) { return P20LinFed(p, 2, -1); }, {"1B 4C 4A 2F 0D"}, 5},
    {"P20Prn J",
     [](int32_t p) { return P20Prn(p, 2, 1, "AB"); },
     {"1B 50 4A 31", "41 42", "0D"},
     1},
    {"P20Prn B",
     [](int32_t p) { return P20Prn(p, 0, 1, "AB"); },
     {"1B 50 42 31", "41 42", "0D"},
     1},
    {"P20Prn empty text", [](int32_t p) { return P20Prn(p, 1, 0, ""); }, {"1B 50 52 30", "0D"}, 1},
    {"P20PrnBig",
     [](int32_t p) { return P20PrnBig(p, 1, 2, "AB"); },
     {"1B 50 52 32", "0E 41 0E 42", "0D"},
     1},
    {"P20PrnBig takes a high byte as a pair",
     [](int32_t p) { return P20PrnBig(p, 3, 0, "A\xA4\xA4"); },
     {"1B 50 42 30", "0E 41 A4 0E A4", "0D"},
     1},
    {"P20SetHed all lines",
     [](int32_t p) { return P20SetHed(p, "A", "BC", "D", "E", "FG"); },
     {"1B 73 0C", "41", "0A", "42 43", "0A", "44", "0A", "45", "0A", "46 47", "0A"},
     1},
    {"P20SetHed empty lines keep their 0A",
     [](int32_t p) { return P20SetHed(p, "ABCD", "", "EF", "", ""); },
     {"1B 73 0A", "41 42 43 44", "0A", "0A", "45 46", "0A", "0A"},
     1},
    {"P20SetHed no lines",
     [](int32_t p) { return P20SetHed(p, "", "", "", "", ""); },
     {"1B 73 04", "0A", "0A", "0A", "0A"},
     1},
};

} // namespace qv::test
