#include "members/import/workbook_import.h"

#include "base/errors.h"
#include "base/text_helpers.h"
#include "db/change_history.h"
#include "db/connection.h"
#include "formats/import_errors.h"
#include "members/import/import_values.h"
#include "members/import/member_insert.h"
#include "members/salutations.h"

#include <QSet>
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
    QStringLiteral(",[Memo],Memo1,Memo2,Memo3,Memo4,Date1,IsEnabled,NoSms) "),
    QStringLiteral(" values(:ID,:Name,:Name1,:Tel,:CDTel,:HomeTel,:Fax,:Kind,:Birthday,"
                   ":MGBirthday,:Identity,:EnterDate,:Address"),
    QStringLiteral(",:Memo,:Memo1,:Memo2,:Memo3,:Memo4,:Date1,:IsEnabled,:NoSms) ")};

// Also the window's statement for a row whose column 22 is empty, so that
// the column keeps the database's default.
const QStringList kMenuInsert = {
    QStringLiteral("Insert Into cust(ID,Name,Name1,Tel,CDTel,HomeTel,Fax,Kind,Birthday,"
                   "MGBirthday,Identity,EnterDate,Address"),
    QStringLiteral(",Memo,Memo1,Memo2,Memo3,Memo4,Date1,NoSms) "),
    QStringLiteral(" values(:ID,:Name,:Name1,:Tel,:CDTel,:HomeTel,:Fax,:Kind,:Birthday,"
                   ":MGBirthday,:Identity,:EnterDate,:Address"),
    QStringLiteral(",:Memo,:Memo1,:Memo2,:Memo3,:Memo4,:Date1,:NoSms) ")};

// Parameters are bound by position: :ID is 1, :Date1 19, :IsEnabled 20,
// and :NoSms last.
constexpr int kEnabledParameter = 20;

// The optional column, found by its heading anywhere in the heading row,
// that marks members who receive no SMS; 0 when the sheet has none.
const QString kNoSmsHeading = QStringLiteral("不接收簡訊");

int headingColumn(const QList<QStringView>& headings, const QString& heading) {
    for (int column = 1; column <= int(headings.size()); ++column) {
        if (trimBlanks(headings.at(column - 1)) == heading)
            return column;
    }
    return 0;
}

// The text a column of a row gives, as it is stored (untrimmed for the
// member number, which keeps its spaces); a view of the row's cell.
QStringView columnView(const QList<QStringView>& cells, int column) {
    const QStringView cell = column <= cells.size() ? cells.at(column - 1) : QStringView();
    return column == 1 ? cell : trimBlanks(cell);
}

// The same as a text of its own, for messages.
QString columnText(const QList<QStringView>& cells, int column) {
    return storedText(columnView(cells, column).toString());
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

// Reads and binds the values of one row to an insert statement.
void bindRow(MemberInsert& insert, int row, const QList<QStringView>& cells) {
    for (int column = 1; column <= int(std::size(kColumns)); ++column) {
        const QStringView text = columnView(cells, column);
        inCell(row, column, [&] { checkStorableText(text); });
        if (column == kBirthdayColumn) {
            const QVariant birthday = inCell(row, column, [&] { return birthdayValue(text); });
            if (birthday.isNull())
                insert.bindNull(column);
            else
                insert.bindText(column, birthday.toString());
            continue;
        }
        insert.bindText(column, text);
    }
}

// Throws the database's refusal of a row, naming the row and, where it
// tells, the cell.
[[noreturn]] void throwRefusal(const RefusedRow& refused) {
    const QList<QStringView> cells(refused.cells.cbegin(), refused.cells.cend());
    const Refusal refusal = refusalOf(refused.error);
    for (int column = 1; column <= int(std::size(kColumns)); ++column) {
        if (refusal.column.compare(QLatin1String(kColumns[column - 1]), Qt::CaseInsensitive) == 0)
            throw DatabaseError(cellErrorText(refused.row, column,
                                              refusalText(refusal, columnText(cells, column))));
    }
    throw DatabaseError(
        QStringLiteral("第 %1 列%2").arg(refused.row).arg(refusalText(refusal, QString())));
}

// Stores the row bound to insert; a refusal of it or of a row stored
// before is thrown on.
void execute(MemberInsert& insert, int row, const QList<QStringView>& cells) {
    if (!insert.send(row, cells))
        throwRefusal(insert.refused());
}

// Waits for the rows stored so far; a refusal of one is thrown on.
void finishRows(MemberInsert& insert) {
    if (!insert.finish())
        throwRefusal(insert.refused());
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
    db::history::ImportRecord history;
    int imported = 0;
    {
        const bool window = path == WorkbookImportPath::Window;
        MemberInsert withoutEnabled(kMenuInsert.join('\n'));
        std::optional<MemberInsert> withEnabled;
        if (window)
            withEnabled.emplace(kWindowInsert.join('\n'));
        SheetCursor sheet(reader);
        QSet<QString> salutationsAdded;
        const int noSmsColumn = headingColumn(sheet.row(firstDataRow(path) - 1), kNoSmsHeading);
        try {
            for (int row = firstDataRow(path);; ++row) {
                const QList<QStringView>& cells = sheet.row(row);
                if (cells.isEmpty() || cells.first().isEmpty())
                    break;
                if (!window) {
                    const QString salutation =
                        trimBlanks(cells.value(kSalutationColumn - 1)).toString();
                    // Each salutation once: the list is written between the
                    // rows, which waits for the rows sent before.
                    if (!salutation.isEmpty() && !salutationsAdded.contains(salutation)) {
                        finishRows(withoutEnabled);
                        insertSalutationIfAbsent(salutation);
                        salutationsAdded.insert(salutation);
                    }
                }
                const std::optional<int> enabled =
                    window
                        ? inCell(row, kEnabledColumn,
                                 [&] {
                                     return yesNoValue(trimBlanks(cells.value(kEnabledColumn - 1)));
                                 })
                        : std::nullopt;
                MemberInsert& insert = enabled ? *withEnabled : withoutEnabled;
                bindRow(insert, row, cells);
                if (enabled)
                    insert.bindInt(kEnabledParameter, *enabled);
                const std::optional<int> noSms =
                    noSmsColumn == 0 ? std::nullopt : inCell(row, noSmsColumn, [&] {
                        return yesNoValue(trimBlanks(cells.value(noSmsColumn - 1)));
                    });
                insert.bindInt(kEnabledParameter + (enabled ? 1 : 0), noSms.value_or(0));
                execute(insert, row, cells);
                ++imported;
                if (progress)
                    progress(row + 1);
            }
        } catch (const LunmarkError&) {
            // A row stored before the failing one may have been refused: that
            // refusal is the one told, as when each row waits for its answer.
            finishRows(withoutEnabled);
            throw;
        }
        finishRows(withoutEnabled);
    }
    history.finish();
    transaction.commit();
    return imported;
}

} // namespace members
