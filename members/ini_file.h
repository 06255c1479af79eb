#pragma once

#include <QList>
#include <QString>

// A Windows-style INI file ("[section]" lines followed by "key=value" lines),
// read and changed one section at a time. Section and key names ignore
// letter case when looked up, as the platform's profile functions do.
namespace members::ini {

struct Entry {
    QString key;
    QString value;
};

// The entries of a section in file order; none when the file or the section
// is missing.
QList<Entry> readSection(const QString& path, const QString& section);

// The value of key among entries: an empty text, and *found false, when
// absent.
QString value(const QList<Entry>& entries, const QString& key, bool* found = nullptr);

// Sets each key of entries in the section: a key already there is changed in
// place, a new one is added at the section's end. Other keys and sections
// stay as they are; the file and the section are made when missing. Lines
// end in CR LF, as the platform writes them. Throws FileError when the file
// cannot be written.
void writeSection(const QString& path, const QString& section, const QList<Entry>& entries);

} // namespace members::ini
