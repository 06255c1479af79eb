// The CSV reader on any bytes: decoding (UTF-16, UTF-8 or Big5) and every
// row; bytes marked as UTF-16 that are not may only be refused with a
// ConversionError.
#include "base/errors.h"
#include "members/import/csv_reader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        QString text = members::decodeCsv(bytes);
        const QChar separator = members::separatorOf(text);
        members::CsvParser parser(std::move(text), separator);
        parser.lineCount();
        QStringList fields;
        while (parser.nextRow(fields)) {
        }
    } catch (const ConversionError&) {
    }
    return 0;
}
