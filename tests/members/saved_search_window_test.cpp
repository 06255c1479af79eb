// The member window's saved searches as users meet them: 儲存查詢 names the
// criteria and sort on the screen, the 常用查詢 drop-down runs them (and the
// built-in lists), 管理查詢 renames and deletes them; another desk's
// searches show in the drop-down.
#include "tests/members/member_window_fixture.h"

#include "db/connection.h"
#include "members/drop_down_box.h"
#include "members/saved_search.h"
#include "tests/support/modal.h"
#include "tests/support/peer_process.h"
#include "tests/support/typing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

namespace saved = members::saved;

class SavedSearchWindowTest : public MemberWindowTest {
protected:
    SavedSearchWindowTest() {
        addMember("A1", "陳一", {{"Tel", "02-1"}, {"birthday", "1976-02-29 00:00:00"}});
        addMember("A2", "林二", {{"Tel", "02-2"}, {"birthday", "1980-03-05 00:00:00"}});
        addMember("B1", "王三", {{"Tel", "04-1"}, {"birthday", "1990-02-01 00:00:00"}});
        addMember("B2", "李四", {{"Tel", "02-3"}, {"isEnabled", 0}});
    }
    ~SavedSearchWindowTest() override { saved::setClock({}); }

    DropDownBox* savedBox() { return child<DropDownBox>("ComboSaved"); }

    // Chooses a name from the 常用查詢 list as a user does: the list drops
    // down (and is read again), the name is clicked.
    void choose(const QString& name) {
        DropDownBox* box = savedBox();
        box->showPopup();
        const int index = box->findText(name);
        ASSERT_GE(index, 0) << name.toStdString();
        box->hidePopup();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    // Answers the name dialog the next button opens.
    static void answerName(const QString& name, bool ok = true) {
        whenModalShows([name, ok](QWidget* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("EditName"));
            ASSERT_NE(edit, nullptr);
            auto* okButton = dialog->findChild<QPushButton*>(QStringLiteral("BtnOK"));
            ASSERT_NE(okButton, nullptr);
            EXPECT_TRUE(okButton->isDefault());
            edit->clear();
            typeText(edit, name);
            QTest::keyClick(edit, ok ? Qt::Key_Return : Qt::Key_Escape);
        });
    }

    QStringList listedNames() {
        QStringList names;
        for (int i = 0; i < savedBox()->count(); ++i)
            names << savedBox()->itemText(i);
        return names;
    }
};

TEST_F(SavedSearchWindowTest, SavedCriteriaAndSortRunFromTheDropDown) {
    openFromMenu();
    chooseCriterion(members::search::Tel);
    type("ComboBox2", QStringLiteral("02"));
    press("BitBtn1");
    clickTitle("name"); // descending by name
    const QStringList shown = listedIds();
    ASSERT_EQ(shown.size(), 2);

    answerName(QStringLiteral("台北電話"));
    press("BtnSaveSearch");
    const std::optional<saved::SavedSearch> stored = saved::findSearch(QStringLiteral("台北電話"));
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->input.criterion, members::search::Tel);
    EXPECT_EQ(stored->input.value, QStringLiteral("02"));
    EXPECT_EQ(stored->sortField.toLower(), QStringLiteral("name"));
    EXPECT_TRUE(stored->sortDescending);

    // Another list meanwhile, then the saved one again.
    searchAll();
    child<QCheckBox>("CheckBox1")->setChecked(false);
    choose(QStringLiteral("台北電話"));
    EXPECT_EQ(listedIds(), shown);
    EXPECT_EQ(child<QComboBox>("ComboBox1")->currentIndex(), int(members::search::Tel));
    EXPECT_EQ(child<QComboBox>("ComboBox2")->currentText(), QStringLiteral("02"));
    EXPECT_TRUE(child<QCheckBox>("CheckBox1")->isChecked());

    // The same name again asks before replacing; No keeps the stored one.
    chooseCriterion(members::search::Number);
    answerName(QStringLiteral("台北電話"));
    prompt.expect(QStringLiteral("已有名為「台北電話」的常用查詢﹐是否取代﹖"), false);
    press("BtnSaveSearch");
    EXPECT_EQ(saved::findSearch(QStringLiteral("台北電話"))->input.criterion,
              int(members::search::Tel));
    // A built-in name is refused.
    answerName(QStringLiteral("本月壽星"));
    prompt.expect(QStringLiteral("「本月壽星」是內建的查詢﹐請用別的名稱"));
    press("BtnSaveSearch");
    // Cancelled: nothing stored.
    answerName(QStringLiteral("不存"), false);
    press("BtnSaveSearch");
    EXPECT_FALSE(saved::findSearch(QStringLiteral("不存")).has_value());
    EXPECT_EQ(prompt.pending(), 0);
}

TEST_F(SavedSearchWindowTest, BuiltInListRunsForTheClocksDay) {
    saved::setClock([] { return QDate(2027, 2, 10); });
    openFromMenu();
    EXPECT_EQ(listedNames().mid(0, 4),
              (QStringList{QStringLiteral("今日壽星"), QStringLiteral("本月壽星"),
                           QStringLiteral("下月壽星"), QStringLiteral("今年入會")}));
    choose(QStringLiteral("本月壽星"));
    EXPECT_EQ(listedIds(), (QStringList{"B1", "A1"}));
    saved::setClock([] { return QDate(2027, 2, 28); });
    choose(QStringLiteral("今日壽星"));
    EXPECT_EQ(listedIds(), (QStringList{"A1"}));
}

TEST_F(SavedSearchWindowTest, AnotherDesksSearchesShowAndGoneOnesAreReported) {
    openFromMenu();
    PeerProcess::run(database.path(),
                     {"exec", "insert into SavedSearch(Name, Criterion, Value, ActiveMembers) "
                              "values('乙桌的查詢', 1, '林', 1)"});
    choose(QStringLiteral("乙桌的查詢"));
    EXPECT_EQ(listedIds(), (QStringList{"A2"}));

    PeerProcess::run(database.path(), {"exec", "delete from SavedSearch"});
    savedBox()->setCurrentIndex(savedBox()->findText(QStringLiteral("乙桌的查詢")));
    prompt.expect(QStringLiteral("找不到常用查詢「乙桌的查詢」﹐可能已被另一台電腦刪除"));
    emit savedBox()->activated(savedBox()->currentIndex());
    EXPECT_EQ(savedBox()->findText(QStringLiteral("乙桌的查詢")), -1);
    EXPECT_EQ(prompt.pending(), 0);
}

TEST_F(SavedSearchWindowTest, ListWindowRenamesAndDeletes) {
    for (const char* name : {"甲", "乙"}) {
        saved::SavedSearch search;
        search.name = QString::fromUtf8(name);
        saved::saveSearch(search, false);
    }
    openFromMenu();
    whenModalShows([this](QWidget* list) {
        auto* names = list->findChild<QListWidget*>(QStringLiteral("ListSearches"));
        ASSERT_NE(names, nullptr);
        ASSERT_EQ(names->count(), 2); // the built-in lists are not there
        EXPECT_TRUE(list->findChild<QPushButton*>(QStringLiteral("BtnClose"))->isDefault());
        names->setCurrentRow(0); // 乙, listed by name
        answerName(QStringLiteral("丙"));
        QTest::mouseClick(list->findChild<QPushButton*>(QStringLiteral("BtnRename")),
                          Qt::LeftButton);
        ASSERT_EQ(names->item(0)->text(), QStringLiteral("丙"));
        // Renaming onto a taken name is refused with the reason.
        names->setCurrentRow(1);
        answerName(QStringLiteral("丙"));
        prompt.expect(QStringLiteral("已有名為「丙」的常用查詢"));
        QTest::mouseClick(list->findChild<QPushButton*>(QStringLiteral("BtnRename")),
                          Qt::LeftButton);
        ASSERT_EQ(names->currentItem()->text(), QStringLiteral("甲"));
        prompt.expect(QStringLiteral("是否刪除常用查詢「甲」﹖"), true);
        QTest::mouseClick(list->findChild<QPushButton*>(QStringLiteral("BtnDelete")),
                          Qt::LeftButton);
        EXPECT_EQ(names->count(), 1);
    });
    press("BtnSearches");
    QStringList stored;
    for (const saved::SavedSearch& search : saved::storedSearches())
        stored << search.name;
    EXPECT_EQ(stored, QStringList{QStringLiteral("丙")});
    EXPECT_EQ(listedNames().mid(4), QStringList{QStringLiteral("丙")});
    EXPECT_EQ(prompt.pending(), 0);
}

} // namespace
