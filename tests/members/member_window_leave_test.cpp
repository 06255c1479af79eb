// A member being added or edited is never given up without a question:
// every action of the member window that would reload the list or leave
// the member asks 資料尚未儲存﹐是否儲存﹖ first, and its three answers store
// the member, give it up, or keep it with the action not done.
#include "tests/members/member_window_fixture.h"

#include "db/connection.h"
#include "db/dataset.h"
#include "members/report/report_preview.h"
#include "tests/support/modal.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

using SaveAnswer = Prompt::SaveAnswer;

const QString kUnsaved = QStringLiteral("資料尚未儲存﹐是否儲存﹖");

enum class Editing { Adding, Changing };

class MemberWindowLeaveTest : public MemberWindowTest {
protected:
    MemberWindowLeaveTest() {
        m_previousPresenter = members::report::setPresenter([this](const auto&, QWidget*) {
            ++previews;
            editingWhenPrinted = window->memberQuery()->isEditing();
        });
    }
    ~MemberWindowLeaveTest() override { members::report::setPresenter(m_previousPresenter); }

    // Three members listed from the menu's window, a fourth stored behind
    // the list (a new search shows it), and one member being added or
    // changed: N001 新人 added, or A002 renamed 乙改.
    void startEditing(Editing editing) {
        db::run(QStringLiteral("delete from Cust"));
        addMember("A001", "甲");
        addMember("A002", "乙");
        addMember("A003", "丙");
        if (!isOpenInMenu())
            openFromMenu();
        if (window->memberQuery()->isEditing())
            window->memberQuery()->cancel();
        child<QTabWidget>("PageControl1")->setCurrentWidget(child<QWidget>("TabSheet1"));
        child<QLineEdit>("EditQuick")->clear();
        searchAll();
        addMember("A004", "丁");
        if (editing == Editing::Adding) {
            press("SbAdd");
            type("DBEdit1", QStringLiteral("N001"));
            type("DBEdit2", QStringLiteral("新人"));
        } else {
            press("SbNext");
            press("SbEdit");
            type("DBEdit2", QStringLiteral("乙改"));
        }
    }

    // What the user typed, as the editors show it.
    static QString typedName(Editing editing) {
        return editing == Editing::Adding ? QStringLiteral("新人") : QStringLiteral("乙改");
    }

    // Whether the member being added or changed is stored as typed.
    static bool storedAsTyped(Editing editing) {
        return editing == Editing::Adding
                   ? stored(QStringLiteral("N001"), QStringLiteral("name")).toString() ==
                         QStringLiteral("新人")
                   : stored(QStringLiteral("A002"), QStringLiteral("name")).toString() ==
                         QStringLiteral("乙改");
    }
    static bool storedAsBefore(Editing editing) {
        return editing == Editing::Adding
                   ? !stored(QStringLiteral("N001"), QStringLiteral("id")).isValid()
                   : stored(QStringLiteral("A002"), QStringLiteral("name")).toString() ==
                         QStringLiteral("乙");
    }

    // A click on a button of the list tab while the details show, as the
    // window's keyboard shortcuts press it.
    void pressHidden(const char* name) { child<QPushButton>(name)->click(); }

    int previews = 0;
    bool editingWhenPrinted = false;
    bool labelDialogShown = false;

private:
    members::report::Presenter m_previousPresenter;
};

struct Action {
    const char* name;
    std::function<void()> run;
    std::function<bool()> done;
};

TEST_F(MemberWindowLeaveTest, EveryActionThatLeavesTheMemberAsksFirst) {
    auto listsTheNewMember = [this] { return listedIds().contains(QStringLiteral("A004")); };
    const std::vector<Action> actions = {
        {"查詢", [this] { pressHidden("BitBtn1"); }, listsTheNewMember},
        {"快速查詢",
         [this] { QTest::keyClicks(child<QLineEdit>("EditQuick"), QStringLiteral("A")); },
         listsTheNewMember},
        {"標題排序",
         // The titles are on the list tab, hidden while a member is edited:
         // what a click on one sends.
         [this] { emit header()->sectionClicked(columnOf(QStringLiteral("id"))); },
         [this] { return window->memberQuery()->sortField() == QStringLiteral("id"); }},
        {"預覽", [this] { press("SbPreview"); }, [this] { return previews > 0; }},
        {"標籤列印", [this] { press("BitBtn2"); }, [this] { return labelDialogShown; }},
        {"移到第一筆", [this] { press("SbFirst"); },
         [this] {
             return window->memberQuery()->rowNumber() == 1 &&
                    window->currentCustId() == QStringLiteral("A001");
         }},
        {"資料查詢頁",
         [this] {
             auto* tabs = child<QTabWidget>("PageControl1");
             QTabBar* bar = tabs->tabBar();
             QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(0).center());
         },
         [this] {
             return child<QTabWidget>("PageControl1")->currentWidget() ==
                    child<QWidget>("TabSheet1");
         }},
        {"離開", [this] { press("SbExit"); }, [this] { return !isOpenInMenu(); }},
    };
    for (const Action& action : actions) {
        for (Editing editing : {Editing::Adding, Editing::Changing}) {
            for (SaveAnswer answer : {SaveAnswer::Cancel, SaveAnswer::Discard, SaveAnswer::Save}) {
                const char* answers[] = {"儲存", "不儲存", "取消"};
                const std::string what = std::string(action.name) +
                                         (editing == Editing::Adding ? " 新增中" : " 修改中") +
                                         " 回答" + answers[int(answer)];
                SCOPED_TRACE(what);
                startEditing(editing);
                previews = 0;
                labelDialogShown = false;
                if (answer != SaveAnswer::Cancel && std::string(action.name) == "標籤列印")
                    whenModalShows([this](QWidget*) { labelDialogShown = true; });
                prompt.expectSaveQuestion(kUnsaved, answer);
                action.run();
                QCoreApplication::processEvents();
                EXPECT_EQ(prompt.pending(), 0);
                EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("會員管理"));
                EXPECT_EQ(action.done(), answer != SaveAnswer::Cancel);
                EXPECT_EQ(storedAsTyped(editing), answer == SaveAnswer::Save);
                EXPECT_EQ(storedAsBefore(editing), answer != SaveAnswer::Save);
                EXPECT_FALSE(editingWhenPrinted);
                if (!isOpenInMenu())
                    continue;
                EXPECT_EQ(window->memberQuery()->isEditing(), answer == SaveAnswer::Cancel);
                if (answer == SaveAnswer::Cancel) {
                    EXPECT_EQ(child<QLineEdit>("DBEdit2")->text(), typedName(editing));
                    EXPECT_EQ(child<QTabWidget>("PageControl1")->currentWidget(),
                              child<QWidget>("TabSheet2"));
                }
            }
        }
    }
}

// Presses key on the next message box as soon as it shows, after noting
// its text, its buttons and its default button.
struct SeenBox {
    QString text;
    QStringList buttons;
    QString defaultButton;
};

void pressOnNextBox(Qt::Key key, SeenBox* seen, int triesLeft = 300) {
    QTimer::singleShot(10, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            if (triesLeft > 0)
                pressOnNextBox(key, seen, triesLeft - 1);
            return;
        }
        *seen = {box->text(), {}, {}};
        for (QAbstractButton* button : box->buttons())
            seen->buttons << button->text();
        seen->buttons.sort();
        if (box->defaultButton() != nullptr)
            seen->defaultButton = box->defaultButton()->text();
        QTest::keyClick(box, key);
    });
}

TEST_F(MemberWindowLeaveTest, TheQuestionKeepsTheMemberOnEscAndStoresItOnEnter) {
    startEditing(Editing::Changing);
    Prompt::install(nullptr); // the program's own message boxes
    const auto scripted = qScopeGuard([this] { Prompt::install(&prompt); });
    SeenBox seen;
    pressOnNextBox(Qt::Key_Escape, &seen);
    press("SbFirst");
    EXPECT_EQ(seen.text, kUnsaved);
    QStringList buttons{QStringLiteral("儲存"), QStringLiteral("不儲存"), QStringLiteral("取消")};
    buttons.sort();
    EXPECT_EQ(seen.buttons, buttons);
    EXPECT_EQ(seen.defaultButton, QStringLiteral("儲存"));
    EXPECT_TRUE(window->memberQuery()->isEditing());
    EXPECT_EQ(window->memberQuery()->rowNumber(), 2);
    EXPECT_TRUE(storedAsBefore(Editing::Changing));

    seen = {};
    pressOnNextBox(Qt::Key_Return, &seen);
    press("SbFirst");
    EXPECT_EQ(seen.text, kUnsaved);
    EXPECT_FALSE(window->memberQuery()->isEditing());
    EXPECT_EQ(window->memberQuery()->rowNumber(), 1);
    EXPECT_TRUE(storedAsTyped(Editing::Changing));
}

// A save refused by a check keeps the member and the action is not done.
TEST_F(MemberWindowLeaveTest, RefusedSaveKeepsTheMemberAndTheList) {
    startEditing(Editing::Adding);
    type("DBEdit1", QStringLiteral("A001"));
    const QStringList listed = listedIds();
    prompt.expectSaveQuestion(kUnsaved, SaveAnswer::Save);
    prompt.expect(QStringLiteral("編號重複﹐請重新輸入!"));
    pressHidden("BitBtn1");
    EXPECT_TRUE(window->memberQuery()->isEditing());
    EXPECT_TRUE(window->isAppending());
    EXPECT_EQ(listedIds(), listed);
    EXPECT_EQ(focused(), child<QWidget>("DBEdit1"));
    EXPECT_EQ(memberCount(), 4);
}

} // namespace
