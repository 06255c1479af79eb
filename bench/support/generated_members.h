#pragma once

#include <QString>

// Members generated for the benchmarks: numbered from count down to 1 (six
// digits), ten family names, half 先生 and half 小姐, each with telephone
// and mobile numbers of its own and a birthday in both calendars.
namespace bench {

struct MemberMix {
    // Every member active; otherwise every tenth one is not.
    bool allActive = false;
    // Every text column filled as a real register has them; otherwise the
    // common ones, with a note for every third member.
    bool fullRecords = false;
};

// The name of generated member i.
QString generatedName(int i);

// Inserts count generated members into the shared connection's database in
// one transaction.
void insertMembers(int count, MemberMix mix);

} // namespace bench
