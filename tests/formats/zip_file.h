#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

namespace test_files {

// Writes a zip file holding the entries (name, content), for workbooks
// whose XML a test writes by hand.
void writeZip(const QString& path, const QList<std::pair<QString, QByteArray>>& entries);

} // namespace test_files
