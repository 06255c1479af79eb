// The CSV reader on any bytes: decoding (UTF-16, UTF-8 or Big5) and every
// row; bytes marked as UTF-16 that are not may only be refused with a
// ConversionError.
#include "base/errors.h"
#include "formats/csv_reader.h"
#include "fuzz/every_cell.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        members::decodeCsv(bytes);
        members::CsvBytes prepared = members::prepareCsv(bytes);
        const char separator = members::separatorOf(prepared.bytes);
        members::CsvParser parser(std::move(prepared), separator);
        parser.lineCount();
        readEveryCell(parser);
    } catch (const ConversionError&) {
    }
    return 0;
}
