#pragma once

#include <QTemporaryDir>

// A register of 100,000 members with typical values, in a temporary folder,
// set as the shared connection's database while it exists.
namespace bench {

constexpr int kMembers = 100000;

struct MemberRegister {
    MemberRegister();
    QTemporaryDir folder;
    QString path;
};

// Runs the benchmarks of the program with a Qt core application, then closes
// the shared connection.
int runBenchmarks(int argc, char** argv);

} // namespace bench
