#include "app/command_line_import.h"

#include "base/errors.h"
#include "db/backup.h"
#include "db/connection.h"
#include "db/database_target.h"
#include "db/new_register.h"
#include "formats/file_bytes.h"
#include "members/import/import_undo.h"
#include "members/import/member_import.h"
#include "members/import/text_import.h"
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
    bool preview = false;
    bool undo = false; // --undo-import
    std::optional<members::ImportMode> mode;
    QString error;
};

const QString kImport = QStringLiteral("--import");
const QString kImportList = QStringLiteral("--import-list");
const QString kUndoImport = QStringLiteral("--undo-import");

// The mode an option names; nullopt for any other word.
std::optional<members::ImportMode> modeOption(const QString& word) {
    if (word == QLatin1String("--add"))
        return members::ImportMode::Add;
    if (word == QLatin1String("--update"))
        return members::ImportMode::Update;
    if (word == QLatin1String("--skip-existing"))
        return members::ImportMode::SkipExisting;
    return std::nullopt;
}

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
        else if (word == QLatin1String("--preview"))
            options.preview = true;
        else if (word == kUndoImport)
            options.undo = true;
        else if (const auto mode = modeOption(word); mode && !options.mode)
            options.mode = mode;
        else if (mode)
            options.error = QStringLiteral("--add、--update 和 --skip-existing 只能選一個");
        else
            options.error = QStringLiteral("不認得的參數 %1").arg(word);
    }
    const bool workbookOnly = options.replace || options.preview || options.mode;
    if (!options.error.isEmpty())
        return options;
    if (options.undo) {
        if (!options.workbook.isEmpty() || !options.memberList.isEmpty() || workbookOnly)
            options.error = QStringLiteral("--undo-import 不能與導入的參數同用");
    } else if (options.workbook.isEmpty() == options.memberList.isEmpty()) {
        options.error = QStringLiteral("請給 --import 或 --import-list 其中一個檔案");
    } else if (workbookOnly && options.workbook.isEmpty()) {
        options.error = QStringLiteral("--replace、--preview、--add、--update 和 --skip-existing "
                                       "只用於 --import");
    } else if (options.replace && options.mode && *options.mode != members::ImportMode::Add) {
        options.error = QStringLiteral("--replace 先刪除所有舊資料，不能與 --update 或 "
                                       "--skip-existing 同用");
    }
    return options;
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

// A question on the terminal, answered on the standard input; only "y"
// (or "Y") says yes.
bool askYesNo(const QString& question) {
    std::fputs((question + QStringLiteral(" (y/N) ")).toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    char line[64] = {};
    if (std::fgets(line, sizeof line, stdin) == nullptr)
        return false;
    const QString answer = QString::fromLocal8Bit(line).trimmed();
    return answer == QLatin1String("y") || answer == QLatin1String("Y");
}

// Takes back the last import after asking; 0 when taken back, 1 when there
// is none or the answer is no.
int runUndo() {
    const std::optional<members::RecordedImport> recorded = members::lastImport();
    if (!recorded) {
        print(stderr, QStringLiteral("沒有可以復原的導入"));
        return 1;
    }
    print(stdout, QStringLiteral("上次導入：%1").arg(members::recordedImportText(*recorded)));
    if (!askYesNo(QStringLiteral("是否復原上次導入？"))) {
        print(stdout, QStringLiteral("沒有復原"));
        return 1;
    }
    const QList<members::ChangedMember> changed = members::changedSinceImport(*recorded);
    bool includeChanged = false;
    if (!changed.isEmpty()) {
        print(stdout, QStringLiteral("以下會員在導入之後已被修改：\n%1")
                          .arg(members::changedMembersText(changed)));
        includeChanged = askYesNo(QStringLiteral("是否連這些會員也復原？（否則保持現狀）"));
    }
    print(stdout, members::undoResultText(members::undoImport(*recorded, includeChanged)));
    return 0;
}

// Prints the preview of the workbook: one line a row that is not 新增,
// then the counts; 0 when the import would be stored, 1 when refused.
int runPreview(const ImportOptions& options) {
    const std::unique_ptr<members::WorkbookReader> reader = members::openWorkbook(options.workbook);
    const members::ImportPreview preview =
        members::previewWorkbook(*reader, members::WorkbookImportPath::Window,
                                 options.mode.value_or(members::ImportMode::Add), options.replace);
    for (const members::RowOutcome& outcome : preview.listed)
        print(stdout, members::outcomeLine(outcome));
    print(stdout, members::countsText(preview));
    return preview.wouldSucceed() ? 0 : 1;
}

// Opens the register the options name; makes it when asked to.
void openRegister(const ImportOptions& options) {
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
}

QString importedText(int imported) {
    return QStringLiteral("導入成功: %1 筆會員資料").arg(imported);
}

int runImport(const ImportOptions& options) {
    if (!options.memberList.isEmpty()) {
        print(stdout,
              importedText(members::importMemberList(members::readFileBytes(options.memberList))));
        return 0;
    }
    const std::unique_ptr<members::WorkbookReader> reader = members::openWorkbook(options.workbook);
    members::ImportChoice choice;
    choice.mode = options.mode.value_or(members::ImportMode::Add);
    choice.deleteOld = options.replace;
    choice.file = QFileInfo(options.workbook).absoluteFilePath();
    if (options.replace)
        choice.backupPath = db::takeBackup(); // before the old members are deleted
    const members::ImportResult result =
        members::importMembers(*reader, members::WorkbookImportPath::Window, choice);
    const members::ImportCounts& counts = result.counts;
    QString text = importedText(counts.added + counts.updated);
    if (choice.mode != members::ImportMode::Add)
        text += QStringLiteral("（新增 %1 筆，更新 %2 筆，略過已存在 %3 筆，略過檔內重複 %4 筆）")
                    .arg(counts.added)
                    .arg(counts.updated)
                    .arg(counts.skipped)
                    .arg(counts.duplicates);
    print(stdout, text);
    return 0;
}

QString failureText(const ImportOptions& options, const QString& reason) {
    if (options.undo)
        return QStringLiteral("復原失敗，資料保持原狀\n%1").arg(reason);
    return members::importFailureText(reason);
}

} // namespace

bool isCommandLineImport(const QStringList& arguments) {
    return arguments.contains(kImport) || arguments.contains(kImportList) ||
           arguments.contains(kUndoImport);
}

int runCommandLineImport(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const ImportOptions options = parseImportOptions(app.arguments());
    if (!options.error.isEmpty()) {
        print(stderr, QStringLiteral(
                          "lunmark: %1\n用法: lunmark --import 檔案 [--preview] "
                          "[--add | --update | --skip-existing | --replace] "
                          "[--database 路徑] [--create-database]\n      lunmark --import-list 檔案 "
                          "[--database 路徑] [--create-database]\n      lunmark --undo-import "
                          "[--database 路徑]")
                          .arg(options.error));
        return 2;
    }
    try {
        openRegister(options);
        if (options.undo)
            return runUndo();
        if (options.preview)
            return runPreview(options);
        return runImport(options);
    } catch (const LunmarkError& error) {
        print(stderr, failureText(options, error.text()));
    } catch (const std::exception& error) {
        print(stderr, failureText(options, QString::fromLocal8Bit(error.what())));
    }
    return 1;
}
