#pragma once

#include <QAbstractItemView>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <ostream>

// Shows texts readably in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Document records for the tests, written straight to the File table.
namespace doctest {

struct Record {
    QVariant name;
    QVariant kind = QStringLiteral("公文");
    QVariant contentNo = QStringLiteral("府字第001號");
    QVariant contentName = QStringLiteral("年會");
    QVariant memo = QStringLiteral("摘要");
    QVariant path = QStringLiteral("/docs/a.doc");
    QVariant date1 = QStringLiteral("2024-03-15 00:00:00");
};

void add(const Record& record);

// The value of one column of the record named name.
QVariant stored(const QString& name, const QString& column);

// The names stored in File, sorted; "<null>" for a null name.
QStringList storedNames();

// The texts of one column of a list, sorted.
QStringList listed(const QAbstractItemView* view, int column);

} // namespace doctest
