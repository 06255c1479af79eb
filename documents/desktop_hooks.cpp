#include "documents/desktop_hooks.h"

#include "db/file_dialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace documents {
namespace {

// A relative path is taken from the working folder, as the shell does; an
// empty one opens nothing.
void openWithDesktop(const QString& path) {
    if (path.isEmpty())
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

QString askWithDialog(QWidget* parent, const QString& filter, const QString& start) {
    const QString chosen = filedialog::openFile(parent, filter, start);
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen);
}

DocumentOpener& opener() {
    static DocumentOpener current;
    return current;
}

FileChooser& chooser() {
    static FileChooser current;
    return current;
}

} // namespace

void setDocumentOpener(DocumentOpener replacement) {
    opener() = std::move(replacement);
}

void setFileChooser(FileChooser replacement) {
    chooser() = std::move(replacement);
}

void openDocument(const QString& path) {
    if (opener())
        opener()(path);
    else
        openWithDesktop(path);
}

QString chooseFile(QWidget* parent, const QString& filter, const QString& start) {
    return chooser() ? chooser()(parent, filter, start) : askWithDialog(parent, filter, start);
}

} // namespace documents
