#pragma once

#include <QByteArray>
#include <QString>

// Hand-made Excel 97 to 2003 workbooks for the reader's tests: BIFF8
// records and the compound file around them, byte for byte, so that a test
// can write what no spreadsheet program does (a text split over CONTINUE
// records, a damaged size) and see it read or refused.
namespace test_files {

// One BIFF record: its type, its length and data.
QByteArray biffRecord(quint16 type, const QByteArray& data);

// Little-endian numbers for record data.
QByteArray u16(quint16 value);
QByteArray u32(quint32 value);

// A text as BIFF8 writes it: 16-bit count, flags, UTF-16 characters.
QByteArray unicodeString(const QString& text);

// A workbook stream: globals (BOF, the given records, one BOUNDSHEET, EOF)
// and one worksheet (BOF, the given cell records, EOF).
QByteArray workbookStream(const QByteArray& globals, const QByteArray& cells);

// The compound file holding stream as "Workbook" (padded to the size
// that keeps it out of the small-stream area): in 512-byte sectors up to
// 32 KiB, in 4096-byte sectors beyond.
QByteArray compoundFile(const QByteArray& stream);

} // namespace test_files
