#include "db/default_settings.h"

#include <QStringList>

namespace db {
namespace {

struct DefaultSetting {
    const char* column;
    const char* text;
};

// Each text fits its column's length.
const DefaultSetting kDefaults[] = {
    {"Name", "本公司"},  {"ReportTitle", "會員名冊"}, {"Cust", "會員資料"},
    {"CW", "類別"},      {"EnterDate", "入會日期"},   {"Date1", "其他日期"},
    {"Memo1", "備註一"}, {"Memo2", "備註二"},         {"Memo3", "備註三"},
    {"Memo4", "備註四"}, {"Memo5", "備註五"},
};

} // namespace

QString defaultSetting(const QString& column) {
    for (const DefaultSetting& setting : kDefaults) {
        if (column.compare(QLatin1String(setting.column), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(setting.text);
    }
    return {};
}

QString settingOrDefault(const QString& column, const QString& stored) {
    return stored.isEmpty() ? defaultSetting(column) : stored;
}

DefaultSettingsRow defaultSettingsRow() {
    QStringList columns;
    QStringList marks;
    QVariantList values;
    for (const DefaultSetting& setting : kDefaults) {
        columns << QLatin1String(setting.column);
        marks << QStringLiteral("?");
        values << QString::fromUtf8(setting.text);
    }
    return {QStringLiteral("insert into SystemSet(%1) values(%2)")
                .arg(columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
            values};
}

} // namespace db
