// The .xls reader (compound file and BIFF8 records) on any bytes: every row
// is read, and a damaged file may only be refused with a FileError.
#include "base/errors.h"
#include "formats/xls_reader.h"
#include "fuzz/every_cell.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const std::unique_ptr<members::WorkbookReader> reader =
            members::readXlsWorkbook(bytes, QStringLiteral("fuzz.xls"));
        reader->lastRowHint();
        readEveryCell(*reader);
    } catch (const FileError&) {
    }
    return 0;
}
