#include "formats/xml_scanner.h"

#include <QIODevice>
#include <algorithm>
#include <cstring>

namespace members::xlsx {
namespace {

// Small enough that what the zip library has just inflated is still in the
// processor's cache when the scanner reads it.
constexpr qsizetype kChunk = 1 << 16;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The name without its namespace prefix.
QByteArrayView localName(QByteArrayView name) {
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        if (name[i] == ':')
            return name.sliced(i + 1);
    }
    return name;
}

bool isNamespaceDeclaration(QByteArrayView name) {
    return name == "xmlns" || name.startsWith("xmlns:");
}

// The character of a reference such as "amp" or "#x4E2D", as UTF-8; empty
// when it is not one.
QByteArray referenced(QByteArrayView entity) {
    if (entity == "amp")
        return "&";
    if (entity == "lt")
        return "<";
    if (entity == "gt")
        return ">";
    if (entity == "quot")
        return "\"";
    if (entity == "apos")
        return "'";
    if (entity.size() < 2 || entity[0] != '#')
        return QByteArray();
    bool ok = false;
    const char32_t code = entity[1] == 'x' ? entity.sliced(2).toByteArray().toUInt(&ok, 16)
                                           : entity.sliced(1).toByteArray().toUInt(&ok, 10);
    if (!ok || code == 0 || code > 0x10FFFF)
        return QByteArray();
    return QString::fromUcs4(&code, 1).toUtf8();
}

} // namespace

XmlScanner::XmlScanner(QIODevice* device) : m_device(device) {}

QString XmlScanner::decode(QByteArrayView raw) {
    if (std::memchr(raw.data(), '&', raw.size()) == nullptr &&
        std::memchr(raw.data(), '\r', raw.size()) == nullptr)
        return QString::fromUtf8(raw);
    QByteArray out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\r') { // CR LF and CR alone read as LF, as in any XML
            out += '\n';
            if (i + 1 < raw.size() && raw[i + 1] == '\n')
                ++i;
            continue;
        }
        if (c == '&') {
            qsizetype semicolon = i + 1;
            while (semicolon < raw.size() && semicolon - i <= 10 && raw[semicolon] != ';')
                ++semicolon;
            const QByteArray character = semicolon < raw.size() && raw[semicolon] == ';'
                                             ? referenced(raw.sliced(i + 1, semicolon - i - 1))
                                             : QByteArray();
            if (!character.isEmpty()) {
                out += character;
                i = semicolon;
                continue;
            }
        }
        out += c;
    }
    return QString::fromUtf8(out);
}

bool XmlScanner::refill(qsizetype wanted) {
    while (m_buffer.size() - m_pos < wanted) {
        if (m_deviceDone)
            return false;
        if (m_pos > 0) {
            m_buffer.remove(0, m_pos);
            m_pos = 0;
        }
        const qsizetype had = m_buffer.size();
        m_buffer.resize(had + kChunk);
        const qint64 count = m_device->read(m_buffer.data() + had, kChunk);
        m_buffer.resize(had + qMax<qint64>(count, 0));
        if (count <= 0)
            m_deviceDone = true;
    }
    return true;
}

qsizetype XmlScanner::find(char c, qsizetype from) {
    for (;;) {
        const char* begin = m_buffer.constData() + m_pos;
        const qsizetype available = m_buffer.size() - m_pos;
        if (from < available) {
            const void* hit = std::memchr(begin + from, c, size_t(available - from));
            if (hit != nullptr)
                return static_cast<const char*>(hit) - begin;
            from = available;
        }
        if (!fill(available + 1))
            return -1;
    }
}

qsizetype XmlScanner::find(QByteArrayView terminator, qsizetype from) {
    for (;;) {
        const qsizetype at = find(terminator[0], from);
        if (at < 0 || !fill(at + terminator.size()))
            return -1;
        if (QByteArrayView(m_buffer.constData() + m_pos + at, terminator.size()) == terminator)
            return at;
        from = at + 1;
    }
}

// The offset of the '>' that ends the tag at the current position; quoted
// attribute values may hold '>'.
qsizetype XmlScanner::findTagEnd() {
    qsizetype at = 1;
    for (;;) {
        if (!fill(at + 1))
            return -1;
        // Through the bytes there are, without asking for more at each one.
        const char* data = m_buffer.constData() + m_pos;
        const qsizetype available = m_buffer.size() - m_pos;
        while (at < available && data[at] != '>' && data[at] != '"' && data[at] != '\'')
            ++at;
        if (at >= available)
            continue;
        const char c = data[at];
        if (c == '>')
            return at;
        at = find(c, at + 1);
        if (at < 0)
            return -1;
        ++at;
    }
}

XmlScanner::Token XmlScanner::fail(const QString& reason) {
    if (m_error.isEmpty())
        m_error = reason;
    return Token::EndOfDocument;
}

XmlScanner::Token XmlScanner::next() {
    if (!m_error.isEmpty())
        return Token::EndOfDocument;
    if (m_pendingEnd) { // the end of an empty element
        m_pendingEnd = false;
        --m_depth;
        return Token::End;
    }
    // Comments, processing instructions and the document type give no
    // token: go on past them, however many there are.
    for (;;) {
        if (!fill(1)) {
            if (m_depth > 0)
                return fail(QStringLiteral("內容在元素中途結束"));
            if (!m_seenRoot)
                return fail(QStringLiteral("沒有內容"));
            return Token::EndOfDocument;
        }
        if (m_buffer.at(m_pos) != '<') {
            qsizetype end = find('<', 0);
            if (end < 0)
                end = m_buffer.size() - m_pos;
            m_text = QByteArrayView(m_buffer.constData() + m_pos, end);
            m_textIsCdata = false;
            m_pos += end;
            return Token::Text;
        }
        if (const std::optional<Token> token = readMarkup())
            return *token;
    }
}

std::optional<XmlScanner::Token> XmlScanner::readMarkup() {
    fill(9);
    // Views of the buffer do not outlive a read from the device: take what
    // the markup's opening says first.
    const QByteArrayView opening(m_buffer.constData() + m_pos,
                                 qMin<qsizetype>(9, m_buffer.size() - m_pos));
    const char second = opening.size() > 1 ? opening[1] : '\0';
    const bool instruction = second == '?';
    const bool declaration = second == '!';
    const bool comment = declaration && opening.startsWith("<!--");
    const bool cdata = declaration && opening.startsWith("<![CDATA[");
    const bool endTag = second == '/';
    if (instruction || comment) {
        const QByteArrayView terminator = instruction ? "?>" : "-->";
        const qsizetype end = find(terminator, 2);
        if (end < 0)
            return fail(QStringLiteral("註解或處理指令沒有結束"));
        m_pos += end + terminator.size();
        return std::nullopt;
    }
    if (cdata) {
        const qsizetype end = find("]]>", 9);
        if (end < 0)
            return fail(QStringLiteral("CDATA 區段沒有結束"));
        m_cdata = QByteArray(m_buffer.constData() + m_pos + 9, end - 9);
        m_text = m_cdata;
        m_textIsCdata = true;
        m_pos += end + 3;
        return Token::Text;
    }
    const qsizetype end = findTagEnd();
    if (end < 0)
        return fail(QStringLiteral("標籤沒有結束"));
    if (declaration) { // the document type
        m_pos += end + 1;
        return std::nullopt;
    }
    return endTag ? readEndTag(end) : readStartTag(end);
}

XmlScanner::Token XmlScanner::readStartTag(qsizetype end) {
    QByteArrayView tag(m_buffer.constData() + m_pos + 1, end - 1);
    m_pos += end + 1;
    const bool empty = tag.endsWith('/');
    if (empty)
        tag.chop(1);
    qsizetype nameEnd = 0;
    while (nameEnd < tag.size() && !isSpace(tag[nameEnd]))
        ++nameEnd;
    if (nameEnd == 0)
        return fail(QStringLiteral("標籤沒有名稱"));
    if (m_seenRoot && m_depth == 0)
        return fail(QStringLiteral("文件有第二個根元素"));
    m_name = localName(tag.first(nameEnd));
    m_attributes = tag.sliced(nameEnd);
    m_seenRoot = true;
    ++m_depth;
    m_pendingEnd = empty;
    return Token::Start;
}

XmlScanner::Token XmlScanner::readEndTag(qsizetype end) {
    QByteArrayView tag(m_buffer.constData() + m_pos + 2, end - 2);
    m_pos += end + 1;
    while (!tag.isEmpty() && isSpace(tag.back()))
        tag.chop(1);
    if (tag.isEmpty() || m_depth == 0)
        return fail(QStringLiteral("多餘的結束標籤"));
    m_name = localName(tag);
    --m_depth;
    return Token::End;
}

void XmlScanner::rawAttributes(std::initializer_list<QByteArrayView> wanted,
                               QByteArrayView* values) const {
    std::fill(values, values + wanted.size(), QByteArrayView());
    qsizetype missing = qsizetype(wanted.size());
    const QByteArrayView list = m_attributes;
    qsizetype i = 0;
    while (i < list.size() && missing > 0) {
        while (i < list.size() && isSpace(list[i]))
            ++i;
        const qsizetype nameStart = i;
        while (i < list.size() && list[i] != '=' && !isSpace(list[i]))
            ++i;
        const QByteArrayView name = list.sliced(nameStart, i - nameStart);
        while (i < list.size() && (isSpace(list[i]) || list[i] == '='))
            ++i;
        if (i >= list.size())
            break;
        const char quote = list[i];
        if (quote != '"' && quote != '\'')
            break;
        const qsizetype valueStart = ++i;
        while (i < list.size() && list[i] != quote)
            ++i;
        const QByteArrayView value = list.sliced(valueStart, i - valueStart);
        ++i;
        if (isNamespaceDeclaration(name))
            continue;
        const QByteArrayView local = localName(name);
        qsizetype at = 0;
        for (const QByteArrayView one : wanted) {
            if (values[at].isNull() && local == one) { // the first of that name counts
                values[at] = value.isNull() ? QByteArrayView("") : value;
                --missing;
            }
            ++at;
        }
    }
}

QByteArrayView XmlScanner::rawAttribute(QByteArrayView wanted) const {
    QByteArrayView value;
    rawAttributes({wanted}, &value);
    return value;
}

QString XmlScanner::attribute(QByteArrayView name) const {
    const QByteArrayView raw = rawAttribute(name);
    return raw.isNull() ? QString() : decode(raw);
}

QString XmlScanner::text() const {
    return m_textIsCdata ? QString::fromUtf8(m_text) : decode(m_text);
}

template <typename Take> void XmlScanner::takeElementText(Take take) {
    const int depth = m_depth;
    for (;;) {
        switch (next()) {
        case Token::Text:
            if (m_depth == depth)
                take(m_text, m_textIsCdata);
            break;
        case Token::End:
            if (m_depth == depth - 1)
                return;
            break;
        case Token::Start:
            break;
        case Token::EndOfDocument:
            return;
        }
    }
}

QString XmlScanner::elementText() {
    QString text;
    takeElementText([&](QByteArrayView raw, bool cdata) {
        text += cdata ? QString::fromUtf8(raw) : decode(raw);
    });
    return text;
}

const QByteArray& XmlScanner::elementBytes() {
    m_elementBytes.resize(0); // keeps the room it has for the next value
    takeElementText([&](QByteArrayView raw, bool cdata) {
        if (cdata || (std::memchr(raw.data(), '&', raw.size()) == nullptr &&
                      std::memchr(raw.data(), '\r', raw.size()) == nullptr))
            m_elementBytes += raw;
        else
            m_elementBytes += decode(raw).toUtf8();
    });
    return m_elementBytes;
}

void XmlScanner::skipElement() {
    const int depth = m_depth;
    while (m_depth >= depth) {
        if (next() == Token::EndOfDocument)
            return;
    }
}

} // namespace members::xlsx
