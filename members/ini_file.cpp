#include "members/ini_file.h"

#include "base/errors.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace members::ini {
namespace {

QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The section name of a "[name]" line; an empty text for other lines.
QString sectionOf(const QString& line) {
    const QString trimmed = line.trimmed();
    if (trimmed.size() < 2 || !trimmed.startsWith('[') || !trimmed.endsWith(']'))
        return {};
    return trimmed.mid(1, trimmed.size() - 2).trimmed();
}

bool isSection(const QString& line) {
    return !sectionOf(line).isEmpty();
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The entry of a "key=value" line; false for blank lines and comments.
bool entryOf(const QString& line, Entry& entry) {
    const qsizetype equals = line.indexOf('=');
    if (equals <= 0 || line.trimmed().startsWith(';'))
        return false;
    entry = {line.left(equals).trimmed(), line.mid(equals + 1).trimmed()};
    return true;
}

// Where the section's lines are: its header line and the line after its last
// entry; -1 when the section is missing.
std::pair<int, int> findSection(const QStringList& lines, const QString& section) {
    for (int i = 0; i < lines.size(); ++i) {
        if (!sameName(sectionOf(lines[i]), section))
            continue;
        int end = i + 1;
        Entry entry;
        for (int j = i + 1; j < lines.size() && !isSection(lines[j]); ++j) {
            if (entryOf(lines[j], entry))
                end = j + 1;
        }
        return {i, end};
    }
    return {-1, -1};
}

} // namespace

QList<Entry> readSection(const QString& path, const QString& section) {
    const QStringList lines = readLines(path);
    const auto [begin, end] = findSection(lines, section);
    QList<Entry> entries;
    Entry entry;
    for (int i = begin + 1; begin >= 0 && i < end; ++i) {
        if (entryOf(lines[i], entry))
            entries << entry;
    }
    return entries;
}

QString value(const QList<Entry>& entries, const QString& key, bool* found) {
    for (const Entry& entry : entries) {
        if (sameName(entry.key, key)) {
            if (found)
                *found = true;
            return entry.value;
        }
    }
    if (found)
        *found = false;
    return {};
}

void writeSection(const QString& path, const QString& section, const QList<Entry>& entries) {
    QStringList lines = readLines(path);
    auto [begin, end] = findSection(lines, section);
    if (begin < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << '[' + section + ']';
        begin = int(lines.size()) - 1;
        end = begin + 1;
    }
    for (const Entry& entry : entries) {
        const QString line = entry.key + '=' + entry.value;
        bool replaced = false;
        Entry existing;
        for (int i = begin + 1; i < end && !replaced; ++i) {
            if (entryOf(lines[i], existing) && sameName(existing.key, entry.key)) {
                lines[i] = line;
                replaced = true;
            }
        }
        if (!replaced)
            lines.insert(end++, line);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(QStringLiteral("無法寫入檔案 %1: %2").arg(path, file.errorString()));
    file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    if (!file.commit())
        throw FileError(QStringLiteral("無法寫入檔案 %1: %2").arg(path, file.errorString()));
}

} // namespace members::ini
