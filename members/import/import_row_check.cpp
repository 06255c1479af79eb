#include "members/import/import_row_check.h"

#include "base/errors.h"
#include "base/text_helpers.h"
#include "db/connection.h"
#include "formats/import_errors.h"
#include "members/import/import_values.h"

#include <QHash>
#include <QRegularExpression>
#include <array>

namespace members {
namespace {

const char* const kColumns[kTextColumns] = {
    "ID",    "Name",     "Name1",      "Tel",      "CDTel",     "HomeTel", "Fax",
    "Kind",  "Birthday", "MGBirthday", "Identity", "EnterDate", "Address", "Memo",
    "Memo1", "Memo2",    "Memo3",      "Memo4",    "Date1"};

// The most characters each text column keeps, as the schema's length checks
// of Cust say; 0 for a column without one. Read once from the schema, so
// the checks here refuse exactly what the database would.
const std::array<int, kTextColumns>& columnLimits() {
    static const std::array<int, kTextColumns> limits = [] {
        std::array<int, kTextColumns> found{};
        static const QRegularExpression table(
            QStringLiteral(R"(CREATE\s+TABLE\s+Cust\s*\((.*?)\);)"),
            QRegularExpression::CaseInsensitiveOption |
                QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression check(
            QStringLiteral(R"(CHECK\s*\(\s*length\((\w+)\)\s*<=\s*(\d+)\s*\))"),
            QRegularExpression::CaseInsensitiveOption);
        const QString body = table.match(db::schemaSql()).captured(1);
        for (auto match = check.globalMatch(body); match.hasNext();) {
            const QRegularExpressionMatch next = match.next();
            for (int column = 0; column < kTextColumns; ++column) {
                if (next.captured(1).compare(QLatin1String(kColumns[column]),
                                             Qt::CaseInsensitive) == 0)
                    found[size_t(column)] = next.captured(2).toInt();
            }
        }
        return found;
    }();
    return limits;
}

// The characters of a text as the database's length() counts them: a pair
// of UTF-16 halves is one.
qsizetype characters(QStringView text) {
    qsizetype count = text.size();
    for (const QChar c : text)
        count -= c.isLowSurrogate() ? 1 : 0;
    return count;
}

// Runs convert for the cell at row and column; a conversion it refuses is
// thrown on naming the cell.
template <typename Convert> auto inCell(int row, int column, Convert convert) {
    try {
        return convert();
    } catch (const ConversionError& error) {
        throw ConversionError(cellErrorText(row, column, error.text()));
    }
}

} // namespace

const char* custColumn(int column) {
    return kColumns[column - 1];
}

QStringView columnView(const QList<QStringView>& cells, int column) {
    const QStringView cell = column <= cells.size() ? cells.at(column - 1) : QStringView();
    return column == 1 ? cell : trimBlanks(cell);
}

QString columnText(const QList<QStringView>& cells, int column) {
    return storedText(columnView(cells, column).toString());
}

CheckedRow checkRow(int row, const QList<QStringView>& cells, bool readEnabled) {
    CheckedRow checked;
    const std::array<int, kTextColumns>& limits = columnLimits();
    for (int column = 1; column <= kTextColumns; ++column) {
        const QStringView text = columnView(cells, column);
        inCell(row, column, [&] { checkStorableText(text); });
        if (column == kBirthdayColumn) {
            const QVariant birthday = inCell(row, column, [&] { return birthdayValue(text); });
            if (!birthday.isNull())
                checked.birthday = birthday.toString();
            continue;
        }
        const int limit = limits[size_t(column - 1)];
        if (limit > 0 && text.size() > limit && characters(text) > limit) {
            Refusal refusal;
            refusal.column = QLatin1String(kColumns[column - 1]);
            refusal.limit = limit;
            throw ConversionError(
                cellErrorText(row, column, refusalText(refusal, text.toString())));
        }
    }
    if (readEnabled)
        checked.enabled = inCell(row, kEnabledColumn, [&] {
            return yesNoValue(trimBlanks(cells.value(kEnabledColumn - 1)));
        });
    return checked;
}

QString memberKey(QStringView id) {
    QString key = id.toString();
    for (QChar& c : key) {
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return key;
}

} // namespace members
