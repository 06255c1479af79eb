#include "members/import/import_hooks.h"

#include "db/file_dialog.h"

#include <QDesktopServices>

namespace members {
namespace {

ImportFileChooser& fileChooser() {
    static ImportFileChooser chooser;
    return chooser;
}

DocumentOpener& documentOpener() {
    static DocumentOpener opener;
    return opener;
}

} // namespace

void setImportFileChooser(ImportFileChooser chooser) {
    fileChooser() = std::move(chooser);
}

void setDocumentOpener(DocumentOpener opener) {
    documentOpener() = std::move(opener);
}

QString chooseImportFile(QWidget* parent, const QString& filter) {
    if (fileChooser())
        return fileChooser()(parent, filter);
    return filedialog::openFile(parent, filter);
}

void openDocument(const QUrl& url) {
    if (documentOpener())
        documentOpener()(url);
    else
        QDesktopServices::openUrl(url);
}

} // namespace members
