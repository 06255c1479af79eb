#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

// The two places where the member imports hand over to the desktop: the
// file-open dialog and the opening of the sample workbook. Each goes through
// a replaceable function, so tests answer the dialog and see what would be
// opened without launching anything.
namespace members {

// Asks for an existing file; the chosen path, or an empty text when the
// dialog was cancelled. filter lists the choices as "Title (*.ext);;…".
using ImportFileChooser = std::function<QString(QWidget* parent, const QString& filter)>;

// Opens a document with the desktop's application for it.
using DocumentOpener = std::function<void(const QUrl& url)>;

// Installs a replacement; an empty function restores the desktop's own.
void setImportFileChooser(ImportFileChooser chooser);
void setDocumentOpener(DocumentOpener opener);

QString chooseImportFile(QWidget* parent, const QString& filter);
void openDocument(const QUrl& url);

} // namespace members
