#include "app/command_line_export.h"

#include "base/errors.h"
#include "db/database_target.h"
#include "members/export/import_layout.h"
#include "members/saved_search.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

struct ExportOptions {
    QString file;
    QString search;
    bool searchGiven = false;
    QString databasePath = QStringLiteral("db.sqlite");
    bool databaseGiven = false;
    QString error;
};

const QString kExport = QStringLiteral("--export");

ExportOptions parseExportOptions(const QStringList& arguments) {
    ExportOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (word == kExport && hasValue)
            options.file = arguments.at(++i);
        else if (word == QLatin1String("--search") && hasValue)
            options.search = arguments.at(++i), options.searchGiven = true;
        else if (word == QLatin1String("--database") && hasValue)
            options.databasePath = arguments.at(++i), options.databaseGiven = true;
        else if (word.startsWith(QLatin1String("--database=")))
            options.databasePath = word.mid(11), options.databaseGiven = true;
        else
            options.error = QStringLiteral("不認得的參數 %1").arg(word);
    }
    if (options.error.isEmpty() && options.file.trimmed().isEmpty())
        options.error = QStringLiteral("請以 --export 給要寫入的檔案");
    return options;
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

int runExport(const ExportOptions& options) {
    const db::DatabaseTarget target = db::chosenTarget(options.databaseGiven, options.databasePath);
    if (target.engine == db::Engine::Sqlite && !QFileInfo::exists(target.path))
        throw DatabaseError(
            QStringLiteral("找不到資料庫 %1").arg(QFileInfo(target.path).absoluteFilePath()));
    db::setDatabaseTarget(target);
    namespace exporting = members::exporting;
    if (!options.searchGiven)
        return exporting::exportImportLayout(options.file, exporting::importLayoutStatement());
    const std::optional<members::saved::SavedSearch> search =
        members::saved::findSearch(options.search);
    if (!search)
        throw DatabaseError(QStringLiteral("找不到常用查詢「%1」").arg(options.search));
    return exporting::exportImportLayout(
        options.file,
        exporting::importLayoutStatement(members::saved::clauseOf(*search), search->activeMembers));
}

} // namespace

bool isCommandLineExport(const QStringList& arguments) {
    return arguments.contains(kExport);
}

int runCommandLineExport(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const ExportOptions options = parseExportOptions(app.arguments());
    if (!options.error.isEmpty()) {
        print(stderr, QStringLiteral("lunmark: %1\n用法: lunmark --export 檔案(.xlsx 或 .csv) "
                                     "[--search 查詢名稱] [--database 路徑]")
                          .arg(options.error));
        return 2;
    }
    try {
        const int written = runExport(options);
        print(stdout,
              QStringLiteral("匯出成功: %1 筆會員資料寫入 %2").arg(written).arg(options.file));
        return 0;
    } catch (const LunmarkError& error) {
        print(stderr, QStringLiteral("匯出失敗: %1").arg(error.text()));
    }
    return 1;
}
