#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstring>
#include <initializer_list>
#include <optional>

class QIODevice;

namespace members::xlsx {

// A small pull reader for the large parts of a workbook (the worksheet and
// the shared strings), several times faster than a general XML reader on
// them. It reads start tags (an empty element gives a start and an end),
// end tags and text, decodes entity and character references, and skips
// comments, processing instructions and the document type. Element and
// attribute names are local names: a namespace prefix is dropped. It checks
// what those parts need: that tags end, that end tags match and that the
// document does not stop inside an element. The text must be UTF-8, as
// these parts are written.
class XmlScanner {
public:
    enum class Token { Start, End, Text, EndOfDocument };

    // Reads from device (not owned), a chunk at a time.
    explicit XmlScanner(QIODevice* device);

    // Moves to the next token. On a fault it returns EndOfDocument and
    // error() tells what was wrong.
    Token next();

    // The local name of the element of a Start or End token.
    QByteArrayView name() const { return m_name; }

    // Whether that name is wanted: compared in place, a few bytes known at
    // compile time, as it is for every tag of a sheet.
    template <qsizetype N> bool isName(const char (&wanted)[N]) const {
        return m_name.size() == N - 1 && std::memcmp(m_name.data(), wanted, N - 1) == 0;
    }

    // The decoded value of an attribute of a Start token, by local name; a
    // null text when the tag has no such attribute.
    QString attribute(QByteArrayView name) const;

    // The same as raw bytes, for values known to hold no references (such
    // as cell references and numbers).
    QByteArrayView rawAttribute(QByteArrayView name) const;

    // The raw values of several attributes in one pass over the tag:
    // values[i] (of as many as names) for names[i], null when absent.
    void rawAttributes(std::initializer_list<QByteArrayView> names, QByteArrayView* values) const;

    // The decoded text of a Text token.
    QString text() const;

    // The texts up to the end of the element whose Start token was just
    // read, joined; leaves the scanner on that element's End token.
    QString elementText();

    // The same as UTF-8 bytes, for values read as numbers (such as a shared
    // string's index) without a text made of them: each piece of text with
    // its references decoded. Valid up to the next call.
    const QByteArray& elementBytes();

    // Skips to the End token of the element whose Start token was just read.
    void skipElement();

    // The bytes from the current position on, at least wanted of them
    // unless the document ends before, for a caller that reads markup of a
    // shape it knows itself and hands anything else back to next(); valid
    // up to the next call. Empty while an empty element's end is due.
    QByteArrayView upcoming(qsizetype wanted) {
        if (m_pendingEnd || !m_error.isEmpty())
            return QByteArrayView();
        fill(wanted);
        return QByteArrayView(m_buffer.constData() + m_pos, m_buffer.size() - m_pos);
    }

    // Moves past count bytes of upcoming(), which hold whole elements
    // (as many ends as starts) the caller has read.
    void skipBytes(qsizetype count) { m_pos += count; }

    // Nesting depth: 1 inside the root element.
    int depth() const { return m_depth; }

    // Empty unless the document is not well formed or could not be read.
    const QString& error() const { return m_error; }

    // Decodes the references of XML text (and normalises its line breaks).
    static QString decode(QByteArrayView raw);

private:
    // Makes wanted bytes from the current position available; false when
    // the document ends before.
    bool fill(qsizetype wanted) { return m_buffer.size() - m_pos >= wanted || refill(wanted); }
    bool refill(qsizetype wanted);
    qsizetype find(char c, qsizetype from);
    qsizetype find(QByteArrayView terminator, qsizetype from);
    qsizetype findTagEnd();
    Token fail(const QString& reason);
    // Reads the markup at the current position: its token, or nothing for
    // markup that gives none (a comment, an instruction, the document type).
    std::optional<Token> readMarkup();
    Token readStartTag(qsizetype end);
    Token readEndTag(qsizetype end);
    // Calls take(raw, isCdata) for each text of the element whose Start
    // token was just read, up to its End token.
    template <typename Take> void takeElementText(Take take);

    QIODevice* m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_deviceDone = false;

    QByteArrayView m_name;
    QByteArrayView m_attributes;
    QByteArrayView m_text;
    QByteArray m_cdata;
    QByteArray m_elementBytes;
    bool m_textIsCdata = false; // taken as it is, without references
    bool m_pendingEnd = false;
    int m_depth = 0;
    bool m_seenRoot = false;
    QString m_error;
};

} // namespace members::xlsx
