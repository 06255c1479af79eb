#pragma once

#include <QString>
#include <vector>

namespace db {
class Dataset;
}

// What the printed reports take from the member query and the settings row.
namespace members::report {

// The fields of one member that the list and the labels print.
struct MemberRow {
    QString id;
    QString name;
    QString salutation; // Name1
    QString tel;
    QString mobile; // CDTel
    QString address;
};

// Every row of the member query in its current order (a sort included).
// Throws DatabaseError when the query lacks one of the fields.
std::vector<MemberRow> memberRows(const db::Dataset& query);

// The three texts of the list's title band.
struct ListTitles {
    QString title;   // SystemSet.ReportTitle
    QString address; // SystemSet.Address
    QString telFax;  // "電話﹕" + Tel + "  傳真﹕" + Fax
};

// The title texts from the first settings row, as stored; without a row the
// values are empty.
ListTitles readListTitles();

} // namespace members::report
