#pragma once
// Every device family's command table, for the tests that run them all over
// one connection, where send boundaries do not show.

#include "command_table.h"
#include "display_cases.h"
#include "printer3_71_9_cases.h"
#include "printer7_cases.h"
#include "printer_p20_cases.h"

#include <span>
#include <utility>
#include <vector>

namespace qv::test {

inline const std::pair<const char*, std::span<const CommandCase>> kEveryFamilysCommands[] = {
    {"family 7", kPrinter7Commands},
    {"families 3, 71, 9", kCommonCommands},
    {"families 3 and 71", kFamily3And71Commands},
    {"family 9", kFamily9Commands},
    {"family P20", kP20Commands},
    {"VFD", kVfdCommands},
    {"LCD", kLcdCommands},
};

// A case's sends one after the other, as the device receives them.
inline std::vector<std::uint8_t> joinedSends(const CommandCase& c) {
    std::vector<std::uint8_t> out;
    for (const char* send : c.sends) {
        std::vector<std::uint8_t> b = hex(send);
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

} // namespace qv::test
