// 修改紀錄 as users meet it: opened from the member window for its member and
// from the menu for all, filtered, taking a change back (also over another
// desk's newer change) and restoring a deleted member.
#include "tests/members/member_window_fixture.h"

#include "app/main_window.h"
#include "base/errors.h"
#include "db/change_history.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "members/change_history_window.h"
#include "members/import/workbook_import.h"
#include "members/import/workbook_import_flow.h"
#include "tests/support/modal.h"
#include "tests/support/peer_process.h"
#include "tests/support/typing.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <functional>

namespace {

class ChangeHistoryWindowTest : public MemberWindowTest {
protected:
    ChangeHistoryWindowTest() { db::history::setUser(QStringLiteral("amy")); }
    ~ChangeHistoryWindowTest() override { db::history::setUser(QString()); }

    // The rows the window shows: "member|field|old|new", newest first.
    static QStringList shownRows(TFrmCustHistory* history) {
        const QAbstractItemModel* model = history->DBGridEh1->model();
        QStringList rows;
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 3; column <= 6; ++column)
                cells << model->index(row, column).data().toString();
            rows << cells.join('|');
        }
        return rows;
    }

    // Renames the current member in the member window, as a user does.
    void rename(const QString& name) {
        press("SbEdit");
        type("DBEdit2", name);
        prompt.expect(QStringLiteral("保存成功﹕共 1 筆"));
        press("SbSave");
    }

    // Runs inspect on the history window that pressing opener shows.
    void inHistory(const std::function<void()>& opener,
                   const std::function<void(TFrmCustHistory*)>& inspect) {
        bool shown = false;
        whenModalShows([&](QWidget* modal) {
            auto* history = qobject_cast<TFrmCustHistory*>(modal);
            ASSERT_NE(history, nullptr);
            shown = true;
            inspect(history);
        });
        opener();
        EXPECT_TRUE(shown);
    }
    void fromMemberWindow(const std::function<void(TFrmCustHistory*)>& inspect) {
        inHistory([this] { press("BtnHistory"); }, inspect);
    }
    void fromMenu(const std::function<void(TFrmCustHistory*)>& inspect) {
        inHistory(
            [this] { mainWindow->findChild<QAction*>(QStringLiteral("CustHistory"))->trigger(); },
            inspect);
    }
    static void selectRow(TFrmCustHistory* history, int row) {
        history->DBGridEh1->setFocus();
        history->DBGridEh1->setCurrentIndex(history->DBGridEh1->model()->index(row, 0));
    }
};

TEST_F(ChangeHistoryWindowTest, MemberWindowShowsItsMembersChangesWithTheSettingsCaptions) {
    db::run(QStringLiteral("insert into SystemSet (CW) values ('會員等級')"));
    addMember("1", "Chen", {{"Kind", "A"}});
    addMember("2", "Lin");
    openFromMenu();
    searchAll();
    rename(QStringLiteral("Wu"));
    press("SbEdit");
    type("DBComboBox1", QStringLiteral("B"));
    prompt.expect(QStringLiteral("保存成功﹕共 1 筆"));
    press("SbSave");
    db::run(QStringLiteral("update Cust set name = 'Lee' where id = '2'"));

    fromMemberWindow([](TFrmCustHistory* history) {
        EXPECT_EQ(history->windowTitle(), QStringLiteral("修改紀錄 - 1"));
        EXPECT_TRUE(history->BtnSearch->isDefault());
        EXPECT_EQ(history->EdtMember->text(), QStringLiteral("1"));
        EXPECT_EQ(shownRows(history), (QStringList{"1|會員等級|A|B", "1|姓名|Chen|Wu"}));
        const QAbstractItemModel* model = history->DBGridEh1->model();
        EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("時間"));
        EXPECT_EQ(model->index(0, 1).data().toString(), QStringLiteral("amy"));
        EXPECT_EQ(model->index(0, 2).data().toString(), db::history::desk());
        EXPECT_FALSE(history->BtnRestore->isEnabled());
        EXPECT_TRUE(history->BtnRevert->isEnabled());
    });
}

TEST_F(ChangeHistoryWindowTest, MenuShowsEveryMemberAndFiltersByKeys) {
    addMember("1", "Chen");
    addMember("2", "Lin");
    openFromMenu();
    searchAll();
    rename(QStringLiteral("Wu"));
    PeerProcess::run(database.path(),
                     {QStringLiteral("rename"), QStringLiteral("2"), QStringLiteral("Lee")});
    // An old change, outside the date range chosen below.
    db::run(QStringLiteral("update CustHistory set ChangeTime = '2001-01-01 10:00:00' "
                           "where CustID = '2'"));

    fromMenu([](TFrmCustHistory* history) {
        EXPECT_EQ(history->windowTitle(), QStringLiteral("修改紀錄"));
        EXPECT_EQ(shownRows(history), (QStringList{"1|姓名|Chen|Wu", "2|姓名|Lin|Lee"}));

        // The member number typed, then Enter on the search button.
        history->EdtMember->setFocus();
        typeText(history->EdtMember, QStringLiteral("2"));
        history->BtnSearch->setFocus();
        QTest::keyClick(history->BtnSearch, Qt::Key_Return);
        EXPECT_EQ(shownRows(history), QStringList{"2|姓名|Lin|Lee"});

        history->EdtMember->clear();
        history->EdtUser->setText(QStringLiteral("PEER"));
        history->search();
        EXPECT_EQ(shownRows(history), QStringList{"2|姓名|Lin|Lee"});

        history->EdtUser->clear();
        history->ChkDate->setChecked(true);
        history->DateFrom->setDate(QDate::currentDate());
        history->DateTo->setDate(QDate::currentDate());
        history->search();
        EXPECT_EQ(shownRows(history), QStringList{"1|姓名|Chen|Wu"});
        history->DateFrom->setDate(QDate(2001, 1, 1));
        history->DateTo->setDate(QDate(2001, 1, 1));
        history->search();
        EXPECT_EQ(shownRows(history), QStringList{"2|姓名|Lin|Lee"});
    });
}

TEST_F(ChangeHistoryWindowTest, RevertPutsTheOldValueBackAndIsRecorded) {
    addMember("1", "Chen");
    openFromMenu();
    searchAll();
    rename(QStringLiteral("Wu"));

    fromMemberWindow([this](TFrmCustHistory* history) {
        selectRow(history, 0);
        prompt.expect(QStringLiteral("把會員 1 的「姓名」由「Wu」改回「Chen」嗎﹖"));
        QTest::mouseClick(history->BtnRevert, Qt::LeftButton);
        EXPECT_EQ(stored("1", "name").toString(), QStringLiteral("Chen"));
        EXPECT_EQ(shownRows(history), (QStringList{"1|姓名|Wu|Chen", "1|姓名|Chen|Wu"}));
    });
    EXPECT_EQ(prompt.pending(), 0);
    QSqlQuery last = db::run(QStringLiteral("select Action from CustHistory order by ID desc"));
    ASSERT_TRUE(last.next());
    EXPECT_EQ(last.value(0).toString(), QStringLiteral("revert"));
    // The member window shows the member as stored now.
    EXPECT_EQ(child<QLineEdit>("DBEdit2")->text(), QStringLiteral("Chen"));
}

TEST_F(ChangeHistoryWindowTest, RevertOverANewerChangeShowsBothAndTheUserChooses) {
    struct Case {
        const char* name;
        bool putBack;
        const char* stored;
    } cases[] = {{"keep the newer value", false, "Lee"}, {"put the old one back", true, "Chen"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db::run(QStringLiteral("delete from Cust"));
        db::run(QStringLiteral("delete from CustHistory"));
        addMember("1", "Chen");
        if (!mainWindow)
            openFromMenu();
        searchAll();
        rename(QStringLiteral("Wu"));
        // Another desk changes the same member afterwards.
        PeerProcess::run(database.path(),
                         {QStringLiteral("rename"), QStringLiteral("1"), QStringLiteral("Lee")});

        fromMenu([&](TFrmCustHistory* history) {
            ASSERT_EQ(shownRows(history), (QStringList{"1|姓名|Wu|Lee", "1|姓名|Chen|Wu"}));
            selectRow(history, 1);
            prompt.expect(QStringLiteral("這次修改前的值﹕Chen\n目前的值﹕Lee"), c.putBack, true);
            QTest::mouseClick(history->BtnRevert, Qt::LeftButton);
        });
        EXPECT_EQ(prompt.pending(), 0);
        ASSERT_FALSE(prompt.shown().isEmpty());
        EXPECT_EQ(prompt.shown().last().defaultButton, Prompt::No);
        EXPECT_EQ(stored("1", "name").toString(), QString::fromUtf8(c.stored));
        QSqlQuery reverts =
            db::run(QStringLiteral("select count(*) from CustHistory where Action = 'revert'"));
        ASSERT_TRUE(reverts.next());
        EXPECT_EQ(reverts.value(0).toInt(), c.putBack ? 1 : 0);
    }
}

TEST_F(ChangeHistoryWindowTest, DeletedMemberIsRestoredWholeOnce) {
    addMember("1", "Chen", {{"Tel", "02-1234"}, {"Memo5", "line one\nline two"}, {"Kind", "金卡"}});
    openFromMenu();
    searchAll();
    prompt.expect(QStringLiteral("確實要刪除嗎﹖"));
    press("SbDel");
    ASSERT_EQ(memberCount(), 0);

    fromMemberWindow([this](TFrmCustHistory* history) {
        ASSERT_EQ(shownRows(history), QStringList{"1|(刪除會員)|1 Chen|"});
        selectRow(history, 0);
        EXPECT_TRUE(history->BtnRestore->isEnabled());
        prompt.expect(QStringLiteral("會員 1 已還原。"));
        QTest::mouseClick(history->BtnRestore, Qt::LeftButton);
        EXPECT_EQ(stored("1", "Tel").toString(), QStringLiteral("02-1234"));
        EXPECT_EQ(stored("1", "Memo5").toString(), QStringLiteral("line one\nline two"));
        EXPECT_EQ(stored("1", "Kind").toString(), QStringLiteral("金卡"));
        EXPECT_EQ(shownRows(history).first(), QStringLiteral("1|(還原會員)||1 Chen"));

        // The delete record is still there; restoring again would store the
        // number twice and is refused.
        selectRow(history, 1);
        EXPECT_THROW(history->restoreMember(), DatabaseError);
        EXPECT_EQ(memberCount(), 1);
    });
    // The member window lists the member again.
    EXPECT_EQ(listedIds(), QStringList{"1"});
}

// An import is one line among all members' changes and the member's own
// record under the member.
TEST_F(ChangeHistoryWindowTest, ImportShowsAsOneBatchAndUnderEachMember) {
    addMember("1", "Chen");
    const auto reader = members::openWorkbook(QStringLiteral(MEMBER_IMPORT_DATA "/big5.csv"));
    ASSERT_EQ(members::importWorkbookRows(*reader, members::WorkbookImportPath::Window, false), 1);
    openFromMenu();

    fromMenu([](TFrmCustHistory* history) {
        EXPECT_EQ(shownRows(history), QStringList{"|(匯入)||1"});
        EXPECT_FALSE(history->BtnRevert->isEnabled());
        EXPECT_FALSE(history->BtnRestore->isEnabled());
        history->EdtMember->setText(QStringLiteral("F1"));
        history->search();
        EXPECT_EQ(shownRows(history), QStringList{"F1|(匯入)||陳大文"});
    });
}

} // namespace
