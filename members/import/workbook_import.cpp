#include "members/import/workbook_import.h"

#include "app/errors.h"
#include "db/connection.h"
#include "members/import/import_errors.h"
#include "members/import/import_values.h"
#include "members/salutations.h"

#include <QSqlError>
#include <QSqlQuery>
#include <optional>

namespace members {
namespace {

// The Cust columns of spreadsheet columns 1 to 19, in order; each statement
// parameter is named after its column.
const char* const kColumns[] = {"ID",       "Name",      "Name1",   "Tel",      "CDTel",
                                "HomeTel",  "Fax",       "Kind",    "Birthday", "MGBirthday",
                                "Identity", "EnterDate", "Address", "Memo",     "Memo1",
                                "Memo2",    "Memo3",     "Memo4",   "Date1"};
constexpr int kBirthdayColumn = 9;
constexpr int kSalutationColumn = 3;
constexpr int kEnabledColumn = 22;

const QStringList kWindowInsert = {
    QStringLiteral("Insert Into cust([ID],[Name],Name1,[Tel],CDTel,HomeTel,Fax,Kind,Birthday,"
                   "MGBirthday,[Identity],EnterDate,Address"),
    QStringLiteral(",[Memo],Memo1,Memo2,Memo3,Memo4,Date1,IsEnabled) "),
    QStringLiteral(" values(:ID,:Name,:Name1,:Tel,:CDTel,:HomeTel,:Fax,:Kind,:Birthday,"
                   ":MGBirthday,:Identity,:EnterDate,:Address"),
    QStringLiteral(",:Memo,:Memo1,:Memo2,:Memo3,:Memo4,:Date1,:IsEnabled) ")};

// Also the window's statement for a row whose column 22 is empty, so that
// the column keeps the database's default.
const QStringList kMenuInsert = {
    QStringLiteral("Insert Into cust(ID,Name,Name1,Tel,CDTel,HomeTel,Fax,Kind,Birthday,"
                   "MGBirthday,Identity,EnterDate,Address"),
    QStringLiteral(",Memo,Memo1,Memo2,Memo3,Memo4,Date1) "),
    QStringLiteral(" values(:ID,:Name,:Name1,:Tel,:CDTel,:HomeTel,:Fax,:Kind,:Birthday,"
                   ":MGBirthday,:Identity,:EnterDate,:Address"),
    QStringLiteral(",:Memo,:Memo1,:Memo2,:Memo3,:Memo4,:Date1) ")};

QSqlQuery prepared(const QStringList& lines) {
    QSqlQuery query(db::connection());
    if (!query.prepare(lines.join('\n')))
        db::raise(query.lastError());
    return query;
}

// The statement parameters of the columns, ":ID" to ":Date1".
QStringList parameterNames() {
    QStringList names;
    for (const char* column : kColumns)
        names.append(QLatin1Char(':') + QLatin1String(column));
    return names;
}

// The value a column of a row gives, as it is stored (untrimmed for the
// member number, which keeps its spaces).
QString columnText(const QStringList& cells, int column) {
    const QString cell = column <= cells.size() ? cells.at(column - 1) : QString();
    return column == 1 ? storedText(cell) : storedText(trimBlanks(cell));
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

// Binds the values of one row, read from its cells, to an insert statement.
void bindRow(QSqlQuery& insert, int row, const QStringList& cells) {
    static const QStringList names = parameterNames();
    for (int column = 1; column <= int(std::size(kColumns)); ++column) {
        const QString text = columnText(cells, column);
        inCell(row, column, [&] { checkStorableText(text); });
        const QString& name = names.at(column - 1);
        if (column == kBirthdayColumn)
            insert.bindValue(name, inCell(row, column, [&] { return birthdayValue(text); }));
        else
            insert.bindValue(name, text);
    }
}

// Stores the row bound to insert; a refusal of the database is thrown on
// naming the row and, where it tells, the cell.
void execute(QSqlQuery& insert, int row, const QStringList& cells) {
    if (insert.exec())
        return;
    const Refusal refusal = refusalOf(insert.lastError());
    for (int column = 1; column <= int(std::size(kColumns)); ++column) {
        if (refusal.column.compare(QLatin1String(kColumns[column - 1]), Qt::CaseInsensitive) == 0)
            throw DatabaseError(
                cellErrorText(row, column, refusalText(refusal, columnText(cells, column))));
    }
    throw DatabaseError(QStringLiteral("第 %1 列%2").arg(row).arg(refusalText(refusal, QString())));
}

} // namespace

int firstDataRow(WorkbookImportPath path) {
    return path == WorkbookImportPath::Window ? 2 : 3;
}

int importWorkbookRows(WorkbookReader& reader, WorkbookImportPath path, bool deleteOld,
                       const std::function<void(int nextRow)>& progress) {
    db::Transaction transaction;
    if (deleteOld)
        db::run(QStringLiteral("Delete from cust"));
    int imported = 0;
    {
        const bool window = path == WorkbookImportPath::Window;
        QSqlQuery withoutEnabled = prepared(kMenuInsert);
        std::optional<QSqlQuery> withEnabled;
        if (window)
            withEnabled = prepared(kWindowInsert);
        SheetCursor sheet(reader);
        for (int row = firstDataRow(path);; ++row) {
            const QStringList& cells = sheet.row(row);
            if (cells.isEmpty() || cells.first().isEmpty())
                break;
            if (!window) {
                const QString salutation = trimBlanks(cells.value(kSalutationColumn - 1));
                if (!salutation.isEmpty())
                    insertSalutationIfAbsent(salutation);
            }
            const std::optional<int> enabled =
                window ? inCell(row, kEnabledColumn,
                                [&] {
                                    return yesNoValue(trimBlanks(cells.value(kEnabledColumn - 1)));
                                })
                       : std::nullopt;
            QSqlQuery& insert = enabled ? *withEnabled : withoutEnabled;
            bindRow(insert, row, cells);
            if (enabled)
                insert.bindValue(QStringLiteral(":IsEnabled"), *enabled);
            execute(insert, row, cells);
            ++imported;
            if (progress)
                progress(row + 1);
        }
    }
    transaction.commit();
    return imported;
}

} // namespace members
