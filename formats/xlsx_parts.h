#pragma once

#include "formats/number_format.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <vector>

class QIODevice;

// The small parts of an Office Open XML workbook that say where its first
// worksheet is and how its cells are to be read. Each function reads one
// part's XML and throws FileError (with the part's name) when it is not
// well formed.
namespace members::xlsx {

// The relationships of a part (a ".rels" file): id to target and type to
// target, targets resolved against folder (the folder of the part they
// belong to, "" for the package, "xl" for "xl/workbook.xml").
struct Relationships {
    QHash<QString, QString> targetById;
    QList<std::pair<QString, QString>> typeAndTarget;

    // The target of the first relationship whose type ends with suffix
    // (such as "/officeDocument"); empty when there is none.
    QString targetOfType(const QString& suffix) const;
};
Relationships readRelationships(const QByteArray& xml, const QString& folder, const QString& part);

// The workbook part: the relationship id of its first sheet and whether its
// dates count from 1904.
struct WorkbookInfo {
    QString firstSheetId;
    bool date1904 = false;
};
WorkbookInfo readWorkbookInfo(const QByteArray& xml, const QString& part);

// The shared strings of a workbook, kept one after the other in a single
// text: the cells of a sheet view them rather than each holding a copy.
class SharedStrings {
public:
    qsizetype size() const { return qsizetype(m_ends.size()); }
    // The string at index (from 0, below size()); valid while this lives
    // and no string is appended.
    QStringView at(qsizetype index) const {
        const qsizetype start = index == 0 ? 0 : m_ends[size_t(index - 1)];
        return QStringView(m_text.constData() + start, m_ends[size_t(index)] - start);
    }
    void append(QStringView text) {
        m_text += text;
        m_ends.push_back(m_text.size());
    }
    // The same for a text in UTF-8.
    void appendUtf8(QByteArrayView text);
    void reserve(qsizetype count) { m_ends.reserve(size_t(count)); }

private:
    QString m_text;
    std::vector<qsizetype> m_ends; // where each string ends in m_text
    QStringDecoder m_utf8{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
};

// The shared strings in order, read from the part as it comes from device;
// a rich text string is the text of its runs joined, without the phonetic
// guides of East Asian text.
SharedStrings readSharedStrings(QIODevice* device, const QString& part);

// For each cell format (the "s" index of a cell), the meaning of its
// number format.
QList<NumberFormat> readCellFormats(const QByteArray& xml, const QString& part);

// The folder of a part name: "xl" for "xl/workbook.xml", "" for "a.xml".
QString folderOf(const QString& part);

// The name of the ".rels" part that belongs to part.
QString relationshipsPartOf(const QString& part);

} // namespace members::xlsx
