// The member imports beside the database's own speed. Each file of the same
// generated members (100,000 rows; 65,535 for .xls, the most such a sheet
// holds) is imported through the import window's path into an empty
// database, and the same rows are stored by a plain prepared-statement
// insert in one transaction into the same schema: the floor no import can
// go below, measured in turns with the import. Prints each import's time
// beside the floor's, their ratio and goal, and the import's peak memory;
// the time to inflate the .xlsx file's parts alone; then the window's own
// import of the .xlsx file (caption, preview and progress dialog included)
// beside the bare one. Last, the command line's matching imports of the UTF-8
// .csv file: --preview beside the import of the same file, and --update of
// every row into a register of the same 100,000 generated members beside
// the same updates through one prepared statement in one transaction.
//
//   build/bench/members/import/member_import_bench [--runs N] [--files DIR]
//                                                  [--matching]
// (--files keeps the generated files in DIR, to import them by hand;
// --matching measures the preview and the update only.)
#include "base/big5.h"
#include "base/prompt.h"
#include "bench/support/generated_members.h"
#include "db/connection.h"
#include "formats/zip_archive.h"
#include "members/import/import_hooks.h"
#include "members/import/import_plan.h"
#include "members/import/import_row_check.h"
#include "members/import/import_values.h"
#include "members/import/member_import.h"
#include "members/import/workbook_import.h"
#include "members/import/workbook_import_flow.h"
#include "tests/formats/xls_file.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QtEndian>
#include <cstdio>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <sqlite3.h>
#include <xlsxwriter.h>

namespace {

constexpr int kMembers = 100000;
constexpr int kXlsMembers = 65534; // rows 2 to 65,535 after the heading
constexpr int kColumns = 22;

QString memberName(int i) {
    static const QString family = QStringLiteral("陳林黃張李王吳劉蔡楊");
    static const QString given = QStringLiteral("志明美玲家豪淑芬建宏雅婷俊傑");
    return QString(family[i % family.size()]) + given[(i / 10) % given.size()] +
           given[(i / 7) % given.size()];
}

QDate birthdayOf(int i) {
    return QDate(1950, 1, 1).addDays(i % 20000);
}

// The 22 cells of member i as texts; column 9 is the birthday.
QStringList memberCells(int i) {
    const QDate birthday = birthdayOf(i);
    QStringList cells(kColumns);
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

// The row of the update file for member i: the number of generated member
// i in the register (bench::insertMembers()) with the values of
// memberCells(i), most of which differ from the stored ones.
QStringList updateCells(int i) {
    QStringList cells = memberCells(i);
    cells[0] = QStringLiteral("%1").arg(kMembers - i, 6, 10, QChar('0'));
    return cells;
}

using CellsOf = QStringList (*)(int);

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
        for (int column = 0; column < kColumns; ++column) {
            const QString& text = cells.at(column);
            if (text.isEmpty())
                continue;
            if (column == 8) {
                const QDate date = birthdayOf(i);
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

// The same as an Excel 97 to 2003 workbook: shared strings, the birthday
// as a number in the built-in date format, yes/no cells.
void writeXls(const QString& path) {
    using namespace test_files;
    QStringList strings;
    QHash<QString, quint32> index;
    QByteArray cells = biffRecord(0x00FD, u16(0) + u16(0) + u16(0) + u32(0));
    strings.append(QStringLiteral("會員編號"));
    index.insert(strings.first(), 0);
    for (int i = 0; i < kXlsMembers; ++i) {
        const QStringList texts = memberCells(i);
        const auto row = quint16(i + 1);
        for (int column = 0; column < kColumns; ++column) {
            const QString& text = texts.at(column);
            if (text.isEmpty())
                continue;
            const QByteArray at = u16(row) + u16(quint16(column));
            if (column == 8) {
                QByteArray value(8, '\0');
                qToLittleEndian(double(QDate(1899, 12, 30).daysTo(birthdayOf(i))), value.data());
                cells += biffRecord(0x0203, at + u16(1) + value);
            } else if (column == 21) {
                cells += biffRecord(0x0205, at + u16(0) + QByteArray(1, text == u"TRUE") +
                                                QByteArray(1, '\0'));
            } else {
                auto found = index.constFind(text);
                if (found == index.constEnd()) {
                    found = index.insert(text, quint32(strings.size()));
                    strings.append(text);
                }
                cells += biffRecord(0x00FD, at + u16(0) + u32(*found));
            }
        }
    }
    // The shared strings, in records of at most 8,224 bytes that break
    // between strings.
    QByteArray sst;
    QByteArray part = u32(quint32(strings.size())) + u32(quint32(strings.size()));
    bool first = true;
    for (const QString& text : strings) {
        const QByteArray item = unicodeString(text);
        if (part.size() + item.size() > 8224) {
            sst += biffRecord(first ? 0x00FC : 0x003C, part);
            first = false;
            part.clear();
        }
        part += item;
    }
    sst += biffRecord(first ? 0x00FC : 0x003C, part);
    const QByteArray xfs = biffRecord(0x00E0, u16(0) + u16(0) + QByteArray(16, '\0')) +
                           biffRecord(0x00E0, u16(0) + u16(14) + QByteArray(16, '\0'));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(compoundFile(workbookStream(xfs + sst, cells))) < 0)
        qFatal("cannot write %s", qPrintable(path));
}

void writeCsv(const QString& path, bool inBig5, CellsOf cellsOf = memberCells) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray bytes;
    const QString heading = QStringLiteral("會員編號\r\n");
    bytes += inBig5 ? big5::encode(heading) : "\xEF\xBB\xBF" + heading.toUtf8();
    for (int i = 0; i < kMembers; ++i) {
        const QString line = cellsOf(i).join(',') + QStringLiteral("\r\n");
        bytes += inBig5 ? big5::encode(line) : line.toUtf8();
    }
    file.write(bytes);
}

// The process's resident memory in MiB: now (VmRSS) or at its peak since
// the last resetPeakMemory() (VmHWM).
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

void resetPeakMemory() {
    malloc_trim(0);
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

// A new, empty database of the program's schema, set as the connection's.
QString freshDatabase(const QTemporaryDir& folder, int run) {
    db::closeConnection();
    const QString path = folder.filePath(QStringLiteral("db%1.sqlite").arg(run));
    db::createDatabase(path);
    db::setDatabasePath(path);
    return path;
}

void check(int code, sqlite3* database, int wanted = SQLITE_OK) {
    if (code != wanted)
        qFatal("sqlite: %s", sqlite3_errmsg(database));
}

// The values of the rows as stored, made before the floor is timed.
std::vector<std::array<QByteArray, 20>> storedRows(int count, CellsOf cellsOf = memberCells) {
    std::vector<std::array<QByteArray, 20>> rows(size_t(count), std::array<QByteArray, 20>{});
    for (int i = 0; i < count; ++i) {
        const QStringList cells = cellsOf(i);
        for (int column = 0; column < 19; ++column)
            rows[size_t(i)][size_t(column)] = cells.at(column).toUtf8();
        rows[size_t(i)][8] = members::birthdayValue(cells.at(8)).toString().toUtf8();
        rows[size_t(i)][19] = cells.at(21) == u"TRUE" ? "1" : "0";
    }
    return rows;
}

using StoredRows = std::vector<std::array<QByteArray, 20>>;

// Runs statement once a row, bound by bind, in one transaction on the
// database at path: the seconds on the clock, opening it included.
template <typename Bind>
double statementSeconds(const QString& path, const char* statement, const StoredRows& rows,
                        const Bind& bind) {
    sqlite3* database = nullptr;
    QElapsedTimer timer;
    timer.start();
    check(sqlite3_open(QFile::encodeName(path).constData(), &database), database);
    check(sqlite3_exec(database, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr), database);
    check(sqlite3_exec(database, "BEGIN", nullptr, nullptr, nullptr), database);
    sqlite3_stmt* prepared = nullptr;
    check(sqlite3_prepare_v2(database, statement, -1, &prepared, nullptr), database);
    for (const auto& row : rows) {
        bind(prepared, row);
        check(sqlite3_step(prepared), database, SQLITE_DONE);
        if (sqlite3_changes(database) != 1)
            qFatal("member %s not stored", row[0].constData());
        sqlite3_reset(prepared);
    }
    sqlite3_finalize(prepared);
    check(sqlite3_exec(database, "COMMIT", nullptr, nullptr, nullptr), database);
    sqlite3_close(database);
    return double(timer.nsecsElapsed()) / 1e9;
}

// The floor: the rows through one prepared statement in one transaction.
double floorSeconds(const QString& path, const StoredRows& rows) {
    return statementSeconds(
        path,
        "insert into cust(ID,Name,Name1,Tel,CDTel,HomeTel,Fax,Kind,Birthday,MGBirthday,Identity,"
        "EnterDate,Address,Memo,Memo1,Memo2,Memo3,Memo4,Date1,IsEnabled) "
        "values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
        rows, [](sqlite3_stmt* insert, const auto& row) {
            for (int column = 0; column < 19; ++column)
                sqlite3_bind_text(insert, column + 1, row[size_t(column)].constData(),
                                  int(row[size_t(column)].size()), SQLITE_STATIC);
            sqlite3_bind_int(insert, 20, row[19] == "1" ? 1 : 0);
        });
}

// A register of the generated members in the program's schema, made once;
// each update works on a copy of it.
QString memberRegister(const QTemporaryDir& folder) {
    db::closeConnection();
    const QString path = folder.filePath(QStringLiteral("register.sqlite"));
    db::createDatabase(path);
    db::setDatabasePath(path);
    bench::insertMembers(kMembers, {});
    db::closeConnection();
    return path;
}

// A copy of the register, set as the connection's.
QString copiedRegister(const QTemporaryDir& folder, const QString& registerFile, int run) {
    db::closeConnection();
    const QString path = folder.filePath(QStringLiteral("db%1.sqlite").arg(run));
    if (!QFile::copy(registerFile, path))
        qFatal("cannot copy %s", qPrintable(registerFile));
    db::setDatabasePath(path);
    return path;
}

// The update's floor: the rows through one prepared statement in one
// transaction, each member found by its number; an empty cell keeps the
// stored value, as on the import's update.
double updateFloorSeconds(const QString& path, const StoredRows& rows) {
    QStringList sets;
    for (int column = 2; column <= members::kTextColumns; ++column)
        sets << QStringLiteral("%1=coalesce(?,%1)").arg(QLatin1String(members::custColumn(column)));
    sets << QStringLiteral("IsEnabled=?");
    const QByteArray statement =
        QStringLiteral("update cust set %1 where ID=?").arg(sets.join(',')).toUtf8();
    return statementSeconds(
        path, statement.constData(), rows, [](sqlite3_stmt* update, const auto& row) {
            for (int column = 1; column < 19; ++column) {
                const QByteArray& value = row[size_t(column)];
                if (value.isEmpty())
                    sqlite3_bind_null(update, column);
                else
                    sqlite3_bind_text(update, column, value.constData(), int(value.size()),
                                      SQLITE_STATIC);
            }
            sqlite3_bind_int(update, 19, row[19] == "1" ? 1 : 0);
            sqlite3_bind_text(update, 20, row[0].constData(), int(row[0].size()), SQLITE_STATIC);
        });
}

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

struct Measure {
    double seconds = 1e9; // the best of the runs, on the clock
    double cpu = 1e9;     // the best of the runs, processor time of this program
    double peakMiB = 0;   // above the memory in use before
};

// Runs once (which returns the seconds on the clock) and adds the run to
// measure.
void measureOnce(Measure& measure, const std::function<double()>& once) {
    resetPeakMemory();
    const double before = memoryMiB("VmRSS:");
    const double cpuBefore = cpuSeconds();
    measure.seconds = std::min(measure.seconds, once());
    measure.cpu = std::min(measure.cpu, cpuSeconds() - cpuBefore);
    measure.peakMiB = std::max(measure.peakMiB, memoryMiB("VmHWM:") - before);
}

// Runs once runs times.
Measure best(int runs, const std::function<double()>& once) {
    Measure measure;
    for (int run = 0; run < runs; ++run)
        measureOnce(measure, once);
    return measure;
}

// An import and its floor, measured in turns.
struct BesideFloor {
    Measure import;
    Measure floor;
};

// Runs import and floor one after the other, runs times: a change in the
// machine's load while the benchmark runs meets both alike.
BesideFloor besideFloor(int runs, const std::function<double()>& import,
                        const std::function<double()>& floor) {
    BesideFloor measures;
    for (int run = 0; run < runs; ++run) {
        measureOnce(measures.floor, floor);
        measureOnce(measures.import, import);
    }
    return measures;
}

double importSeconds(const QString& file) {
    QElapsedTimer timer;
    timer.start();
    const std::unique_ptr<members::WorkbookReader> reader = members::openWorkbook(file);
    const int imported =
        members::importWorkbookRows(*reader, members::WorkbookImportPath::Window, false);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (imported <= 0)
        qFatal("nothing imported from %s", qPrintable(file));
    return seconds;
}

// Inflating the parts of the .xlsx file the import reads (worksheet and
// shared strings) and nothing else: the share of its time no reader of
// that format can save.
double inflateSeconds(const QString& file) {
    QElapsedTimer timer;
    timer.start();
    const members::ZipArchive archive(file);
    qint64 bytes = 0;
    for (const QString& part :
         {QStringLiteral("xl/sharedStrings.xml"), QStringLiteral("xl/worksheets/sheet1.xml")}) {
        const std::unique_ptr<members::ZipEntry> entry = archive.open(part);
        QByteArray chunk(1 << 16, Qt::Uninitialized);
        for (qint64 count; (count = entry->read(chunk.data(), chunk.size())) > 0;)
            bytes += count;
    }
    if (bytes == 0)
        qFatal("nothing inflated from %s", qPrintable(file));
    return double(timer.nsecsElapsed()) / 1e9;
}

// Answers the import window's question with No and takes its messages.
class QuietPrompt : public Prompt {
public:
    void message(Icon, const QString&, const QString& text) override { last = text; }
    bool question(const QString&, const QString&, DefaultButton) override { return false; }
    QString last;
};

// Presses 導入 in the import window's preview when it is the modal window
// and its button can be pressed.
void confirmPreview() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal->objectName() != QLatin1String("FrmImportPreview"))
        return;
    auto* importButton = modal->findChild<QPushButton*>(QStringLiteral("btnImport"));
    if (importButton != nullptr && importButton->isEnabled())
        importButton->click();
}

// lunmark --import FILE [--update]: every row through importMembers() as
// the command line calls it; wanted rows added or updated, or it stops.
double commandLineImportSeconds(const QString& file, members::ImportMode mode) {
    QElapsedTimer timer;
    timer.start();
    const std::unique_ptr<members::WorkbookReader> reader = members::openWorkbook(file);
    members::ImportChoice choice;
    choice.mode = mode;
    choice.file = file;
    const members::ImportResult result =
        members::importMembers(*reader, members::WorkbookImportPath::Window, choice);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const int stored =
        mode == members::ImportMode::Update ? result.counts.updated : result.counts.added;
    if (stored != kMembers)
        qFatal("%d of %d rows stored from %s", stored, kMembers, qPrintable(file));
    return seconds;
}

// lunmark --import FILE --preview [--update]: every row's verdict as wanted,
// or it stops.
double previewSeconds(const QString& file, members::ImportMode mode, members::RowVerdict wanted) {
    QElapsedTimer timer;
    timer.start();
    const std::unique_ptr<members::WorkbookReader> reader = members::openWorkbook(file);
    const members::ImportPreview preview =
        members::previewWorkbook(*reader, members::WorkbookImportPath::Window, mode, false);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (preview.count(wanted) != kMembers)
        qFatal("%d of %d rows previewed as %s", preview.count(wanted), kMembers,
               qPrintable(members::verdictText(wanted)));
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int runs = 3;
    const int at = int(app.arguments().indexOf(QStringLiteral("--runs")));
    if (at > 0 && at + 1 < app.arguments().size())
        runs = qMax(1, app.arguments().at(at + 1).toInt());

    QTemporaryDir folder;
    const int filesAt = int(app.arguments().indexOf(QStringLiteral("--files")));
    const QDir files(filesAt > 0 && filesAt + 1 < app.arguments().size()
                         ? app.arguments().at(filesAt + 1)
                         : folder.path());
    const QString xlsx = files.filePath(QStringLiteral("members.xlsx"));
    const QString xls = files.filePath(QStringLiteral("members.xls"));
    const QString utf8 = files.filePath(QStringLiteral("members.csv"));
    const QString inBig5 = files.filePath(QStringLiteral("members-big5.csv"));
    const QString updates = files.filePath(QStringLiteral("members-update.csv"));
    const bool matchingOnly = app.arguments().contains(QStringLiteral("--matching"));
    if (!matchingOnly) {
        writeXlsx(xlsx);
        writeXls(xls);
        writeCsv(inBig5, true);
    }
    writeCsv(utf8, false);
    writeCsv(updates, false, updateCells);
    const auto allRows = storedRows(kMembers);
    const std::vector<std::array<QByteArray, 20>> xlsRows(allRows.begin(),
                                                          allRows.begin() + kXlsMembers);

    int run = 0;
    const auto importOf = [&](const QString& file,
                              const std::vector<std::array<QByteArray, 20>>& rows) {
        return besideFloor(
            runs,
            [&] {
                freshDatabase(folder, ++run);
                return importSeconds(file);
            },
            [&] { return floorSeconds(freshDatabase(folder, ++run), rows); });
    };

    // Times on the clock, and the processor time of this program, which a
    // busy machine disturbs less.
    std::printf("%-22s %6s %8s %8s %6s %8s %8s %6s %5s %8s\n", "import", "rows", "import s",
                "floor s", "ratio", "cpu s", "floor", "ratio", "goal", "peak MiB");
    const auto line = [](const char* name, int rows, const Measure& import, const Measure& base,
                         double goal) {
        std::printf("%-22s %6d %8.3f %8.3f %6.2f %8.3f %8.3f %6.2f %5.2f %8.1f\n", name, rows,
                    import.seconds, base.seconds, import.seconds / base.seconds, import.cpu,
                    base.cpu, import.cpu / base.cpu, goal, import.peakMiB);
    };
    if (!matchingOnly) {
        const BesideFloor csvUtf8 = importOf(utf8, allRows);
        line(".csv (UTF-8)", kMembers, csvUtf8.import, csvUtf8.floor, 1.2);
        const BesideFloor csvBig5 = importOf(inBig5, allRows);
        line(".csv (Big5)", kMembers, csvBig5.import, csvBig5.floor, 1.2 * 1.1);
        const BesideFloor xlsxImport = importOf(xlsx, allRows);
        line(".xlsx", kMembers, xlsxImport.import, xlsxImport.floor, 1.5);
        const BesideFloor xlsImport = importOf(xls, xlsRows);
        line(".xls", kXlsMembers, xlsImport.import, xlsImport.floor, 1.5);
        const Measure inflate = best(runs, [&] { return inflateSeconds(xlsx); });
        std::printf("inflating the .xlsx parts alone: %.3f s, cpu %.3f, %.2f of the floor\n",
                    inflate.seconds, inflate.cpu, inflate.cpu / xlsxImport.floor.cpu);
        std::printf("Big5 beside UTF-8: %.2f, cpu %.2f (goal 1.10)\n",
                    csvBig5.import.seconds / csvUtf8.import.seconds,
                    csvBig5.import.cpu / csvUtf8.import.cpu);

        // The import window's path for the .xlsx file: caption, the preview
        // (confirmed as soon as it shows), progress dialog and the closing
        // message, under this platform (offscreen unless set).
        QuietPrompt prompt;
        QTimer confirm;
        confirm.setInterval(1);
        QObject::connect(&confirm, &QTimer::timeout, [] { confirmPreview(); });
        confirm.start();
        Prompt::install(&prompt);
        members::setImportFileChooser([&](QWidget*, const QString&) { return xlsx; });
        QWidget window;
        window.show();
        const Measure windowed = best(runs, [&] {
            freshDatabase(folder, ++run);
            QElapsedTimer timer;
            timer.start();
            members::importMembersFromWorkbook(&window, members::WorkbookImportPath::Window);
            const double seconds = double(timer.nsecsElapsed()) / 1e9;
            if (!prompt.last.startsWith(QStringLiteral("導入成功")))
                qFatal("the window's import failed: %s", qPrintable(prompt.last));
            return seconds;
        });
        line(".xlsx, window", kMembers, windowed, xlsxImport.import, 1.2);
        std::printf("(the window's row compares with the bare .xlsx import, not the floor)\n");
        confirm.stop();
        Prompt::install(nullptr);
        members::setImportFileChooser({});
    }

    // The command line's matching imports of the UTF-8 .csv file: the
    // preview beside the import into an empty register, and the update of
    // every member of a register beside its floor (its preview beside it).
    std::printf("matching (preview beside the import of the same file, update beside its "
                "floor):\n");
    const BesideFloor preview = besideFloor(
        runs,
        [&] {
            freshDatabase(folder, ++run);
            return previewSeconds(utf8, members::ImportMode::Add, members::RowVerdict::New);
        },
        [&] {
            freshDatabase(folder, ++run);
            return commandLineImportSeconds(utf8, members::ImportMode::Add);
        });
    line("--preview", kMembers, preview.import, preview.floor, 1.2);
    const QString registerFile = memberRegister(folder);
    const auto updateRows = storedRows(kMembers, updateCells);
    const BesideFloor update = besideFloor(
        runs,
        [&] {
            copiedRegister(folder, registerFile, ++run);
            return commandLineImportSeconds(updates, members::ImportMode::Update);
        },
        [&] {
            return updateFloorSeconds(copiedRegister(folder, registerFile, ++run), updateRows);
        });
    line("--update", kMembers, update.import, update.floor, 2);
    const Measure updatePreview = best(runs, [&] {
        copiedRegister(folder, registerFile, ++run);
        return previewSeconds(updates, members::ImportMode::Update, members::RowVerdict::Existing);
    });
    line("--preview --update", kMembers, updatePreview, update.import, 1.2);
    std::printf("(the preview rows compare with the import of the same file, not the floor;\n"
                " peak MiB is above the memory in use before, goal under 100)\n");
    db::closeConnection();
    return 0;
}
