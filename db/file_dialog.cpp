#include "db/file_dialog.h"

#include "base/prompt.h"
#include "db/database_files.h"

#include <QAbstractFileIconProvider>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIcon>
#include <QIdentityProxyModel>
#include <QMimeDatabase>
#include <QTreeView>
#include <algorithm>

namespace filedialog {
namespace {

// Icons and type names from the file name alone. Qt's own provider asks the
// MIME database, which reads a file whose name does not settle its type.
class NameOnlyIconProvider : public QAbstractFileIconProvider {
public:
    QIcon icon(IconType type) const override { return QAbstractFileIconProvider::icon(type); }

    QIcon icon(const QFileInfo& info) const override {
        if (info.isDir())
            return QAbstractFileIconProvider::icon(Folder);
        const QMimeType mime =
            QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
        return QIcon::fromTheme(mime.iconName(), QAbstractFileIconProvider::icon(File));
    }

    QString type(const QFileInfo& info) const override {
        if (info.isDir())
            return QStringLiteral("資料夾");
        const QString suffix = info.suffix().toUpper();
        return suffix.isEmpty() ? QStringLiteral("檔案") : suffix + QStringLiteral(" 檔案");
    }
};

QAbstractFileIconProvider* iconProvider() {
    static NameOnlyIconProvider provider;
    return &provider;
}

// Sizes and dates in Chinese forms whatever the desktop's locale: Qt's file
// list writes them in the system locale's (say "25.79 KiB" and an AM/PM
// marker).
class ChineseColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || files == nullptr || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == kSizeColumn)
            return files->isDir(source) ? QString() : sizeText(files->size(source));
        if (index.column() == kDateColumn)
            return dateText(files->lastModified(source));
        return QIdentityProxyModel::data(index, role);
    }

    static constexpr int kSizeColumn = 1;
    static constexpr int kDateColumn = 3;
};

// The date column wide enough to show a date and time whole.
void widenDateColumn(QFileDialog& dialog) {
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (list == nullptr)
        return;
    const QString widest = dateText(QDateTime(QDate(2088, 12, 28), QTime(20, 58)));
    const int width = list->fontMetrics().horizontalAdvance(widest) + 24;
    QHeaderView* titles = list->header();
    if (titles->sectionSize(ChineseColumns::kDateColumn) < width)
        titles->resizeSection(ChineseColumns::kDateColumn, width);
}

} // namespace

QString sizeText(qint64 bytes) {
    if (bytes < 1024)
        return QStringLiteral("%1 位元組").arg(bytes);
    const char* const units[] = {"KB", "MB", "GB", "TB"};
    double amount = double(bytes) / 1024;
    int unit = 0;
    while (amount >= 1024 && unit < 3) {
        amount /= 1024;
        ++unit;
    }
    return QStringLiteral("%1 %2").arg(amount, 0, 'f', 1).arg(QLatin1String(units[unit]));
}

QString dateText(const QDateTime& when) {
    return when.isValid() ? when.toString(QStringLiteral("yyyy/MM/dd HH:mm")) : QString();
}

namespace {

// Starts in start's folder, with its file name offered when it names a file.
void startAt(QFileDialog& dialog, const QString& start) {
    if (start.isEmpty())
        return;
    const QFileInfo info(start);
    if (info.isDir()) {
        dialog.setDirectory(info.absoluteFilePath());
        return;
    }
    dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
}

// Shows the dialog until a file is chosen that is not the database's own,
// or the user cancels.
QString ask(QWidget* parent, const QString& caption, const QString& filter, const QString& start,
            QFileDialog::AcceptMode mode) {
    // Without a caption of the caller's, a Chinese one: Qt's own would be
    // English where its translations are missing.
    const QString title = !caption.trimmed().isEmpty()      ? caption
                          : mode == QFileDialog::AcceptOpen ? QStringLiteral("開啟檔案")
                                                            : QStringLiteral("另存新檔");
    QFileDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setNameFilter(filter);
    startAt(dialog, start);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setObjectName(QStringLiteral("FileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(iconProvider());
    dialog.setProxyModel(new ChineseColumns(&dialog));
    widenDateColumn(dialog);
    // Wide enough for every column of the file list without scrolling.
    dialog.resize(std::max(dialog.width(), 820), std::max(dialog.height(), 480));
    while (dialog.exec() == QDialog::Accepted) {
        const QString chosen = dialog.selectedFiles().value(0);
        if (!db::isDatabaseFile(chosen))
            return chosen;
        Prompt::current().message(
            Prompt::Icon::Warning, QStringLiteral("提示"),
            QStringLiteral("%1 是會員資料庫本身的檔案﹐不能在這裡選用。\n請選擇其他檔案。")
                .arg(QFileInfo(chosen).fileName()));
    }
    return {};
}

} // namespace

QString openFile(QWidget* parent, const QString& filter, const QString& start,
                 const QString& caption) {
    return ask(parent, caption, filter, start, QFileDialog::AcceptOpen);
}

QString saveFile(QWidget* parent, const QString& filter, const QString& suggested,
                 const QString& caption) {
    return ask(parent, caption, filter, suggested, QFileDialog::AcceptSave);
}

} // namespace filedialog
