// The .xls reader (compound file and BIFF8 records) on any bytes: every row
// is read, and a damaged file may only be refused with a FileError.
#include "base/errors.h"
#include "members/import/xls_reader.h"

#include <QByteArray>
#include <QHash>
#include <cstddef>
#include <cstdint>

namespace {
volatile size_t seen = 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const std::unique_ptr<members::WorkbookReader> reader =
            members::readXlsWorkbook(bytes, QStringLiteral("fuzz.xls"));
        members::SheetRow row;
        reader->lastRowHint();
        while (reader->nextRow(row)) {
            // Every cell read through, so that a view of text no longer
            // there shows.
            for (const QStringView cell : row.cells)
                seen = seen + qHash(cell);
        }
    } catch (const FileError&) {
    }
    return 0;
}
