#include "members/export/export_table.h"

#include "base/errors.h"
#include "db/display_text.h"
#include "members/export/csv_writer.h"
#include "members/export/xlsx_writer.h"

#include <QFileInfo>
#include <QSaveFile>

namespace members::exporting {

QString cellText(const QVariant& value, CellKind kind) {
    if (value.isNull())
        return QString();
    switch (kind) {
    case CellKind::Date: {
        const std::optional<QDateTime> when = db::storedDateTime(value);
        return when ? when->date().toString(QStringLiteral("yyyy/MM/dd")) : QString();
    }
    case CellKind::YesNo:
        return value.toString().isEmpty()
                   ? QString()
                   : (value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
    case CellKind::Text:
        break;
    }
    return value.toString();
}

int writeTable(const QString& path, const QList<Column>& columns, const RowSource& rows) {
    if (QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0)
        return writeXlsx(path, columns, rows);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(QStringLiteral("無法寫入檔案 %1: %2").arg(path, file.errorString()));
    bool ok = true;
    const int count = writeCsv(file, columns, rows, ok);
    if (!ok || !file.commit())
        throw FileError(QStringLiteral("無法寫入檔案 %1: %2").arg(path, file.errorString()));
    return count;
}

} // namespace members::exporting
