#include "members/import/sample_workbook.h"

#include "base/errors.h"
#include "members/import/import_hooks.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>

// The workbook lives in a resource of this static library; it must be
// registered by hand since nothing else refers to it.
static void initImportResources() {
    Q_INIT_RESOURCE(member_import);
}

namespace members {

QString writeSampleWorkbook() {
    initImportResources();
    QFile sample(QStringLiteral(":/members/import/lunmarkcust.xls"));
    if (!sample.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("找不到 Excel 樣本檔案"));
    const QByteArray bytes = sample.readAll();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString path = QDir(folder).filePath(QStringLiteral("lunmarkcust.xls"));
    QFile file(path);
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush())
        throw FileError(
            QStringLiteral("無法寫入 Excel 樣本檔案 %1: %2").arg(path, file.errorString()));
    return path;
}

void openSampleWorkbook() {
    openDocument(QUrl::fromLocalFile(writeSampleWorkbook()));
}

} // namespace members
