// The member window's 不接收簡訊 mark: ticked and saved as every change is,
// removed the same way, and shown in the grid.
#include "tests/members/member_window_fixture.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QTableView>

namespace {

TEST_F(MemberWindowTest, TheOptOutMarkIsSavedRemovedAndShownInTheGrid) {
    addMember(QStringLiteral("A01"), QStringLiteral("林"));
    addMember(QStringLiteral("A02"), QStringLiteral("王"));
    openFromMenu();
    searchAll();
    EXPECT_EQ(stored(QStringLiteral("A01"), QStringLiteral("NoSms")).toInt(), 0); // the default
    auto* mark = child<QCheckBox>("DBCheckBoxNoSms");
    EXPECT_EQ(mark->text(), QStringLiteral("不接收簡訊"));
    EXPECT_FALSE(mark->isChecked());
    const int column = columnOf(QStringLiteral("NoSms"));
    ASSERT_GE(column, 0);
    EXPECT_EQ(grid()->model()->headerData(column, Qt::Horizontal).toString(),
              QStringLiteral("不接收簡訊"));

    for (const bool marked : {true, false}) {
        SCOPED_TRACE(marked);
        press("SbEdit");
        mark->setChecked(marked);
        prompt.expect(QStringLiteral("保存成功﹕共 1 筆"));
        press("SbSave");
        EXPECT_EQ(stored(QStringLiteral("A01"), QStringLiteral("NoSms")).toInt(), marked ? 1 : 0);
        EXPECT_EQ(stored(QStringLiteral("A02"), QStringLiteral("NoSms")).toInt(), 0);
        EXPECT_EQ(grid()->model()->index(0, column).data().toString(),
                  marked ? QStringLiteral("是") : QString());
    }
}

} // namespace
