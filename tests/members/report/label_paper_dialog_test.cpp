#include "members/report/label_paper_dialog.h"
#include "tests/support/modal.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QStringList choiceTexts(QWidget* dialog) {
    QStringList texts;
    for (QRadioButton* choice : dialog->findChildren<QRadioButton*>())
        texts << choice->text();
    return texts;
}

QSpinBox* firstLabelBox(QWidget* dialog) {
    return dialog->findChild<QSpinBox*>(QStringLiteral("firstLabel"));
}

TEST(LabelPaperDialog, Contents) {
    TFrmPrint dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("標籤列印"));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::CustomizeWindowHint));
    ASSERT_NE(dialog.findChild<QGroupBox*>(), nullptr);
    EXPECT_EQ(dialog.findChild<QGroupBox*>()->title(), QStringLiteral("列印選項"));
    EXPECT_EQ(choiceTexts(&dialog),
              QStringList({"A4 標籤紙(2*10張)", "A4 標籤紙(2*20張)", "A4 標籤紙(3*10張)",
                           "A4 標籤紙(3*20張)", "12cm*2.54cm"}));
    EXPECT_TRUE(dialog.findChildren<QRadioButton*>().first()->isChecked());
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->text(),
              QStringLiteral("列印"));
    EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("BitBtn2"))->text(),
              QStringLiteral("取消"));
    EXPECT_EQ(dialog.paper(), 4);
    EXPECT_EQ(firstLabelBox(&dialog)->value(), 1);
    EXPECT_FALSE(dialog.printChosen());
}

// Each choice, printed, gives its paper number; the first label may be any
// label of one sheet of it.
TEST(LabelPaperDialog, ChoicesGiveTheirPaperAndFirstLabel) {
    const std::tuple<int, int, int> cases[] = {// choice shown, paper returned, labels per sheet
                                               {0, 4, 20},
                                               {1, 5, 40},
                                               {2, 1, 30},
                                               {3, 2, 60},
                                               {4, 3, 1}};
    for (const auto& [index, paper, perSheet] : cases) {
        int maximum = 0;
        whenModalShows([index, &maximum](QWidget* dialog) {
            dialog->findChildren<QRadioButton*>()[index]->setChecked(true);
            QSpinBox* first = firstLabelBox(dialog);
            maximum = first->maximum();
            first->setValue(first->maximum());
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("BitBtn1")),
                              Qt::LeftButton);
        });
        const LabelPaperChoice choice = ChooseLabelPaper();
        EXPECT_EQ(choice.paper, paper) << index;
        EXPECT_EQ(maximum, perSheet) << index;
        EXPECT_EQ(choice.firstLabel, perSheet) << index;
    }
}

TEST(LabelPaperDialog, FirstLabelFollowsAChangeToASmallerSheet) {
    TFrmPrint dialog;
    QSpinBox* first = firstLabelBox(&dialog);
    first->setValue(15);
    dialog.findChildren<QRadioButton*>()[4]->setChecked(true); // one label a sheet
    EXPECT_EQ(first->value(), 1);
    EXPECT_EQ(dialog.firstLabel(), 1);
}

TEST(LabelPaperDialog, CancelOrClosingGivesZero) {
    const std::function<void(QWidget*)> ways[] = {
        [](QWidget* dialog) {
            dialog->findChildren<QRadioButton*>()[2]->setChecked(true);
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("BitBtn2")),
                              Qt::LeftButton);
        },
        [](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); },
        [](QWidget*) {},
    };
    for (const auto& close : ways) {
        whenModalShows(close);
        const LabelPaperChoice choice = ChooseLabelPaper();
        EXPECT_EQ(choice.paper, 0);
        EXPECT_EQ(choice.firstLabel, 1);
    }
}

} // namespace
