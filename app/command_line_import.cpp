#include "app/command_line_import.h"

#include "base/errors.h"
#include "db/backup.h"
#include "db/connection.h"
#include "db/database_target.h"
#include "db/new_register.h"
#include "formats/file_bytes.h"
#include "members/import/text_import.h"
#include "members/import/workbook_import.h"
#include "members/import/workbook_import_flow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

struct ImportOptions {
    QString workbook;   // --import
    QString memberList; // --import-list
    QString databasePath = QStringLiteral("db.sqlite");
    bool databaseGiven = false;
    bool replace = false;
    bool createIfMissing = false;
    QString error;
};

const QString kImport = QStringLiteral("--import");
const QString kImportList = QStringLiteral("--import-list");

ImportOptions parseImportOptions(const QStringList& arguments) {
    ImportOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (word == kImport && hasValue)
            options.workbook = arguments.at(++i);
        else if (word == kImportList && hasValue)
            options.memberList = arguments.at(++i);
        else if (word == QLatin1String("--database") && hasValue)
            options.databasePath = arguments.at(++i), options.databaseGiven = true;
        else if (word.startsWith(QLatin1String("--database=")))
            options.databasePath = word.mid(11), options.databaseGiven = true;
        else if (word == QLatin1String("--replace"))
            options.replace = true;
        else if (word == QLatin1String("--create-database"))
            options.createIfMissing = true;
        else
            options.error = QStringLiteral("不認得的參數 %1").arg(word);
    }
    if (options.workbook.isEmpty() == options.memberList.isEmpty())
        options.error = QStringLiteral("請給 --import 或 --import-list 其中一個檔案");
    else if (options.replace && options.workbook.isEmpty())
        options.error = QStringLiteral("--replace 只用於 --import");
    return options;
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

int runImport(const ImportOptions& options) {
    const db::DatabaseTarget target = db::chosenTarget(options.databaseGiven, options.databasePath);
    if (target.engine == db::Engine::Sqlite) {
        if (!QFileInfo::exists(target.path) && options.createIfMissing)
            db::createRegister(target);
        if (!QFileInfo::exists(target.path))
            throw DatabaseError(
                QStringLiteral("找不到資料庫 %1").arg(QFileInfo(target.path).absoluteFilePath()));
    }
    db::setDatabaseTarget(target);
    if (target.engine == db::Engine::Postgresql && options.createIfMissing &&
        !db::hasRegisterTables()) {
        db::closeConnection();
        db::createRegister(target);
    }
    if (!options.memberList.isEmpty())
        return members::importMemberList(members::readFileBytes(options.memberList));
    const std::unique_ptr<members::WorkbookReader> reader = members::openWorkbook(options.workbook);
    if (options.replace)
        db::takeBackup(); // before the old members are deleted
    return members::importWorkbookRows(*reader, members::WorkbookImportPath::Window,
                                       options.replace);
}

} // namespace

bool isCommandLineImport(const QStringList& arguments) {
    return arguments.contains(kImport) || arguments.contains(kImportList);
}

int runCommandLineImport(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const ImportOptions options = parseImportOptions(app.arguments());
    if (!options.error.isEmpty()) {
        print(stderr, QStringLiteral(
                          "lunmark: %1\n用法: lunmark --import 檔案 [--replace] "
                          "[--database 路徑] [--create-database]\n      lunmark --import-list 檔案 "
                          "[--database 路徑] [--create-database]")
                          .arg(options.error));
        return 2;
    }
    try {
        const int imported = runImport(options);
        print(stdout, QStringLiteral("導入成功: %1 筆會員資料").arg(imported));
        return 0;
    } catch (const LunmarkError& error) {
        print(stderr, members::importFailureText(error.text()));
    } catch (const std::exception& error) {
        print(stderr, members::importFailureText(QString::fromLocal8Bit(error.what())));
    }
    return 1;
}
