#pragma once

#include <QString>

class QDateTime;
class QWidget;

// The file dialogs of the program. Every dialog that chooses a file goes
// through here, so that none of them reads a file's contents: the dialog is
// Qt's own (not the desktop's, which sniffs files to find their type), and
// its icons and type column go by the file name only. Reading a file of the
// database, even to look at it, would close a descriptor of it and drop
// SQLite's locks. Choosing one of the database's own files is refused with a
// message and the dialog shows again. Sizes and dates are written in the
// Chinese forms below.
namespace filedialog {

// Asks for an existing file; the chosen path, or an empty text when the
// dialog was cancelled. filter lists the choices as "Title (*.ext);;…", the
// first one preselected; start is the folder or file to begin at (empty:
// the working folder).
QString openFile(QWidget* parent, const QString& filter, const QString& start = {},
                 const QString& caption = {});

// Asks for a file to write; suggested names the folder and file to offer.
QString saveFile(QWidget* parent, const QString& filter, const QString& suggested,
                 const QString& caption = {});

// How the dialogs' file list writes a size ("812 位元組", "25.8 KB") and a
// time ("2026/12/11 13:05"), whatever the desktop's locale.
QString sizeText(qint64 bytes);
QString dateText(const QDateTime& when);

} // namespace filedialog
