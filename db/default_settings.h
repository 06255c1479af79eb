#pragma once

#include <QString>
#include <QVariantList>

// The settings a new register starts with: Traditional-Chinese captions for
// the member window's configurable fields, the members menu item and the
// printed list, so that nothing shows blank before the user fills
// 系統參數設定. Existing registers keep what they hold.
namespace db {

// The default text of a SystemSet column (matched without regard to case);
// empty for a column that has none (addresses, SMS credentials).
QString defaultSetting(const QString& column);

// The stored text, or the column's default when the stored text is empty.
QString settingOrDefault(const QString& column, const QString& stored);

// The statement that adds the settings row of a new register, with its
// values in the order of its "?" parameters.
struct DefaultSettingsRow {
    QString statement;
    QVariantList values;
};
DefaultSettingsRow defaultSettingsRow();

} // namespace db
