#include "db/packed_values.h"

#include <QDataStream>
#include <QIODevice>
#include <cstring>

namespace db {
namespace {

enum Tag : char {
    Invalid = 0, // QVariant()
    Null,        // a null of a type: 4 bytes of type id
    Text,        // QString: length, UTF-8
    Integer,     // qlonglong: 8 bytes
    Real,        // double: 8 bytes
    Int32,       // int: 4 bytes
    Blob,        // QByteArray: length, bytes
    Streamed,    // anything else: length, QDataStream of the QVariant
};

template <typename T> void appendRaw(QByteArray& data, T value) {
    data.append(reinterpret_cast<const char*>(&value), sizeof(T));
}

template <typename T> T readRaw(const QByteArray& data, qsizetype offset) {
    T value;
    std::memcpy(&value, data.constData() + offset, sizeof(T));
    return value;
}

void appendLength(QByteArray& data, quint32 length) {
    while (length >= 0x80) {
        data.append(char((length & 0x7F) | 0x80));
        length >>= 7;
    }
    data.append(char(length));
}

// Reads a length at offset and moves offset past it.
quint32 readLength(const QByteArray& data, qsizetype& offset) {
    quint32 length = 0;
    int shift = 0;
    for (;;) {
        const auto byte = quint8(data.at(offset++));
        length |= quint32(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            return length;
        shift += 7;
    }
}

void appendBytes(QByteArray& data, Tag tag, const char* bytes, int size) {
    data.append(tag);
    appendLength(data, quint32(size));
    data.append(bytes, size);
}

} // namespace

PackedValues::PackedValues(const QVariantList& values) {
    for (const QVariant& value : values)
        append(value);
}

PackedValues PackedValues::invalid(int count) {
    PackedValues values;
    values.m_data = QByteArray(count, Invalid);
    return values;
}

void PackedValues::appendNull(QMetaType type) {
    m_data.append(Null);
    appendRaw<qint32>(m_data, type.id());
}

void PackedValues::appendInteger(qint64 value) {
    m_data.append(Integer);
    appendRaw(m_data, value);
}

void PackedValues::appendReal(double value) {
    m_data.append(Real);
    appendRaw(m_data, value);
}

void PackedValues::appendText(const char* utf8, int size) {
    appendBytes(m_data, Text, utf8, size);
}

void PackedValues::appendBlob(const char* data, int size) {
    appendBytes(m_data, Blob, data, size);
}

void PackedValues::append(const QVariant& value) {
    if (!value.isValid()) {
        m_data.append(Invalid);
        return;
    }
    if (value.isNull()) {
        appendNull(value.metaType());
        return;
    }
    switch (value.typeId()) {
    case QMetaType::QString: {
        const QByteArray utf8 = value.toString().toUtf8();
        appendText(utf8.constData(), int(utf8.size()));
        return;
    }
    case QMetaType::LongLong:
        appendInteger(value.toLongLong());
        return;
    case QMetaType::Double:
        appendReal(value.toDouble());
        return;
    case QMetaType::Int:
        m_data.append(Int32);
        appendRaw<qint32>(m_data, value.toInt());
        return;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        appendBlob(bytes.constData(), int(bytes.size()));
        return;
    }
    default: {
        QByteArray streamed;
        QDataStream stream(&streamed, QIODevice::WriteOnly);
        stream << value;
        appendBytes(m_data, Streamed, streamed.constData(), int(streamed.size()));
        return;
    }
    }
}

qsizetype PackedValues::skip(qsizetype offset) const {
    const char tag = m_data.at(offset++);
    switch (tag) {
    case Invalid:
        return offset;
    case Null:
    case Int32:
        return offset + 4;
    case Integer:
    case Real:
        return offset + 8;
    default: {
        const quint32 length = readLength(m_data, offset);
        return offset + qsizetype(length);
    }
    }
}

int PackedValues::count() const {
    int count = 0;
    for (qsizetype offset = 0; offset < m_data.size(); offset = skip(offset))
        ++count;
    return count;
}

QVariant PackedValues::at(int index) const {
    qsizetype offset = 0;
    for (int i = 0; i < index && offset < m_data.size(); ++i)
        offset = skip(offset);
    if (index < 0 || offset >= m_data.size())
        return {};
    return read(offset);
}

QVariant PackedValues::read(qsizetype& offset) const {
    const char tag = m_data.at(offset++);
    switch (tag) {
    case Invalid:
        return {};
    case Null:
        offset += 4;
        return QVariant(QMetaType(readRaw<qint32>(m_data, offset - 4)));
    case Integer:
        offset += 8;
        return QVariant(readRaw<qlonglong>(m_data, offset - 8));
    case Real:
        offset += 8;
        return QVariant(readRaw<double>(m_data, offset - 8));
    case Int32:
        offset += 4;
        return QVariant(readRaw<qint32>(m_data, offset - 4));
    default:
        break;
    }
    const auto length = qsizetype(readLength(m_data, offset));
    const char* bytes = m_data.constData() + offset;
    offset += length;
    if (tag == Text)
        return QVariant(QString::fromUtf8(bytes, length));
    if (tag == Blob)
        return QVariant(QByteArray(bytes, length));
    QVariant value;
    QDataStream stream(QByteArray::fromRawData(bytes, length));
    stream >> value;
    return value;
}

QVariantList PackedValues::toList() const {
    QVariantList values;
    for (qsizetype offset = 0; offset < m_data.size();)
        values.append(read(offset));
    return values;
}

void PackedValues::set(int index, const QVariant& value) {
    QVariantList values = toList();
    if (index < 0 || index >= values.size())
        return;
    values[index] = value;
    *this = PackedValues(values);
}

} // namespace db
