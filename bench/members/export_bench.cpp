// lunmark --export of 100,000 generated members to .xlsx, run as the program
// itself from a shell: the time and the program's peak resident memory
// (targets: under 2 s and under 100 MB), the file's size, and beside them the
// time of lunmark --import reading the same file into an empty register.
#include "bench/support/generated_members.h"
#include "db/connection.h"
#include "db/database_target.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int kMembers = 100000;

struct Run {
    double seconds = 0;
    int exitCode = -1;
    QByteArray output;
};

Run runProgram(const QStringList& arguments) {
    QProcess program;
    program.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    program.start(QStringLiteral(LUNMARK_PROGRAM), arguments);
    program.waitForFinished(-1);
    return {double(timer.nsecsElapsed()) / 1e9, program.exitCode(), program.readAll().trimmed()};
}

// The largest resident memory of any program this one has waited for, in MB.
double childrenPeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

db::DatabaseTarget sqliteFile(const QString& path) {
    db::DatabaseTarget target;
    target.path = path;
    return target;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    const QString source = folder.filePath(QStringLiteral("source.sqlite"));
    const QString target = folder.filePath(QStringLiteral("target.sqlite"));
    const QString file = folder.filePath(QStringLiteral("members.xlsx"));
    for (const QString& path : {source, target})
        db::createDatabase(sqliteFile(path));
    db::setDatabaseTarget(sqliteFile(source));
    bench::insertMembers(kMembers, {.allActive = false, .fullRecords = true});
    db::closeConnection();

    const Run exported =
        runProgram({QStringLiteral("--export"), file, QStringLiteral("--database"), source});
    const double exportPeak = childrenPeakMegabytes();
    const Run imported =
        runProgram({QStringLiteral("--import"), file, QStringLiteral("--database"), target});
    if (exported.exitCode != 0 || imported.exitCode != 0) {
        std::fprintf(stderr, "failed: %s / %s\n", exported.output.constData(),
                     imported.output.constData());
        return 1;
    }
    std::printf("members                 %d\n", kMembers);
    std::printf("--export to .xlsx       %.2f s   (target < 2 s)\n", exported.seconds);
    std::printf("  peak resident memory  %.1f MB  (target < 100 MB)\n", exportPeak);
    std::printf("  file size             %.1f MB\n",
                double(QFileInfo(file).size()) / (1024.0 * 1024.0));
    std::printf("--import of that file   %.2f s\n", imported.seconds);
    std::printf("  %s\n", imported.output.constData());
    return 0;
}
