// Saving a member that was deleted or changed since the window read it:
// by another desk (a second program on the same register) or by this
// program's own import. The typed values are never silently lost and the
// window never jumps to another member.
#include "tests/members/member_window_fixture.h"

#include "app/main_window.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "members/import/import_hooks.h"
#include "tests/support/modal.h"
#include "tests/support/peer_process.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

class MemberWindowConflictTest : public MemberWindowTest {
protected:
    // Lists members 1 to 3 and starts editing member 2, typing a new name.
    void editSecondMember() {
        db::run(QStringLiteral("delete from Cust"));
        for (const char* id : {"1", "2", "3"})
            addMember(QLatin1String(id), QStringLiteral("林%1").arg(QLatin1String(id)));
        searchAll();
        ASSERT_EQ(listedIds(), (QStringList{"1", "2", "3"}));
        window->memberQuery()->moveTo(1);
        press("SbEdit");
        type("DBEdit2", QStringLiteral("林改"));
    }

    void deleteByAnotherDesk() {
        PeerProcess::run(database.path(), {QStringLiteral("exec"),
                                           QStringLiteral("delete from Cust where id = '2'")});
    }

    // 導入 from the menu, deleting the old members for one new member 9.
    void importDeletingTheOldMembers() {
        const QString sheet = folder.filePath(QStringLiteral("new.csv"));
        QFile file(sheet);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // One active member: number, name, and 是 in the last of 22 columns.
        file.write("ID,Name\n9,Wang" + QByteArray(19, ',') + ",是\n");
        file.close();
        members::setImportFileChooser([sheet](QWidget*, const QString&) { return sheet; });
        prompt.expect(QStringLiteral("是否刪除舊資料﹖"), true);
        prompt.expect(QStringLiteral("導入成功﹕共 1 筆"));
        whenModalShows([](QWidget* importer) {
            confirmNextImportPreview();
            importer->findChild<QPushButton*>(QStringLiteral("btnExcel"))->click();
        });
        mainWindow->findChild<QAction*>(QStringLiteral("N16"))->trigger();
        members::setImportFileChooser({});
        ASSERT_EQ(prompt.pending(), 0);
    }

    // Still member 2 of the list, being edited on the details tab as typed.
    void expectStillTyped() {
        EXPECT_TRUE(window->memberQuery()->isEditing());
        EXPECT_EQ(window->memberQuery()->value(QStringLiteral("id")).toString(), "2");
        EXPECT_EQ(window->currentCustId(), "2");
        EXPECT_EQ(child<QLineEdit>("DBEdit1")->text(), "2");
        EXPECT_EQ(child<QLineEdit>("DBEdit2")->text(), QStringLiteral("林改"));
        EXPECT_EQ(child<QTabWidget>("PageControl1")->currentWidget(), child<QWidget>("TabSheet2"));
    }
};

// The member is gone: the question says who deleted it and leans to No,
// which writes nothing and keeps the typed member on screen; saving again
// and answering Yes stores it as a new member, 取消 gives it up.
TEST_F(MemberWindowConflictTest, ADeletedMemberIsOfferedAgainAsANewMember) {
    const struct {
        const char* deleter;
        bool byImport;
        QString said;
    } deleters[] = {
        {"another desk", false, QStringLiteral("另一台電腦已刪除此筆資料")},
        {"this program's import", true, QStringLiteral("此筆資料已被本程式刪除")},
    };
    openFromMenu();
    for (const auto& d : deleters) {
        for (const bool storeAsNew : {true, false}) {
            SCOPED_TRACE(std::string(d.deleter) + (storeAsNew ? " / stored" : " / given up"));
            editSecondMember();
            if (d.byImport)
                importDeletingTheOldMembers();
            else
                deleteByAnotherDesk();
            const int before = memberCount();

            prompt.expect(d.said, false, true);
            press("SbSave");
            ASSERT_EQ(prompt.pending(), 0);
            const ScriptedPrompt::Box& question = prompt.shown().last();
            EXPECT_TRUE(question.text.contains(QStringLiteral("存為新會員")))
                << question.text.toStdString();
            EXPECT_EQ(question.defaultButton, Prompt::No);
            expectStillTyped();
            EXPECT_EQ(memberCount(), before);

            if (storeAsNew) {
                prompt.expect(d.said, true, true);
                prompt.expect(QStringLiteral("保存成功﹕共 1 筆"));
                press("SbSave");
                EXPECT_EQ(prompt.pending(), 0);
                EXPECT_FALSE(window->memberQuery()->isEditing());
                EXPECT_EQ(memberCount(), before + 1);
                EXPECT_EQ(stored(QStringLiteral("2"), QStringLiteral("name")).toString(),
                          QStringLiteral("林改"));
                EXPECT_EQ(window->currentCustId(), "2");
                EXPECT_EQ(child<QLineEdit>("DBEdit2")->text(), QStringLiteral("林改"));
            } else {
                prompt.expect(QStringLiteral("要取消嗎﹖"));
                press("SbCancel");
                EXPECT_EQ(prompt.pending(), 0);
                EXPECT_FALSE(window->memberQuery()->isEditing());
                EXPECT_EQ(memberCount(), before);
                EXPECT_FALSE(listedIds().contains(QStringLiteral("2")));
            }
            // The list shows what the import left once editing ended.
            QCoreApplication::processEvents();
            if (d.byImport) {
                EXPECT_EQ(listedIds(), storeAsNew ? (QStringList{"2", "9"}) : QStringList{"9"});
                EXPECT_EQ(window->currentCustId(), storeAsNew ? "2" : "9");
            }
        }
    }
}

// Another desk changed the member: today's rule holds (nothing written, the
// stored member shown), and the message lists what was typed, by the
// details tab's names, so that it can be typed again.
TEST_F(MemberWindowConflictTest, AChangedMemberIsReloadedAndTheTypedValuesAreShown) {
    openFromMenu();
    editSecondMember();
    type("DBEdit3", QStringLiteral("0912-345-678"));
    PeerProcess::run(
        database.path(),
        {QStringLiteral("exec"), QStringLiteral("update Cust set name = '乙桌改' where id = '2'")});
    prompt.expect(QStringLiteral("另一台電腦已修改此筆資料"), true, true);
    press("SbSave");
    ASSERT_EQ(prompt.pending(), 0);
    const QString text = prompt.shown().last().text;
    EXPECT_TRUE(text.contains(QStringLiteral("姓名﹕林改\n電話﹕0912-345-678")))
        << text.toStdString();
    EXPECT_FALSE(window->memberQuery()->isEditing());
    EXPECT_EQ(window->currentCustId(), "2");
    EXPECT_EQ(child<QLineEdit>("DBEdit2")->text(), QStringLiteral("乙桌改"));
    EXPECT_EQ(stored(QStringLiteral("2"), QStringLiteral("name")).toString(),
              QStringLiteral("乙桌改"));
}

} // namespace
