#pragma once

#include <QByteArray>
#include <QVariant>
#include <QVariantList>

// The values of one dataset row packed one after another in a single byte
// array: a large result keeps one allocation per row instead of one per
// value. Every value comes back as it went in, type and null-ness included
// (a typed null stays typed); texts are kept as UTF-8.
namespace db {

class PackedValues {
public:
    PackedValues() = default;
    explicit PackedValues(const QVariantList& values);

    // count values that are all QVariant().
    static PackedValues invalid(int count);

    int count() const;
    QVariant at(int index) const; // QVariant() past the end
    QVariantList toList() const;
    // Repacks the row with one value changed.
    void set(int index, const QVariant& value);

    // Appending while a row is read from the database.
    void appendNull(QMetaType type);
    void appendInteger(qint64 value);
    void appendReal(double value);
    void appendText(const char* utf8, int size);
    void appendBlob(const char* data, int size);
    void append(const QVariant& value);

    bool operator==(const PackedValues& other) const { return m_data == other.m_data; }

private:
    // The offset just past the value that begins at offset.
    qsizetype skip(qsizetype offset) const;
    // The value that begins at offset; moves offset past it.
    QVariant read(qsizetype& offset) const;

    QByteArray m_data;
};

} // namespace db
