#include "app/start_up.h"

#include "app/application.h"
#include "app/command_line_export.h"
#include "app/command_line_import.h"
#include "app/command_line_send.h"
#include "app/database_start.h"
#include "app/main_window.h"
#include "app/user_guide.h"
#include "base/errors.h"
#include "base/message_table.h"
#include "base/program_title.h"
#include "base/prompt.h"
#include "db/connection.h"
#include "db/copy_database.h"
#include "db/new_register.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

StartOptions parseStartOptions(const QStringList& arguments) {
    StartOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (word == QLatin1String("--database") && i + 1 < arguments.size()) {
            options.databasePath = arguments.at(++i);
            options.databaseGiven = true;
        } else if (word.startsWith(QLatin1String("--database="))) {
            options.databasePath = word.mid(11);
            options.databaseGiven = true;
        } else if (word == QLatin1String("--copy-database") && i + 2 < arguments.size()) {
            options.copyFrom = arguments.at(++i);
            options.copyTo = arguments.at(++i);
        } else if (word == QLatin1String("--restore") && i + 1 < arguments.size())
            options.restoreFile = arguments.at(++i);
        else if (word.startsWith(QLatin1String("--restore=")))
            options.restoreFile = word.mid(10);
        else if (word == QLatin1String("--create-database"))
            options.createIfMissing = true;
        else if (word == QLatin1String("--help") || word == QLatin1String("-h"))
            options.help = true;
        else
            options.error = word;
    }
    return options;
}

QString startUsage() {
    return QStringLiteral(
               "用法: lunmark [--database PATH|URL] [--create-database] [--restore BACKUP]\n"
               "  --database PATH     資料庫檔案（預設為工作目錄中的 db.sqlite﹐\n"
               "                      或 lunmark.ini 的 [Database] 所指的伺服器）\n"
               "  --database postgresql://使用者:密碼@主機:埠號/資料庫\n"
               "                      使用 PostgreSQL 伺服器上的資料庫（多台電腦共用）\n"
               "  --create-database   PATH 不存在時建立新的空白資料庫﹔\n"
               "                      對 PostgreSQL 的空白資料庫﹕建立資料表後結束\n"
               "  --copy-database FROM TO  把整個資料庫從 FROM 複製到 TO（各為 SQLite\n"
               "                      檔案或 postgresql:// 位址﹔TO 須為新檔案或空白資料庫）\n"
               "  --restore BACKUP    以備份取代資料庫（會先詢問）\n"
               "  --import FILE [--replace]  從 .xls、.xlsx 或 .csv 檔匯入會員；\n"
               "                      --replace 先刪除舊會員（之前自動備份）\n"
               "  --import-list FILE  從列印的會員名冊文字檔匯入會員\n"
               "  --send --to PHONE[,PHONE…] --message TEXT [--name NAME] [--sign TEXT] [--yes]\n"
               "                      不開視窗發送簡訊（未加 --yes 時先詢問）\n"
               "                      [--ignore-quiet-hours] 靜默時段內也發送\n"
               "  --export FILE [--search NAME]  把會員寫入 .xlsx 或 .csv 檔（匯入格式﹐\n"
               "                      可再匯入）﹔--search 只寫常用查詢找到的會員\n"
               "  --help              顯示這些說明\n")
        .append(guideNotice());
}

QString guideNotice() {
    // The man page is made from --help with LUNMARK_GUIDE_DIR naming the
    // packaged place, which need not exist where it is made.
    const QString folder = qEnvironmentVariableIsSet("LUNMARK_GUIDE_DIR")
                               ? qEnvironmentVariable("LUNMARK_GUIDE_DIR")
                               : guide::folder();
    return QStringLiteral("\n使用說明﹕在程式中按 F1﹐或選 說明 › 使用說明。\n"
                          "使用說明的頁面﹕%1\n")
        .arg(folder.isEmpty() ? QStringLiteral("（找不到﹐請重新安裝 lunmark）")
                              : QDir(folder).filePath(QStringLiteral("index.md")));
}

db::DatabaseTarget startTarget(const StartOptions& options) {
    return db::chosenTarget(options.databaseGiven, options.databasePath);
}

void prepareDatabase(const StartOptions& options) {
    const db::DatabaseTarget target = startTarget(options);
    db::setDatabaseTarget(target);
    if (target.engine != db::Engine::Sqlite)
        return;
    if (QFileInfo::exists(options.databasePath))
        return;
    const QString where = QFileInfo(options.databasePath).absoluteFilePath();
    if (!options.createIfMissing &&
        !Prompt::current().question(
            programTitle(),
            QStringLiteral("找不到資料庫 %1。\n要在這裡建立一個新的空白資料庫嗎﹖").arg(where)))
        return;
    try {
        db::createRegister(target);
    } catch (const LunmarkError& error) {
        reportError(error.text());
    }
}

namespace {

// The command line as texts, read before any application object exists:
// --help and --restore must answer without a display.
QStringList commandLine(int argc, char** argv) {
    QStringList words;
    for (int i = 0; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    return words;
}

void printLine(std::FILE* stream, const QString& text) {
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

// --restore runs without a display, so before the application object.
int restoreWithoutWindows(int argc, char** argv, const StartOptions& options) {
    QCoreApplication app(argc, argv);
    try {
        db::setDatabaseTarget(startTarget(options));
    } catch (const LunmarkError& error) {
        printLine(stderr, QStringLiteral("lunmark: %1").arg(error.text()));
        return 1;
    }
    return restoreFromShell(options.restoreFile, stdin, stdout);
}

// --copy-database FROM TO, without a display.
int copyWithoutWindows(int argc, char** argv, const StartOptions& options) {
    QCoreApplication app(argc, argv);
    try {
        const db::DatabaseTarget from = db::parseDatabaseArgument(options.copyFrom);
        const db::DatabaseTarget to = db::parseDatabaseArgument(options.copyTo);
        const QList<db::TableCount> counts = db::copyDatabase(from, to);
        for (const db::TableCount& count : counts)
            printLine(stdout, QStringLiteral("%1: %2 筆").arg(count.table).arg(count.copied));
        printLine(stdout, QStringLiteral("複製完成﹕%1 → %2﹐每個資料表的筆數都與來源相同。")
                              .arg(db::describeTarget(from), db::describeTarget(to)));
        return 0;
    } catch (const LunmarkError& error) {
        printLine(stderr, QStringLiteral("lunmark: %1").arg(error.text()));
        printLine(stderr, QStringLiteral("lunmark: 複製沒有完成﹐目的資料庫沒有寫入任何資料。"));
        return 1;
    }
}

// --create-database for a server database, without a display.
int createOnServer(int argc, char** argv, const db::DatabaseTarget& target) {
    QCoreApplication app(argc, argv);
    try {
        db::createRegister(target);
        printLine(
            stdout,
            QStringLiteral("已在 %1 建立會員資料庫的資料表。").arg(db::describeTarget(target)));
        return 0;
    } catch (const LunmarkError& error) {
        printLine(stderr, QStringLiteral("lunmark: %1").arg(error.text()));
        return 1;
    }
}

} // namespace

int runProgram(int argc, char** argv) {
    const QStringList arguments = commandLine(argc, argv);
    if (isCommandLineImport(arguments))
        return runCommandLineImport(argc, argv); // without windows
    if (isCommandLineSend(arguments))
        return runCommandLineSend(argc, argv); // without windows
    if (isCommandLineExport(arguments))
        return runCommandLineExport(argc, argv); // without windows
    const StartOptions options = parseStartOptions(arguments);
    const bool understood = !options.help && options.error.isEmpty();
    if (!options.copyFrom.isEmpty() && understood)
        return copyWithoutWindows(argc, argv, options);
    if (!options.restoreFile.isEmpty() && understood)
        return restoreWithoutWindows(argc, argv, options);
    if (options.createIfMissing && understood) {
        db::DatabaseTarget target;
        try {
            target = startTarget(options);
        } catch (const LunmarkError& error) {
            std::fprintf(stderr, "lunmark: %s\n", error.text().toLocal8Bit().constData());
            return 1;
        }
        if (target.engine == db::Engine::Postgresql)
            return createOnServer(argc, argv, target);
    }
    if (options.help || !options.error.isEmpty()) {
        if (!options.error.isEmpty())
            std::fprintf(stderr, "lunmark: 不認得的參數 %s\n",
                         options.error.toLocal8Bit().constData());
        std::fputs(startUsage().toLocal8Bit().constData(), options.help ? stdout : stderr);
        return options.help ? 0 : 2;
    }
    Application app(argc, argv);
    TFrmMain mainWindow;
    MessageTable::current().fill(systemLocaleId());
    try {
        prepareDatabase(options);
    } catch (const LunmarkError& error) {
        reportError(error.text());
        return 1;
    }
    if (!checkDatabaseAtStart())
        return 1;
    if (!mainWindow.signIn())
        return 0;
    mainWindow.showMaximized();
    return app.exec();
}
