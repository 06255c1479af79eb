#include "app/application.h"
#include "base/message_table.h"
#include "db/file_dialog.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(QtTranslation, TraditionalUnlessTheLocaleIsSimplified) {
    EXPECT_EQ(Application::qtTranslationName(MessageTable::TraditionalLocale),
              QStringLiteral("qtbase_zh_TW"));
    EXPECT_EQ(Application::qtTranslationName(0), QStringLiteral("qtbase_zh_TW"));
    EXPECT_EQ(Application::qtTranslationName(1033), QStringLiteral("qtbase_zh_TW"));
    EXPECT_EQ(Application::qtTranslationName(MessageTable::SimplifiedLocale),
              QStringLiteral("qtbase_zh_CN"));
}

// The test program runs under the program's application object in a locale
// that is neither Chinese one, so the fallback (Traditional) applies.
TEST(QtTranslation, QtsOwnButtonsAndDialogsSpeakChinese) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("提示"), QStringLiteral("要取消嗎﹖"),
                    QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')).left(1),
              QStringLiteral("是"));
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')).left(1),
              QStringLiteral("否"));
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Ok)->text().remove(QLatin1Char('&')).left(2),
              QStringLiteral("確定"));

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    QStringList labels;
    for (auto* label : files.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_FALSE(labels.join(' ').contains(QLatin1String("File name")))
        << labels.join('|').toStdString();
    EXPECT_FALSE(labels.join(' ').contains(QLatin1String("Look in")));
}

TEST(FileDialogForms, SizesAndTimesInChineseForms) {
    const struct {
        qint64 bytes;
        const char* text;
    } sizes[] = {{0, "0 位元組"},
                 {1023, "1023 位元組"},
                 {1024, "1.0 KB"},
                 {26410, "25.8 KB"},
                 {5 * 1024 * 1024 + 300 * 1024, "5.3 MB"},
                 {3LL * 1024 * 1024 * 1024, "3.0 GB"}};
    for (const auto& size : sizes)
        EXPECT_EQ(filedialog::sizeText(size.bytes), QString::fromUtf8(size.text)) << size.bytes;
    EXPECT_EQ(filedialog::dateText(QDateTime(QDate(2026, 12, 11), QTime(23, 44))),
              QStringLiteral("2026/12/11 23:44"));
    EXPECT_EQ(filedialog::dateText(QDateTime()), QString());
}

// The dialog's own list shows a file's size and time in those forms (Qt's
// list alone writes "25.79 KiB" and the desktop's AM/PM marker).
TEST(FileDialogForms, TheListShowsThem) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("會員.csv"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(26410, 'x'));
        file.close();
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2026, 12, 11), QTime(11, 44)),
                                     QFileDevice::FileModificationTime));
    }
    QStringList shown;
    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QAbstractProxyModel* list = dialog->proxyModel();
        auto* files = dialog->findChild<QFileSystemModel*>();
        ASSERT_NE(list, nullptr);
        ASSERT_NE(files, nullptr);
        const QDeadlineTimer deadline(5000);
        QModelIndex row;
        while (!row.isValid() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            row = list->mapFromSource(files->index(path));
        }
        ASSERT_TRUE(row.isValid());
        for (int column : {1, 3})
            shown << row.siblingAtColumn(column).data().toString();
        dialog->reject();
    });
    filedialog::openFile(nullptr, QStringLiteral("CSV 檔案 (*.csv)"), folder.path());
    EXPECT_EQ(shown, (QStringList{QStringLiteral("25.8 KB"), QStringLiteral("2026/12/11 11:44")}));
}

} // namespace
