#include "formats/xlsx_parts.h"

#include "base/errors.h"
#include "formats/number_format.h"
#include "formats/xlsx_plain_cell.h"
#include "formats/xml_scanner.h"

#include <QXmlStreamReader>

namespace members::xlsx {
namespace {

[[noreturn]] void damaged(const QString& part, const QXmlStreamReader& xml) {
    throw FileError(QStringLiteral("活頁簿的 %1 已損壞: %2 (第 %3 行)")
                        .arg(part, xml.errorString())
                        .arg(xml.lineNumber()));
}

void checkEnd(const QString& part, const QXmlStreamReader& xml) {
    if (xml.hasError())
        damaged(part, xml);
}

// Resolves a relationship target: an absolute one ("/xl/a.xml") from the
// package root, a relative one ("../a.xml", "worksheets/s.xml") from folder.
QString resolveTarget(const QString& folder, const QString& target) {
    QStringList parts;
    if (!target.startsWith('/') && !folder.isEmpty())
        parts = folder.split('/');
    for (const QString& piece : target.split('/', Qt::SkipEmptyParts)) {
        if (piece == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (piece != u".") {
            parts.append(piece);
        }
    }
    return parts.join('/');
}

// Text of a string item (<si>), the scanner being on its start: the <t>
// elements outside phonetic runs.
QString stringItemText(XmlScanner& xml) {
    QString text;
    const int depth = xml.depth();
    for (;;) {
        const XmlScanner::Token token = xml.next();
        if (token == XmlScanner::Token::Start && xml.isName("t"))
            text += xml.elementText();
        else if (token == XmlScanner::Token::Start && xml.isName("rPh"))
            xml.skipElement();
        else if ((token == XmlScanner::Token::End && xml.depth() < depth) ||
                 token == XmlScanner::Token::EndOfDocument)
            return text;
    }
}

} // namespace

void SharedStrings::appendUtf8(QByteArrayView text) {
    const qsizetype start = m_text.size();
    if (m_text.capacity() < start + text.size())
        m_text.reserve(qMax(2 * m_text.capacity(), start + text.size()));
    m_text.resize(start + text.size()); // UTF-8 takes no fewer bytes than UTF-16 units
    const QChar* end = m_utf8.appendToBuffer(m_text.data() + start, text);
    m_text.truncate(end - m_text.constData());
    m_ends.push_back(m_text.size());
}

QString Relationships::targetOfType(const QString& suffix) const {
    for (const auto& [type, target] : typeAndTarget) {
        if (type.endsWith(suffix))
            return target;
    }
    return QString();
}

QString folderOf(const QString& part) {
    const qsizetype slash = part.lastIndexOf('/');
    return slash < 0 ? QString() : part.left(slash);
}

QString relationshipsPartOf(const QString& part) {
    const QString folder = folderOf(part);
    const QString name = part.mid(folder.isEmpty() ? 0 : folder.size() + 1);
    return (folder.isEmpty() ? QString() : folder + '/') + QStringLiteral("_rels/") + name +
           QStringLiteral(".rels");
}

Relationships readRelationships(const QByteArray& bytes, const QString& folder,
                                const QString& part) {
    Relationships relationships;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship")
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (attributes.value(QLatin1String("TargetMode")) == u"External")
            continue;
        const QString target =
            resolveTarget(folder, attributes.value(QLatin1String("Target")).toString());
        relationships.targetById.insert(attributes.value(QLatin1String("Id")).toString(), target);
        relationships.typeAndTarget.append(
            std::make_pair(attributes.value(QLatin1String("Type")).toString(), target));
    }
    checkEnd(part, xml);
    return relationships;
}

WorkbookInfo readWorkbookInfo(const QByteArray& bytes, const QString& part) {
    WorkbookInfo info;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"workbookPr") {
            const QStringView value = xml.attributes().value(QLatin1String("date1904"));
            info.date1904 = value == u"1" || value == u"true";
        } else if (xml.name() == u"sheet" && info.firstSheetId.isEmpty()) {
            // The relationship id is in the relationships namespace,
            // whatever prefix the file gives it.
            for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
                    info.firstSheetId = attribute.value().toString();
            }
        }
    }
    checkEnd(part, xml);
    return info;
}

SharedStrings readSharedStrings(QIODevice* device, const QString& part) {
    SharedStrings strings;
    XmlScanner xml(device);
    for (;;) {
        // Items of the common shape straight from the bytes, up to a length
        // that most strings of a workbook are well within.
        constexpr qsizetype kLongestPlainItem = 1024;
        if (xml.depth() == 1) {
            if (const std::optional<PlainStringItem> item =
                    plainStringItemAt(xml.upcoming(kLongestPlainItem))) {
                strings.appendUtf8(item->text);
                xml.skipBytes(item->length);
                continue;
            }
        }
        const XmlScanner::Token token = xml.next();
        if (token == XmlScanner::Token::EndOfDocument)
            break;
        if (token != XmlScanner::Token::Start)
            continue;
        if (xml.isName("sst")) {
            // The count is only the file's word: reserve for a bounded number
            // of strings up front and let the list grow as strings come.
            constexpr qint64 kMostReserved = 65536;
            strings.reserve(
                qBound<qint64>(0, xml.attribute("uniqueCount").toLongLong(), kMostReserved));
        } else if (xml.isName("si")) {
            strings.append(stringItemText(xml));
        }
    }
    if (!xml.error().isEmpty())
        throw FileError(QStringLiteral("活頁簿的 %1 已損壞: %2").arg(part, xml.error()));
    return strings;
}

QList<NumberFormat> readCellFormats(const QByteArray& bytes, const QString& part) {
    QHash<int, QString> customCodes;
    QList<NumberFormat> styles;
    bool inCellFormats = false;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == u"cellXfs")
            inCellFormats = false;
        if (!xml.isStartElement())
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == u"numFmt") {
            customCodes.insert(attributes.value(QLatin1String("numFmtId")).toInt(),
                               attributes.value(QLatin1String("formatCode")).toString());
        } else if (xml.name() == u"cellXfs") {
            inCellFormats = true;
        } else if (xml.name() == u"xf" && inCellFormats) {
            const int id = attributes.value(QLatin1String("numFmtId")).toInt();
            styles.append(numberFormatOf(id, customCodes.value(id)));
        }
    }
    checkEnd(part, xml);
    return styles;
}

} // namespace members::xlsx
