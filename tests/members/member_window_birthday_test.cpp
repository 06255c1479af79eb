// Members imported with a birthday in column I and none in column J (the
// typed Minguo birthday) keep it through the member window: the 生日 box
// shows the stored date as it would be typed, and a save of any other field
// writes neither birthday column unless the box was changed or cleared.
#include "tests/members/member_window_fixture.h"

#include "app/main_window.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "members/import/import_hooks.h"
#include "tests/support/modal.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace {

const QString kSaved = QStringLiteral("保存成功﹕共 1 筆");

class MemberWindowBirthdayTest : public MemberWindowTest {
protected:
    ~MemberWindowBirthdayTest() override { members::setImportFileChooser({}); }

    // 客戶資料導入 from the main window's menu, keeping the members there.
    void importWorkbook(const QString& name) {
        const QString path = QStringLiteral(MEMBER_IMPORT_DATA "/") + name;
        members::setImportFileChooser([path](QWidget*, const QString&) { return path; });
        prompt.expect(QStringLiteral("是否刪除舊資料﹖"), false);
        prompt.expect(QStringLiteral("導入成功﹕共 3 筆"));
        whenModalShows([](QWidget* importWindow) {
            auto* button = importWindow->findChild<QPushButton*>(QStringLiteral("btnExcel"));
            ASSERT_NE(button, nullptr);
            confirmNextImportPreview();
            QTest::mouseClick(button, Qt::LeftButton);
        });
        mainWindow->findChild<QAction*>(QStringLiteral("N16"))->trigger();
        EXPECT_EQ(prompt.pending(), 0);
    }

    // Lists every member and stands on the one numbered id.
    void chooseMember(const QString& id) {
        child<QTabWidget>("PageControl1")->setCurrentWidget(child<QWidget>("TabSheet1"));
        searchAll();
        const int row = int(listedIds().indexOf(id));
        ASSERT_GE(row, 0) << id.toStdString();
        const QRect cell = grid()->visualRect(grid()->model()->index(row, 0));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        ASSERT_EQ(window->currentCustId(), id);
    }
};

TEST_F(MemberWindowBirthdayTest, ImportedBirthdayIsShownAndKeptUnlessTheBoxChanges) {
    struct Case {
        const char* member;
        const char* shown;
        const char* typed;      // nullptr: the box is left alone
        QVariant birthday;      // stored after the save
        QVariant typedBirthday; // when typed
    } cases[] = {
        // A date cell, and a text cell in the Minguo form the window uses.
        {"00007", "65/12/31", nullptr, QStringLiteral("1976-12-31 00:00:00"), QVariant()},
        {"A4", "65/12/31", nullptr, QStringLiteral("1976-12-31 00:00:00"), QVariant()},
        {"00007", "65/12/31", "", QVariant(), QVariant()},
        {"00007", "65/12/31", "66/1/2", QStringLiteral("1977-01-02 00:00:00"),
         QStringLiteral("66/1/2")},
    };
    openFromMenu();
    for (const char* workbook : {"shown.xlsx", "shown.xls"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(workbook) + " " + c.member + " " +
                         (c.typed ? c.typed : "(left alone)"));
            db::run(QStringLiteral("delete from Cust"));
            importWorkbook(QString::fromUtf8(workbook));
            const QString id = QString::fromUtf8(c.member);
            const QVariant importedTyped = stored(id, QStringLiteral("MGBirthday"));
            ASSERT_TRUE(importedTyped.toString().isEmpty());
            const QVariant imported = stored(id, QStringLiteral("birthday"));
            ASSERT_FALSE(imported.isNull());

            chooseMember(id);
            auto* box = child<QLineEdit>("DBEdit6");
            EXPECT_EQ(box->text(), QString::fromUtf8(c.shown));
            press("SbEdit");
            EXPECT_EQ(box->text(), QString::fromUtf8(c.shown));
            type("DBEdit3", QStringLiteral("02-2345-0000"));
            if (c.typed != nullptr)
                type("DBEdit6", QString::fromUtf8(c.typed));
            prompt.expect(kSaved);
            press("SbSave");

            EXPECT_EQ(stored(id, QStringLiteral("Tel")).toString(), QStringLiteral("02-2345-0000"));
            const QVariant birthday = stored(id, QStringLiteral("birthday"));
            EXPECT_EQ(birthday.isNull(), c.birthday.isNull());
            EXPECT_EQ(birthday.toString(), c.typed ? c.birthday.toString() : imported.toString());
            // The typed birthday is written only when the box changed.
            const QVariant typedBirthday = stored(id, QStringLiteral("MGBirthday"));
            const QVariant expectedTyped = c.typed ? c.typedBirthday : importedTyped;
            EXPECT_EQ(typedBirthday.isNull(), expectedTyped.isNull());
            EXPECT_EQ(typedBirthday.toString(), expectedTyped.toString());
            // What the box shows after the save is what is stored.
            EXPECT_EQ(box->text(),
                      c.typed ? QString::fromUtf8(c.typed) : QString::fromUtf8(c.shown));
        }
    }
}

// A typed birthday is shown as typed, whatever the stored date says.
TEST_F(MemberWindowBirthdayTest, TypedBirthdayIsShownAsTyped) {
    addMember("B1", "甲",
              {{QStringLiteral("MGBirthday"), QStringLiteral("65/1/1")},
               {QStringLiteral("birthday"), QStringLiteral("1976-01-01 00:00:00")}});
    addMember("B2", "乙");
    openFromMenu();
    chooseMember(QStringLiteral("B1"));
    EXPECT_EQ(child<QLineEdit>("DBEdit6")->text(), QStringLiteral("65/1/1"));
    chooseMember(QStringLiteral("B2"));
    EXPECT_EQ(child<QLineEdit>("DBEdit6")->text(), QString());
    // A new member starts with an empty box.
    chooseMember(QStringLiteral("B1"));
    press("SbAdd");
    EXPECT_EQ(child<QLineEdit>("DBEdit6")->text(), QString());
}

} // namespace
