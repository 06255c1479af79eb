#include "members/import/workbook_import.h"

#include "db/connection.h"
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

// Binds the values of one row, read from its cells, to an insert statement.
void bindRow(QSqlQuery& insert, const QStringList& cells) {
    static const QStringList names = parameterNames();
    for (int column = 1; column <= int(std::size(kColumns)); ++column) {
        const QString cell = column <= cells.size() ? cells.at(column - 1) : QString();
        const QString& name = names.at(column - 1);
        if (column == 1)
            insert.bindValue(name, storedText(cell)); // the member number keeps its spaces
        else if (column == kBirthdayColumn)
            insert.bindValue(name, birthdayValue(trimBlanks(cell)));
        else
            insert.bindValue(name, storedText(trimBlanks(cell)));
    }
}

void execute(QSqlQuery& query) {
    if (!query.exec())
        db::raise(query.lastError());
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
                window ? yesNoValue(trimBlanks(cells.value(kEnabledColumn - 1))) : std::nullopt;
            QSqlQuery& insert = enabled ? *withEnabled : withoutEnabled;
            bindRow(insert, cells);
            if (enabled)
                insert.bindValue(QStringLiteral(":IsEnabled"), *enabled);
            execute(insert);
            ++imported;
            if (progress)
                progress(row + 1);
        }
    }
    transaction.commit();
    return imported;
}

} // namespace members
