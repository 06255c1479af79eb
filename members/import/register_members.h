#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The members a register holds, by number, as an import matches the rows of
// a file with them.
namespace members {

// The Cust columns an import writes, in the order of the spreadsheet's
// columns A to S and then V; also the columns the import log keeps.
const QStringList& importedColumns();

// A fingerprint of a member's imported columns as read by
// "select <importedColumns()> from cust": equal while nobody changes them.
using MemberPrint = quint64;

// The row identities of the members stored under each member number, read
// in one pass. With prints, also each member's fingerprint, so that an
// update can tell a member another desk changed since.
class RegisterMembers {
public:
    enum class Prints { Without, With };
    explicit RegisterMembers(Prints prints = Prints::Without);

    // The row identities of the members whose number matches id as the
    // database compares it; empty when there is none.
    QList<qint64> rowsOf(QStringView id) const;

    // The fingerprint read for the member at rowid; 0 when not read.
    MemberPrint printOf(qint64 rowid) const { return m_prints.value(rowid); }

    // The fingerprint of the member at rowid as it is stored now; 0 when
    // it is gone.
    static MemberPrint currentPrint(qint64 rowid);

private:
    QHash<QString, QList<qint64>> m_rows;
    QHash<qint64, MemberPrint> m_prints;
};

} // namespace members
