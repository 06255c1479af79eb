#include "app/application.h"
#include "base/message_table.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
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

} // namespace
