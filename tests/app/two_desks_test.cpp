// Two desks on one register: this program and a second one add members at
// the same time, then both change the same member. The second save of that
// member is refused with a message and shows what the first desk stored.
// It runs on both engines; on PostgreSQL the two are two sessions of one
// server, as two desks are.
#include "app/main_window.h"
#include "db/connection.h"
#include "tests/support/interleaved_members.h"
#include "tests/support/peer_process.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"
#include "tests/support/typing.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int kEach = 1000;
constexpr int kPauseMs = 2;

int memberCount() {
    QSqlQuery query = db::run(QStringLiteral("select count(*) from Cust"));
    query.next();
    return query.value(0).toInt();
}

QString storedName(const QString& id) {
    QSqlQuery query = db::run(QStringLiteral("select name from Cust where id = :id"), {{"id", id}});
    return query.next() ? query.value(0).toString() : QString();
}

class TwoDesksTest : public testing::Test {
protected:
    void TearDown() override {
        window.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // 會員資料 from the menu, every member listed.
    QWidget* openMemberWindow() {
        window.show();
        QApplication::setActiveWindow(&window);
        window.findChild<QAction*>(QStringLiteral("N7"))->trigger();
        QWidget* child = window.mdiArea()->activeSubWindow()->widget();
        auto* criteria = child->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        criteria->setCurrentIndex(0);
        emit criteria->activated(0);
        click(child, "BitBtn1");
        return child;
    }

    // A click with the mouse, so that an error reaches the general error
    // report as it does for a user.
    static void click(QWidget* child, const char* button) {
        auto* widget = child->findChild<QPushButton*>(QLatin1String(button));
        ASSERT_NE(widget, nullptr) << button;
        QTest::mouseClick(widget, Qt::LeftButton);
    }

    // Clicks the grid row of the member with that number.
    static void chooseMember(QWidget* child, const QString& id) {
        auto* grid = child->findChild<QTableView*>(QStringLiteral("DBGridEh1"));
        QAbstractItemModel* model = grid->model();
        int idColumn = -1;
        for (int column = 0; column < model->columnCount(); ++column) {
            if (model->headerData(column, Qt::Horizontal)
                    .toString()
                    .contains(QStringLiteral("編號")))
                idColumn = column;
        }
        ASSERT_GE(idColumn, 0);
        const QModelIndexList found =
            model->match(model->index(0, idColumn), Qt::DisplayRole, id, 1, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << id.toStdString();
        grid->scrollTo(found.first());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                          grid->visualRect(found.first()).center());
    }

    static void typeName(QWidget* child, const QString& name) {
        auto* editor = child->findChild<QLineEdit*>(QStringLiteral("DBEdit2"));
        ASSERT_NE(editor, nullptr);
        editor->setFocus();
        editor->selectAll();
        typeText(editor, name);
    }

    TempDatabase database;
    ScriptedPrompt prompt;
    TFrmMain window;
};

TEST_F(TwoDesksTest, BothAddAThousandThenTheSecondSaveOfOneMemberIsRefused) {
    addMembersBesideAnotherProgram(database.path(), kEach, kPauseMs);
    if (HasFatalFailure())
        return;
    EXPECT_EQ(memberCount(), 2 * kEach);
    EXPECT_EQ(PeerProcess::run(database.path(), {QStringLiteral("count")}),
              QString::number(2 * kEach));

    QWidget* child = openMemberWindow();
    chooseMember(child, QStringLiteral("A0500"));
    click(child, "SbEdit");
    typeName(child, QStringLiteral("甲桌改"));

    // Meanwhile the other desk changes the same member and saves first.
    EXPECT_EQ(PeerProcess::run(database.path(), {QStringLiteral("rename"), QStringLiteral("A0500"),
                                                 QStringLiteral("乙桌改")}),
              QStringLiteral("renamed"));

    prompt.expect(QStringLiteral("另一台電腦已修改此筆資料"), true, true);
    click(child, "SbSave");
    EXPECT_EQ(prompt.pending(), 0) << "the second save must be refused with the message";
    EXPECT_EQ(storedName(QStringLiteral("A0500")), QStringLiteral("乙桌改"))
        << "the other desk's change must not be overwritten";
    auto* name = child->findChild<QLineEdit*>(QStringLiteral("DBEdit2"));
    EXPECT_EQ(name->text(), QStringLiteral("乙桌改")) << "the member is shown as now stored";

    // The change can be made again, on top of the other desk's.
    click(child, "SbEdit");
    typeName(child, QStringLiteral("甲桌改"));
    prompt.expect(QStringLiteral("保存成功﹕共 1 筆"));
    click(child, "SbSave");
    EXPECT_EQ(prompt.pending(), 0);
    EXPECT_EQ(storedName(QStringLiteral("A0500")), QStringLiteral("甲桌改"));
    EXPECT_EQ(memberCount(), 2 * kEach);
}

} // namespace
