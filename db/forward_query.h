#pragma once

#include <QSqlQuery>
#include <QStringList>
#include <QVariantMap>

namespace db {

// db::run for reading a long result once, from first row to last: rows are
// not kept once passed, so memory stays flat however many there are (the
// export of a whole register). Throws DatabaseError as db::run does.
QSqlQuery runForwardOnly(const QStringList& lines, const QVariantMap& params = {});

} // namespace db
