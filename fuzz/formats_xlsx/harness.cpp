// The .xlsx reader (zip container, workbook parts, sheet scanner) on any
// bytes, written to a file since the zip library reads files: every row is
// read, and a damaged file may only be refused with a FileError.
#include "base/errors.h"
#include "formats/xlsx_reader.h"
#include "fuzz/every_cell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString path = QDir::temp().filePath(
        QStringLiteral("lunmark-fuzz-%1.xlsx").arg(QCoreApplication::applicationPid()));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    try {
        const std::unique_ptr<members::WorkbookReader> reader = members::openXlsxWorkbook(path);
        reader->lastRowHint();
        readEveryCell(*reader);
    } catch (const FileError&) {
    }
    return 0;
}
