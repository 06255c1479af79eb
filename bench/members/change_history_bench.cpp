// What the change history costs, on SQLite, offscreen. Prints:
//  - saving one member in the member window (edit, a name typed, 保存)
//    with the history beside the same register without it (the table moved
//    aside, as a register an older Lunmark made): goal at most 1.1 times;
//  - importing 100,000 members from a .csv file, as --import does, with
//    and without the history: goal at most 1.1 times;
//  - opening 修改紀錄 for one member of a register holding 1,000,000
//    records, until its grid is painted: goal under 100 ms.
// Each pair is measured in turns, so a change of the machine's load meets
// both alike; the medians are compared.
//
//   build/bench/members/change_history_bench [--runs N]
#include "base/prompt.h"
#include "bench/support/generated_members.h"
#include "db/connection.h"
#include "db/database_target.h"
#include "db/dataset.h"
#include "members/change_history_window.h"
#include "members/import/workbook_import.h"
#include "members/import/workbook_import_flow.h"
#include "members/member_window.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Answers every box at once, as a user pressing Enter.
class SilentPrompt : public Prompt {
public:
    void message(Icon, const QString&, const QString&) override {}
    using Prompt::question;
    bool question(const QString&, const QString&, DefaultButton button) override {
        return button == Yes;
    }
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double millisecondsOf(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The register without its history, as an older Lunmark made it, and back.
void historyKept(bool kept) {
    db::run(kept ? QStringLiteral("ALTER TABLE CustHistoryAway RENAME TO CustHistory")
                 : QStringLiteral("ALTER TABLE CustHistory RENAME TO CustHistoryAway"));
}

void newRegister(const QTemporaryDir& folder, const QString& name) {
    db::DatabaseTarget target;
    target.path = folder.filePath(name);
    db::createDatabase(target);
    db::setDatabaseTarget(target);
}

void printPair(const char* what, double with, double without, double goal) {
    const double ratio = with / without;
    std::printf("%-44s with %9.3f ms  without %9.3f ms  ratio %.3f (goal <= %.2f) %s\n", what, with,
                without, ratio, goal, ratio <= goal ? "met" : "NOT MET");
}

void saveInWindow(const QTemporaryDir& folder, int runs) {
    newRegister(folder, QStringLiteral("save.sqlite"));
    bench::insertMembers(10000, {.allActive = true, .fullRecords = true});
    TFrmCust window;
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    window.openIfClosed();
    auto* name = window.findChild<QLineEdit*>(QStringLiteral("DBEdit2"));
    auto* edit = window.findChild<QPushButton*>(QStringLiteral("SbEdit"));
    auto* save = window.findChild<QPushButton*>(QStringLiteral("SbSave"));
    int turn = 0;
    auto saves = [&] {
        return millisecondsOf([&] {
            for (int i = 0; i < 50; ++i) {
                edit->click();
                name->setText(++turn % 2 ? QStringLiteral("王小明") : QStringLiteral("陳大文"));
                save->click();
            }
        });
    };
    std::vector<double> with;
    std::vector<double> without;
    for (int run = 0; run < runs; ++run) {
        with.push_back(saves() / 50);
        historyKept(false);
        without.push_back(saves() / 50);
        historyKept(true);
    }
    printPair("save of one member in the window (per save)", median(with), median(without), 1.1);
}

void writeCsv(const QString& path, int members) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray text = "編號,姓名,稱謂,電話,行動電話\n";
    for (int i = 1; i <= members; ++i) {
        text += QStringLiteral("M%1,%2,%3,02-2345-%4,0912%5,,,,,,,,,,,,,,,,,\n")
                    .arg(i, 6, 10, QChar('0'))
                    .arg(bench::generatedName(i),
                         i % 2 ? QStringLiteral("先生") : QStringLiteral("小姐"))
                    .arg(i % 10000, 4, 10, QChar('0'))
                    .arg(i, 6, 10, QChar('0'))
                    .toUtf8();
    }
    file.write(text);
}

void importMembers(const QTemporaryDir& folder, int runs) {
    const QString csv = folder.filePath(QStringLiteral("members.csv"));
    writeCsv(csv, 100000);
    int registers = 0;
    auto import = [&](bool kept) {
        newRegister(folder, QStringLiteral("import%1.sqlite").arg(++registers));
        if (!kept)
            historyKept(false);
        return millisecondsOf([&] {
            const auto reader = members::openWorkbook(csv);
            if (members::importWorkbookRows(*reader, members::WorkbookImportPath::Window, false) !=
                100000)
                qFatal("the import did not store every member");
        });
    };
    std::vector<double> with;
    std::vector<double> without;
    for (int run = 0; run < runs; ++run) {
        without.push_back(import(false));
        with.push_back(import(true));
    }
    QSqlQuery records = db::run(QStringLiteral("SELECT count(*) FROM CustHistory"));
    records.next();
    std::printf("(last import left %lld history records)\n", records.value(0).toLongLong());
    printPair("--import of 100,000 members", median(with), median(without), 1.1);
}

void openForOneMember(const QTemporaryDir& folder, int runs) {
    newRegister(folder, QStringLiteral("history.sqlite"));
    bench::insertMembers(10000, {.allActive = true, .fullRecords = false});
    // 1,000,000 records over the 10,000 members and ten years.
    db::run(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000) "
        "INSERT INTO CustHistory (ChangeTime, UserID, Host, CustRowid, CustID, Action, Field, "
        "OldValue, NewValue) SELECT strftime('%Y-%m-%d %H:%M:%S', '2016-01-01', "
        "'+' || (i * 315) || ' seconds'), 'user' || (i % 7), 'desk' || (i % 3), i % 10000 + 1, "
        "printf('%06d', i % 10000 + 1), 'update', 'name', 'old' || i, 'new' || i FROM n"));
    db::run(QStringLiteral("ANALYZE"));
    std::vector<double> times;
    int shown = 0;
    for (int run = 0; run < std::max(runs, 5); ++run) {
        times.push_back(millisecondsOf([&] {
            TFrmCustHistory history(QStringLiteral("005000"));
            history.show();
            history.DBGridEh1->viewport()->repaint();
            shown = history.records()->rowCount();
        }));
    }
    std::printf("%-44s %9.3f ms (%d records shown; goal < 100 ms) %s\n",
                "修改紀錄 for one member of 1,000,000 records", median(times), shown,
                median(times) < 100 ? "met" : "NOT MET");
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype runsAt = args.indexOf(QStringLiteral("--runs"));
    const int runs = runsAt >= 0 && runsAt + 1 < args.size() ? args.at(runsAt + 1).toInt() : 5;
    SilentPrompt prompt;
    Prompt::install(&prompt);
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    saveInWindow(folder, runs);
    importMembers(folder, std::max(1, runs / 2));
    openForOneMember(folder, runs);
    Prompt::install(nullptr);
    db::closeConnection();
    return 0;
}
