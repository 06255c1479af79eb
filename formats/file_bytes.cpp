#include "formats/file_bytes.h"

#include "base/errors.h"

#include <QFile>

namespace members {

QByteArray readFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("無法開啟檔案 %1: %2").arg(path, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("無法讀取檔案 %1: %2").arg(path, file.errorString()));
    return bytes;
}

} // namespace members
