// Importing 100,000 members through the import window's path from an .xlsx
// workbook and from the same rows as a UTF-8 .csv file, each into an empty
// database: members per second and the peak memory of the import.
#include "db/connection.h"
#include "members/import/workbook_import.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <xlsxwriter.h>

namespace {

constexpr int kMembers = 100000;

QString memberName(int i) {
    static const QString family = QStringLiteral("陳林黃張李王吳劉蔡楊");
    static const QString given = QStringLiteral("志明美玲家豪淑芬建宏雅婷俊傑");
    return QString(family[i % family.size()]) + given[(i / 10) % given.size()] +
           given[(i / 7) % given.size()];
}

// The 22 cells of member i as texts; column 9 is the birthday.
QStringList memberCells(int i) {
    const QDate birthday = QDate(1950, 1, 1).addDays(i % 20000);
    QStringList cells(22);
    cells[0] = QStringLiteral("M%1").arg(i, 6, 10, QChar('0'));
    cells[1] = memberName(i);
    cells[2] = i % 2 ? QStringLiteral("先生") : QStringLiteral("小姐");
    cells[3] = QStringLiteral("02-2345-%1").arg(i % 10000, 4, 10, QChar('0'));
    cells[4] = QStringLiteral("0912%1").arg(i, 6, 10, QChar('0'));
    cells[5] = QStringLiteral("02-2765-%1").arg(i % 10000, 4, 10, QChar('0'));
    cells[7] = QStringLiteral("類別%1").arg(i % 12);
    cells[8] = birthday.toString(QStringLiteral("yyyy/MM/dd"));
    cells[9] = QStringLiteral("%1/%2")
                   .arg(birthday.year() - 1911)
                   .arg(birthday.toString(QStringLiteral("MM/dd")));
    cells[10] = QStringLiteral("A1%1").arg(i, 8, 10, QChar('0'));
    cells[11] = QStringLiteral("96/05/01");
    cells[12] = QStringLiteral("台北市中正區重慶南路一段%1號").arg(i % 300);
    cells[13] = i % 3 ? QString() : QStringLiteral("常客");
    cells[21] = i % 10 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    return cells;
}

// The workbook as a spreadsheet program writes it: texts in the shared
// string table, the birthday as a date cell, column 22 as yes/no cells.
void writeXlsx(const QString& path) {
    lxw_workbook* workbook = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format* dateFormat = workbook_add_format(workbook);
    format_set_num_format(dateFormat, "yyyy/mm/dd");
    worksheet_write_string(sheet, 0, 0, "會員編號", nullptr);
    for (int i = 0; i < kMembers; ++i) {
        const QStringList cells = memberCells(i);
        const auto row = static_cast<lxw_row_t>(i + 1);
        for (int column = 0; column < 22; ++column) {
            const QString& text = cells.at(column);
            if (text.isEmpty())
                continue;
            if (column == 8) {
                const QDate date = QDate::fromString(text, QStringLiteral("yyyy/MM/dd"));
                lxw_datetime value = {date.year(), date.month(), date.day(), 0, 0, 0};
                worksheet_write_datetime(sheet, row, 8, &value, dateFormat);
            } else if (column == 21) {
                worksheet_write_boolean(sheet, row, 21, text == u"TRUE", nullptr);
            } else {
                worksheet_write_string(sheet, row, static_cast<lxw_col_t>(column),
                                       text.toUtf8().constData(), nullptr);
            }
        }
    }
    if (workbook_close(workbook) != LXW_NO_ERROR)
        qFatal("cannot write %s", qPrintable(path));
}

void writeCsv(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write("\xEF\xBB\xBF會員編號\r\n");
    for (int i = 0; i < kMembers; ++i)
        file.write(memberCells(i).join(',').toUtf8() + "\r\n");
}

// The workbooks, written once for the run.
struct Files {
    Files() {
        writeXlsx(xlsx());
        writeCsv(csv());
    }
    QString xlsx() const { return folder.filePath(QStringLiteral("members.xlsx")); }
    QString csv() const { return folder.filePath(QStringLiteral("members.csv")); }
    QTemporaryDir folder;
};

const Files& files() {
    static Files shared;
    return shared;
}

// The process's resident memory in MiB: now, or at its peak since the last
// resetPeakMemory().
double memoryMiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

// Gives memory freed earlier (by writing the workbooks) back to the system
// and starts a new peak from the memory in use now.
void resetPeakMemory() {
    malloc_trim(0);
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

void BM_ImportMembers(benchmark::State& state, bool fromXlsx) {
    const QString path = fromXlsx ? files().xlsx() : files().csv();
    int imported = 0;
    double peak = 0;
    double before = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir folder;
        const QString database = folder.filePath(QStringLiteral("db.sqlite"));
        db::createDatabase(database);
        db::setDatabasePath(database);
        resetPeakMemory();
        before = memoryMiB("VmRSS:");
        state.ResumeTiming();

        const std::unique_ptr<members::WorkbookReader> reader = members::openWorkbook(path);
        imported = members::importWorkbookRows(*reader, members::WorkbookImportPath::Window, false);

        state.PauseTiming();
        peak = std::max(peak, memoryMiB("VmHWM:"));
        db::closeConnection();
        state.ResumeTiming();
    }
    if (imported != kMembers)
        state.SkipWithError("not every member was imported");
    state.counters["members"] = imported;
    state.counters["members/s"] = benchmark::Counter(double(imported) * double(state.iterations()),
                                                     benchmark::Counter::kIsRate);
    state.counters["rss_before_MiB"] = before;
    state.counters["peak_MiB"] = peak;
    state.counters["import_MiB"] = peak - before;
}
BENCHMARK_CAPTURE(BM_ImportMembers, Xlsx, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ImportMembers, Csv, false)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();

// Reading alone, without storing: how much of an import the reader takes.
void BM_ReadWorkbook(benchmark::State& state, bool fromXlsx) {
    const QString path = fromXlsx ? files().xlsx() : files().csv();
    int rows = 0;
    for (auto _ : state) {
        const std::unique_ptr<members::WorkbookReader> reader = members::openWorkbook(path);
        members::SheetRow row;
        rows = 0;
        while (reader->nextRow(row))
            ++rows;
    }
    state.counters["rows/s"] =
        benchmark::Counter(double(rows) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK_CAPTURE(BM_ReadWorkbook, Xlsx, true)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_ReadWorkbook, Csv, false)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    files();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    db::closeConnection();
    return 0;
}
