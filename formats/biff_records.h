#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

// The record layer of an Excel 97 to 2003 (BIFF8) workbook stream: records
// of a type and a length, texts that may run on into CONTINUE records, and
// the shared string table. Every read is checked against the bytes there
// are; a read past them throws FileError with the reason (the caller adds
// the file's name).
namespace members::biff {

namespace record {
constexpr quint16 Formula = 0x0006;
constexpr quint16 Eof = 0x000A;
constexpr quint16 DateMode = 0x0022;
constexpr quint16 FilePass = 0x002F;
constexpr quint16 Continue = 0x003C;
constexpr quint16 BoundSheet = 0x0085;
constexpr quint16 MulRk = 0x00BD;
constexpr quint16 RString = 0x00D6;
constexpr quint16 Xf = 0x00E0;
constexpr quint16 Sst = 0x00FC;
constexpr quint16 LabelSst = 0x00FD;
constexpr quint16 Number = 0x0203;
constexpr quint16 Label = 0x0204;
constexpr quint16 BoolErr = 0x0205;
constexpr quint16 String = 0x0207;
constexpr quint16 Array = 0x0221;
constexpr quint16 Table = 0x0236;
constexpr quint16 Rk = 0x027E;
constexpr quint16 Format = 0x041E;
constexpr quint16 SharedFormula = 0x04BC;
constexpr quint16 Bof = 0x0809;
} // namespace record

// Thrown for bytes that do not hold what a record says they do.
[[noreturn]] void damaged(const QString& reason);

struct Record {
    quint16 type = 0;
    QByteArrayView data;
    qsizetype offset = 0; // of the record's header in the stream
};

// The records of a stream, one after the other from a position.
class RecordStream {
public:
    explicit RecordStream(QByteArrayView stream, qsizetype from = 0);

    // The next record; false at the end of the stream.
    bool next(Record& record);

    // The record at offset, which must be the offset of a record header.
    Record at(qsizetype offset) const;

    // The data of the CONTINUE records that follow the last record read,
    // which they carry on; the stream moves past them.
    QList<QByteArrayView> continuations();

    qsizetype position() const { return m_pos; }

private:
    QByteArrayView m_stream;
    qsizetype m_pos;
};

// Checked little-endian reads from one stretch of bytes or from a record
// and its continuations, in order.
class ByteReader {
public:
    explicit ByteReader(QByteArrayView data) : m_segments{data} {}
    explicit ByteReader(const QList<QByteArrayView>& segments)
        : m_segments(segments.begin(), segments.end()) {}

    quint8 u8();
    quint16 u16();
    quint32 u32();
    double f64();
    void skip(quint64 count);

    // count characters, one byte each (Latin-1) or two (UTF-16) as
    // highByte says; where they run on into the next segment, it begins
    // with a byte that says so again.
    QString characters(quint32 count, bool highByte);

    // A text with a 16-bit character count and a byte of flags, and the
    // rich-text runs and phonetic data the flags announce (skipped).
    QString unicodeString();
    // The same with an 8-bit count, as sheet names are written.
    QString shortUnicodeString();

    bool atEnd() const;

private:
    void read(char* into, qsizetype count);
    template <typename T> T little();
    void moveToData();

    // Held in place for a record without continuations, as most cells are:
    // a reader is made for every cell.
    QVarLengthArray<QByteArrayView, 2> m_segments;
    qsizetype m_segment = 0;
    qsizetype m_pos = 0;
};

// The strings of a shared string table: an SST record and its
// continuations.
QStringList readSharedStrings(QList<QByteArrayView> segments);

} // namespace members::biff
