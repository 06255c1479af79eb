#include "members/import/member_import.h"

#include "base/errors.h"
#include "base/text_helpers.h"
#include "db/change_history.h"
#include "db/connection.h"
#include "formats/import_errors.h"
#include "members/import/import_row_check.h"
#include "members/import/import_values.h"
#include "members/import/member_insert.h"
#include "members/import/workbook_import_flow.h"
#include "members/salutations.h"

#include <QSet>
#include <optional>

namespace members {
namespace {

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

// The row's 不接收簡訊 mark; none when the sheet has no such column.
std::optional<int> noSmsMark(int row, const QList<QStringView>& cells, int column) {
    if (column == 0)
        return std::nullopt;
    try {
        return yesNoValue(trimBlanks(cells.value(column - 1)));
    } catch (const ConversionError& error) {
        throw ConversionError(cellErrorText(row, column, error.text()));
    }
}

// The update of an existing member: a null parameter keeps the stored
// value. The number is not written; :Name is parameter 1, :Date1 18,
// :IsEnabled 19, :Row 20.
QString updateStatement() {
    QStringList sets;
    for (int column = 2; column <= kTextColumns; ++column) {
        const QString name = QString::fromLatin1(custColumn(column));
        sets << QStringLiteral("%1=coalesce(:%1,%1)").arg(name);
    }
    sets << QStringLiteral("IsEnabled=coalesce(:IsEnabled,IsEnabled)");
    sets << QStringLiteral("NoSms=coalesce(:NoSms,NoSms)");
    return QStringLiteral("update cust set %1 where rowid=:Row").arg(sets.join(','));
}
constexpr int kUpdateEnabledParameter = 19;
constexpr int kUpdateNoSmsParameter = 20;
constexpr int kUpdateRowParameter = 21;

// Binds the values of one row: column c to parameter c - skipped (columns
// up to skipped are not bound). Empty cells are bound as empty texts, or as
// nulls with emptyAsNull.
void bindRow(MemberInsert& statement, const QList<QStringView>& cells, const CheckedRow& checked,
             int skipped, bool emptyAsNull) {
    for (int column = skipped + 1; column <= kTextColumns; ++column) {
        const int parameter = column - skipped;
        if (column == kBirthdayColumn) {
            if (checked.birthday.isNull())
                statement.bindNull(parameter);
            else
                statement.bindText(parameter, checked.birthday);
            continue;
        }
        const QStringView text = columnView(cells, column);
        if (emptyAsNull && text.isEmpty())
            statement.bindNull(parameter);
        else
            statement.bindText(parameter, text);
    }
}

// Throws the database's refusal of a row, naming the row and, where it
// tells, the cell.
[[noreturn]] void throwRefusal(int row, const QList<QStringView>& cells, const QString& error) {
    const Refusal refusal = refusalOf(error);
    for (int column = 1; column <= kTextColumns; ++column) {
        if (refusal.column.compare(QLatin1String(custColumn(column)), Qt::CaseInsensitive) == 0)
            throw DatabaseError(
                cellErrorText(row, column, refusalText(refusal, columnText(cells, column))));
    }
    throw DatabaseError(QStringLiteral("第 %1 列%2").arg(row).arg(refusalText(refusal, QString())));
}

[[noreturn]] void throwRefusal(const RefusedRow& refused) {
    const QList<QStringView> cells(refused.cells.cbegin(), refused.cells.cend());
    throwRefusal(refused.row, cells, refused.error);
}

// Runs the row bound to statement at once.
void execute(MemberInsert& statement, int row, const QList<QStringView>& cells) {
    if (!statement.execute())
        throwRefusal(row, cells, statement.error());
}

// Stores the row bound to insert; on a server it may go with the rows after
// it, and a refusal of it or of a row sent before is thrown on.
void send(MemberInsert& insert, int row, const QList<QStringView>& cells) {
    if (!insert.send(row, cells))
        throwRefusal(insert.refused());
}

// Waits for the rows sent so far; a refusal of one is thrown on.
void finishRows(MemberInsert& insert) {
    if (!insert.finish())
        throwRefusal(insert.refused());
}

// The stored rows and the statements they go through.
class RowWriter {
public:
    RowWriter(WorkbookImportPath path, const ImportChoice& choice, ImportRecord& record)
        : m_window(path == WorkbookImportPath::Window), m_choice(choice), m_record(record),
          m_withoutEnabled(kMenuInsert.join('\n')) {
        if (m_window)
            m_withEnabled.emplace(kWindowInsert.join('\n'));
        if (choice.mode == ImportMode::Update)
            m_update.emplace(updateStatement());
    }

    void insert(int row, const QList<QStringView>& cells, const CheckedRow& checked,
                std::optional<int> noSms) {
        MemberInsert& insert = checked.enabled ? *m_withEnabled : m_withoutEnabled;
        bindRow(insert, cells, checked, 0, false);
        if (checked.enabled)
            insert.bindInt(kEnabledParameter, *checked.enabled);
        insert.bindInt(kEnabledParameter + (checked.enabled ? 1 : 0), noSms.value_or(0));
        send(insert, row, cells);
        ++result.counts.added;
    }

    // Before any other statement on the connection: the rows in flight
    // are answered first.
    void finish() { finishRows(m_withoutEnabled); }

    void update(int row, const QList<QStringView>& cells, const CheckedRow& checked, qint64 rowid,
                std::optional<int> noSms) {
        finish();
        if (m_choice.preview != nullptr && changedSincePreview(rowid)) {
            result.changedSince << QStringLiteral("第 %1 列「%2」%3")
                                       .arg(row)
                                       .arg(columnText(cells, 1), columnText(cells, 2));
            return;
        }
        m_record.keepReplaced(rowid);
        bindRow(*m_update, cells, checked, 1, true);
        if (checked.enabled)
            m_update->bindInt(kUpdateEnabledParameter, *checked.enabled);
        else
            m_update->bindNull(kUpdateEnabledParameter);
        if (noSms)
            m_update->bindInt(kUpdateNoSmsParameter, *noSms);
        else
            m_update->bindNull(kUpdateNoSmsParameter);
        m_update->bindText(kUpdateRowParameter, QString::number(rowid));
        execute(*m_update, row, cells);
        ++result.counts.updated;
    }

    ImportResult result;

private:
    bool changedSincePreview(qint64 rowid) const {
        const RegisterMembers* seen = m_choice.preview->members.get();
        const MemberPrint before = seen != nullptr ? seen->printOf(rowid) : 0;
        return before == 0 || RegisterMembers::currentPrint(rowid) != before;
    }

    bool m_window;
    const ImportChoice& m_choice;
    ImportRecord& m_record;
    MemberInsert m_withoutEnabled;
    std::optional<MemberInsert> m_withEnabled;
    std::optional<MemberInsert> m_update;
};

} // namespace

ImportResult importMembers(WorkbookReader& reader, WorkbookImportPath path,
                           const ImportChoice& choice,
                           const std::function<void(int nextRow)>& progress) {
    db::Transaction transaction(db::Transaction::Kind::Write);
    holdImportLock();
    if (choice.deleteOld)
        db::run(QStringLiteral("Delete from cust"));
    ImportRecord record(choice.file, recordedMode(choice.mode, choice.deleteOld),
                        choice.backupPath);
    db::history::ImportRecord history;
    ImportResult result;
    {
        std::optional<RegisterMembers> members;
        if (!choice.deleteOld && choice.mode != ImportMode::Add)
            members.emplace();
        RowSorter sorter(members ? &*members : nullptr, choice.mode);
        RowWriter writer(path, choice, record);
        const bool window = path == WorkbookImportPath::Window;
        QList<qint64> matched;
        QSet<QString> salutationsAdded;
        int noSmsColumn = 0;
        const auto visit = [&](int row, const QList<QStringView>& cells) {
            if (!window) {
                const QString salutation =
                    trimBlanks(cells.value(kSalutationColumn - 1)).toString();
                // Each salutation once: the list is written between the
                // rows, which waits for the rows sent before.
                if (!salutation.isEmpty() && !salutationsAdded.contains(salutation)) {
                    writer.finish();
                    insertSalutationIfAbsent(salutation);
                    salutationsAdded.insert(salutation);
                }
            }
            const CheckedRow checked = checkRow(row, cells, window);
            const std::optional<int> noSms = noSmsMark(row, cells, noSmsColumn);
            RowOutcome outcome;
            outcome.row = row;
            outcome.id = columnText(cells, 1);
            sorter.sort(outcome, matched);
            switch (outcome.verdict) {
            case RowVerdict::Error:
                throw ConversionError(outcome.reason);
            case RowVerdict::Duplicate:
                if (choice.mode == ImportMode::Add)
                    writer.insert(row, cells, checked, noSms);
                else
                    ++writer.result.counts.duplicates;
                break;
            case RowVerdict::Existing:
                if (choice.mode == ImportMode::Update)
                    writer.update(row, cells, checked, matched.first(), noSms);
                else if (choice.mode == ImportMode::SkipExisting)
                    ++writer.result.counts.skipped;
                else
                    writer.insert(row, cells, checked, noSms);
                break;
            case RowVerdict::New:
                writer.insert(row, cells, checked, noSms);
                break;
            }
            if (progress)
                progress(row + 1);
        };
        try {
            forEachDataRow(reader, path, visit, [&](const QList<QStringView>& headings) {
                noSmsColumn = headingColumn(headings, kNoSmsHeading);
            });
        } catch (const LunmarkError&) {
            // A row stored before the failing one may have been refused: that
            // refusal is the one told, as when each row waits for its answer.
            writer.finish();
            throw;
        }
        writer.finish();
        result = std::move(writer.result);
    }
    record.finish(result.counts);
    history.finish();
    transaction.commit();
    return result;
}

QString importResultText(const ImportResult& result) {
    const ImportCounts& counts = result.counts;
    QString text = importSuccessText(counts.added + counts.updated);
    if (counts.updated > 0 || counts.skipped > 0 || counts.duplicates > 0)
        text += QStringLiteral("（新增 %1 筆，更新 %2 筆，略過已存在 %3 筆，略過檔內重複 %4 筆）")
                    .arg(counts.added)
                    .arg(counts.updated)
                    .arg(counts.skipped)
                    .arg(counts.duplicates);
    if (!result.changedSince.isEmpty())
        text += QStringLiteral("\n以下會員在預覽之後已被其他電腦修改，沒有更新：\n") +
                result.changedSince.join('\n');
    return text;
}

} // namespace members
