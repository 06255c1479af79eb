#include "app/start_up.h"

#include "app/application.h"
#include "app/command_line_import.h"
#include "app/database_start.h"
#include "app/main_window.h"
#include "base/errors.h"
#include "base/message_table.h"
#include "base/program_title.h"
#include "base/prompt.h"
#include "db/connection.h"
#include "db/default_settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

StartOptions parseStartOptions(const QStringList& arguments) {
    StartOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (word == QLatin1String("--database") && i + 1 < arguments.size())
            options.databasePath = arguments.at(++i);
        else if (word.startsWith(QLatin1String("--database=")))
            options.databasePath = word.mid(11);
        else if (word == QLatin1String("--restore") && i + 1 < arguments.size())
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
    return QStringLiteral("用法: lunmark [--database PATH] [--create-database] [--restore BACKUP]\n"
                          "  --database PATH     資料庫檔案（預設為工作目錄中的 db.sqlite）\n"
                          "  --create-database   PATH 不存在時建立新的空白資料庫\n"
                          "  --restore BACKUP    以備份取代資料庫（會先詢問）\n"
                          "  --import FILE [--replace]  從 .xls、.xlsx 或 .csv 檔匯入會員；\n"
                          "                      --replace 先刪除舊會員（之前自動備份）\n"
                          "  --import-list FILE  從列印的會員名冊文字檔匯入會員\n"
                          "  --help              顯示這些說明\n");
}

void prepareDatabase(const StartOptions& options) {
    db::setDatabasePath(options.databasePath);
    if (QFileInfo::exists(options.databasePath))
        return;
    const QString where = QFileInfo(options.databasePath).absoluteFilePath();
    if (!options.createIfMissing &&
        !Prompt::current().question(
            programTitle(),
            QStringLiteral("找不到資料庫 %1。\n要在這裡建立一個新的空白資料庫嗎﹖").arg(where)))
        return;
    try {
        db::createDatabase(options.databasePath);
        db::addDefaultSettings(); // a new register starts with its captions
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

// --restore runs without a display, so before the application object.
int restoreWithoutWindows(int argc, char** argv, const StartOptions& options) {
    QCoreApplication app(argc, argv);
    db::setDatabasePath(options.databasePath);
    return restoreFromShell(options.restoreFile, stdin, stdout);
}

} // namespace

int runProgram(int argc, char** argv) {
    const QStringList arguments = commandLine(argc, argv);
    if (isCommandLineImport(arguments))
        return runCommandLineImport(argc, argv); // without windows
    const StartOptions options = parseStartOptions(arguments);
    if (!options.restoreFile.isEmpty() && !options.help && options.error.isEmpty())
        return restoreWithoutWindows(argc, argv, options);
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
    prepareDatabase(options);
    if (!checkDatabaseAtStart())
        return 1;
    if (!mainWindow.signIn())
        return 0;
    mainWindow.showMaximized();
    return app.exec();
}
