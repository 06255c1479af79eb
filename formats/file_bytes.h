#pragma once

#include <QByteArray>
#include <QString>

namespace members {

// The whole content of the file at path. Throws FileError, naming the file
// and the reason, when it cannot be opened or read.
QByteArray readFileBytes(const QString& path);

} // namespace members
