#include "formats/biff_records.h"

#include "base/errors.h"

#include <QtEndian>
#include <cstring>

namespace members::biff {

void damaged(const QString& reason) {
    throw FileError(reason);
}

RecordStream::RecordStream(QByteArrayView stream, qsizetype from) : m_stream(stream), m_pos(from) {
    if (from < 0 || from > stream.size())
        damaged(QStringLiteral("工作表的位置超出活頁簿資料流"));
}

bool RecordStream::next(Record& record) {
    if (m_pos >= m_stream.size())
        return false;
    record = at(m_pos);
    m_pos += 4 + record.data.size();
    return true;
}

Record RecordStream::at(qsizetype offset) const {
    if (offset < 0 || m_stream.size() - offset < 4)
        damaged(QStringLiteral("記錄的標頭超出活頁簿資料流"));
    Record record;
    record.offset = offset;
    record.type = qFromLittleEndian<quint16>(m_stream.data() + offset);
    const quint16 size = qFromLittleEndian<quint16>(m_stream.data() + offset + 2);
    if (m_stream.size() - offset - 4 < size)
        damaged(QStringLiteral("記錄的長度超出活頁簿資料流"));
    record.data = m_stream.sliced(offset + 4, size);
    return record;
}

QList<QByteArrayView> RecordStream::continuations() {
    QList<QByteArrayView> segments;
    while (m_stream.size() - m_pos >= 4 &&
           qFromLittleEndian<quint16>(m_stream.data() + m_pos) == record::Continue) {
        Record next;
        this->next(next);
        segments.append(next.data);
    }
    return segments;
}

void ByteReader::moveToData() {
    while (m_segment < m_segments.size() && m_pos >= m_segments.at(m_segment).size()) {
        ++m_segment;
        m_pos = 0;
    }
}

bool ByteReader::atEnd() const {
    for (qsizetype i = m_segment; i < m_segments.size(); ++i) {
        if (m_segments.at(i).size() > (i == m_segment ? m_pos : 0))
            return false;
    }
    return true;
}

void ByteReader::read(char* into, qsizetype count) {
    while (count > 0) {
        moveToData();
        if (m_segment >= m_segments.size())
            damaged(QStringLiteral("記錄比它的內容短"));
        const QByteArrayView segment = m_segments.at(m_segment);
        const qsizetype take = qMin(count, segment.size() - m_pos);
        if (into != nullptr) {
            std::memcpy(into, segment.data() + m_pos, size_t(take));
            into += take;
        }
        m_pos += take;
        count -= take;
    }
}

template <typename T> T ByteReader::little() {
    // Most reads lie within the segment at hand: taken from there at once.
    if (m_segment < m_segments.size() &&
        m_segments.at(m_segment).size() - m_pos >= qsizetype(sizeof(T))) {
        const T value = qFromLittleEndian<T>(m_segments.at(m_segment).data() + m_pos);
        m_pos += qsizetype(sizeof(T));
        return value;
    }
    char bytes[sizeof(T)];
    read(bytes, sizeof(T));
    return qFromLittleEndian<T>(bytes);
}

quint8 ByteReader::u8() {
    return little<quint8>();
}

quint16 ByteReader::u16() {
    return little<quint16>();
}

quint32 ByteReader::u32() {
    return little<quint32>();
}

double ByteReader::f64() {
    const quint64 bits = little<quint64>();
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void ByteReader::skip(quint64 count) {
    while (count > 0) {
        moveToData();
        if (m_segment >= m_segments.size())
            damaged(QStringLiteral("記錄比它的內容短"));
        const quint64 take = qMin<quint64>(count, m_segments.at(m_segment).size() - m_pos);
        m_pos += qsizetype(take);
        count -= take;
    }
}

QString ByteReader::characters(quint32 count, bool highByte) {
    QString text;
    text.reserve(qMin<quint32>(count, 8224));
    while (quint32(text.size()) < count) {
        if (m_segment >= m_segments.size())
            damaged(QStringLiteral("文字比它的長度短"));
        const QByteArrayView segment = m_segments.at(m_segment);
        const qsizetype width = highByte ? 2 : 1;
        const qsizetype available = (segment.size() - m_pos) / width;
        if (available == 0) {
            // The characters go on in the next segment, which starts with
            // its own flags byte.
            if (++m_segment >= m_segments.size() || m_segments.at(m_segment).isEmpty())
                damaged(QStringLiteral("文字比它的長度短"));
            m_pos = 0;
            highByte = (u8() & 0x01) != 0;
            continue;
        }
        const qsizetype take = qMin<qsizetype>(available, count - text.size());
        const char* data = segment.data() + m_pos;
        if (highByte) { // UTF-16 units, straight into the text
            const qsizetype had = text.size();
            text.resize(had + take);
            qFromLittleEndian<quint16>(data, take, text.data() + had);
        } else {
            text.append(QLatin1String(data, take));
        }
        m_pos += take * width;
    }
    return text;
}

namespace {

QString stringBody(ByteReader& reader, quint32 count) {
    const quint8 flags = reader.u8();
    const quint16 runs = (flags & 0x08) != 0 ? reader.u16() : 0;
    const quint32 phonetic = (flags & 0x04) != 0 ? reader.u32() : 0;
    QString text = reader.characters(count, (flags & 0x01) != 0);
    reader.skip(quint64(runs) * 4);
    reader.skip(phonetic);
    return text;
}

} // namespace

QString ByteReader::unicodeString() {
    const quint16 count = u16();
    return stringBody(*this, count);
}

QString ByteReader::shortUnicodeString() {
    const quint8 count = u8();
    return stringBody(*this, count);
}

QStringList readSharedStrings(QList<QByteArrayView> segments) {
    qsizetype bytes = 0;
    for (const QByteArrayView segment : segments)
        bytes += segment.size();
    ByteReader reader(std::move(segments));
    reader.u32(); // the number of cells that use the table
    const quint32 unique = reader.u32();
    QStringList strings;
    // Each string takes at least three bytes: reserve no more than fit.
    strings.reserve(qMin<qsizetype>(unique, bytes / 3));
    for (quint32 i = 0; i < unique && !reader.atEnd(); ++i)
        strings.append(reader.unicodeString());
    return strings;
}

} // namespace members::biff
