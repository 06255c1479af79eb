#pragma once

#include <QString>
#include <functional>

class QWidget;

// The two places where the document register hands over to the desktop:
// opening a document with its registered application, and the file-open
// dialog. Each goes through a replaceable function, so tests can see what
// would be opened or answer the dialog without launching anything.
namespace documents {

// Opens the document at path; the outcome is not reported.
using DocumentOpener = std::function<void(const QString& path)>;
// Asks for an existing file; the chosen full path, or an empty text when the
// dialog was cancelled. filter lists the choices as "Title (*.ext);;…", the
// first one preselected; start is the path to begin at (may be empty).
using FileChooser =
    std::function<QString(QWidget* parent, const QString& filter, const QString& start)>;

// Installs a replacement; an empty function restores the desktop's own.
void setDocumentOpener(DocumentOpener opener);
void setFileChooser(FileChooser chooser);

void openDocument(const QString& path);
QString chooseFile(QWidget* parent, const QString& filter, const QString& start);

} // namespace documents
