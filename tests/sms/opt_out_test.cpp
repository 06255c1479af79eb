// Members marked 不接收簡訊 get no message, however their line would enter
// the send window's list: the member search, the history, 自定接收人, or a
// mark set after the line was listed.
#include "db/connection.h"
#include "db/copy_database.h"
#include "sms/message_history.h"
#include "sms/select_single_window.h"
#include "tests/sms/next_modal.h"
#include "tests/sms/send_window_fixture.h"

#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>

namespace {

class SmsOptOutTest : public SmsSendWindowTest {
protected:
    // 林 and 王 receive; 許 does not, and is known by every telephone.
    void addMembers() {
        addThreeMembers();
        db::run("update Cust set NoSms=1, Tel='04-2345 6789', HomeTel='+886933000111' "
                "where id='A02'");
    }
};

TEST_F(SmsOptOutTest, TheMemberSearchLeavesMarkedMembersOutAndSaysHowMany) {
    addMembers();
    db::run("update Cust set NoSms=1, CDTel='' where id='A03'"); // no mobile either
    openWindow();
    search(0);
    click("BtnSelectAll");
    m_prompt.expect("2 位會員不接收簡訊﹐未加入");
    click("BitBtn1");
    EXPECT_EQ(lines(), QStringList{"林先生(0900000001)"});
}

// A line from the history or typed into 自定接收人 is looked up by its
// telephone, written any way the one phone rule reads alike.
TEST_F(SmsOptOutTest, LinesFromTheHistoryOrTypedInAreCheckedByTelephone) {
    addMembers();
    const QDateTime now = QDateTime::currentDateTime();
    sms::history::record({"許小姐", "+886 900 000 002", "舊訊", now, "", "OK"});
    sms::history::record({"林先生", "0900000001", "舊訊", now.addSecs(-1), "", "OK"});
    openWindow();
    onNextModal([&](QWidget* window) {
        press(window, "BitBtn1");
        auto* grid = part<QTableView>(window, "DBGridEh1");
        ASSERT_EQ(grid->model()->rowCount(), 2);
        for (const int row : {0, 1}) {
            const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
            if (row == 0)
                m_prompt.expect(
                    "「許小姐(+886 900 000 002)」的電話屬於不接收簡訊的會員﹐沒有加入。");
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        }
        window->close();
    });
    click("btnSendHistory");
    EXPECT_EQ(lines(), QStringList{"林先生(0900000001)"});

    const struct {
        const char* phone;
        bool optedOut;
    } typed[] = {{"04 2345-6789", true}, {"0933.000.111", true}, {"0933000112", false}};
    for (const auto& t : typed) {
        SCOPED_TRACE(t.phone);
        const int membersBefore = count("select count(*) from Cust");
        onNextModal([&](QWidget* window) {
            auto* single = dynamic_cast<TFrmSelectSingle*>(window);
            ASSERT_NE(single, nullptr);
            single->setClock([] { return QDateTime(QDate(2026, 12, 11), QTime(10, 0, 1)); });
            part<QLineEdit>(single, "Edit1")->setText("某人");
            part<QLineEdit>(single, "Edit2")->setText(t.phone);
            if (t.optedOut)
                m_prompt.expect(QStringLiteral("電話 %1 屬於不接收簡訊的會員﹐沒有加入。")
                                    .arg(QString::fromUtf8(t.phone)));
            press(single, "BitBtn1");
            press(single, "BitBtn2");
        });
        click("BtnSelectSingle");
        // Only a number that may receive is listed and registered.
        EXPECT_EQ(lines().size(), t.optedOut ? 1 : 2);
        EXPECT_EQ(count("select count(*) from Cust"), membersBefore + (t.optedOut ? 0 : 1));
    }
}

// The mark may come after the line was listed, from another desk: sending
// takes the line out first and says so; nothing goes to that number.
TEST_F(SmsOptOutTest, AMarkSetAfterListingKeepsTheMessageFromGoingOut) {
    addThreeMembers();
    openWindow();
    addEveryMember();
    ASSERT_EQ(lines().size(), 3);
    db::run("update Cust set NoSms=1 where id='A03'");
    child<QPlainTextEdit>("Memo1")->setPlainText("通知");
    m_prompt.expect("1位接收人已標記為不接收簡訊﹐已從清單刪除﹐不會發送給他們。");
    m_prompt.expect("發送完畢﹗\n共:2筆﹗");
    click("BtnSend");
    EXPECT_EQ(lines(), (QStringList{"林先生(0900000001)", "許功蓋小姐(0900000002)"}));
    QStringList sentTo;
    for (const QJsonObject& message : m_sim->loggedMessages())
        sentTo << message["movetel"].toString();
    EXPECT_EQ(sentTo, (QStringList{"0900000001", "0900000002"}));
    // Removing the mark lets the member receive again.
    db::run("update Cust set NoSms=0 where id='A03'");
    search(0);
    click("BtnSelectNone");
    clickMark(2);
    click("BitBtn1");
    EXPECT_EQ(lines().size(), 3);
}

// The mark goes with the register when it is copied (--copy-database and
// the backups of a server register).
TEST_F(SmsOptOutTest, ACopiedRegisterKeepsTheMark) {
    addMembers();
    const QString copy = m_database.folder() + "/copy.sqlite";
    db::DatabaseTarget target;
    target.path = copy;
    db::copyDatabase(m_database.target(), target);
    QStringList marks;
    {
        QSqlDatabase file = QSqlDatabase::addDatabase("QSQLITE", "opt-out-copy");
        file.setDatabaseName(copy);
        ASSERT_TRUE(file.open());
        QSqlQuery query = file.exec("select id, NoSms from Cust order by id");
        while (query.next())
            marks << query.value(0).toString() + '=' + query.value(1).toString();
    }
    QSqlDatabase::removeDatabase("opt-out-copy");
    EXPECT_EQ(marks, (QStringList{"A01=0", "A02=1", "A03=0"}));
}

// A register made before the mark existed gains it, unset for every member,
// when it is opened; the send window then works as before.
TEST_F(SmsOptOutTest, AnOlderRegisterGainsTheMarkWhenOpened) {
    addThreeMembers();
    db::run("alter table Cust drop column NoSms");
    db::closeConnection();
    openWindow();
    addEveryMember();
    EXPECT_EQ(lines().size(), 3);
    EXPECT_EQ(count("select count(*) from Cust where NoSms=0"), 3);
    db::run("update Cust set NoSms=1 where id='A01'");
    child<QPlainTextEdit>("Memo1")->setPlainText("通知");
    m_prompt.expect("1位接收人已標記為不接收簡訊", true, true);
    m_prompt.expect("發送完畢﹗\n共:2筆﹗");
    click("BtnSend");
}

} // namespace
