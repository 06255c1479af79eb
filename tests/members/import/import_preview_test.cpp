// The import window's preview before anything is written, the choice for
// members whose number exists, and 系統維護 › 復原上次導入 of the main window.
#include "app/main_window.h"
#include "base/data_changes.h"
#include "db/connection.h"
#include "members/import/customer_import_window.h"
#include "members/import/member_import.h"
#include "tests/members/import/import_fixture.h"
#include "tests/support/modal.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

namespace {

const QString kFirst = QStringLiteral(MEMBER_IMPORT_DATA "/first_import.xlsx");
const QString kSecond = QStringLiteral(MEMBER_IMPORT_DATA "/second_import.xlsx");
const QString kQuestion = QStringLiteral("是否刪除舊資料﹖");

class ImportPreviewTest : public ImportFixture {
protected:
    ImportPreviewTest() { window.show(); }

    // The first list (A01, A02, " A03") imported as the command line does.
    void importFirst() {
        const std::unique_ptr<members::WorkbookReader> reader = members::openWorkbook(kFirst);
        members::importMembers(*reader, members::WorkbookImportPath::Window, {});
    }

    void clickImport() {
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btnExcel")),
                          Qt::LeftButton);
    }

    QString nameOf(const QString& id) const {
        return member(id).value(QStringLiteral("name")).toString();
    }

    // The preview's lines as "row verdict number note".
    static QStringList rowsOf(QWidget* preview) {
        auto* grid = preview->findChild<QTableWidget*>(QStringLiteral("gridRows"));
        QStringList rows;
        for (int row = 0; grid != nullptr && row < grid->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < grid->columnCount(); ++column)
                cells << grid->item(row, column)->text();
            rows << cells.join(' ');
        }
        return rows;
    }

    static QString countsOf(QWidget* preview) {
        return preview->findChild<QLabel*>(QStringLiteral("lblCounts"))->text();
    }

    TFrmCustomerFromExcel window;
};

// The preview of the second list names each row that is not new; 新增 is
// the choice unless changed; choosing 更新 and confirming updates the
// members, but not one another desk changed while the preview was open.
TEST_F(ImportPreviewTest, UpdateLeavesAMemberChangedSinceThePreview) {
    importFirst();
    choose(kSecond);
    prompt.expect(kQuestion, false);
    prompt.expect(
        QStringLiteral("導入成功﹕共 3 筆（新增 2 筆，更新 1 筆，略過已存在 0 筆，略過檔內重複 "
                       "1 筆）\n以下會員在預覽之後已被其他電腦修改，沒有更新：\n"
                       "第 4 列「A02」陳大文改"));
    QStringList shownRows;
    QString shownCounts;
    bool addChosen = false;
    whenModalShows([&](QWidget* preview) {
        shownRows = rowsOf(preview);
        shownCounts = countsOf(preview);
        addChosen = preview->findChild<QRadioButton*>(QStringLiteral("rbAdd"))->isChecked();
        QTest::mouseClick(preview->findChild<QRadioButton*>(QStringLiteral("rbUpdate")),
                          Qt::LeftButton);
        // Another desk changes A02 while the preview is open.
        db::run(QStringLiteral("update cust set name = '別台改' where id = 'A02'"));
        QTest::keyClick(preview, Qt::Key_Return);
    });
    clickImport();
    EXPECT_TRUE(addChosen);
    EXPECT_EQ(shownCounts, QStringLiteral("新增 2 筆，已存在 2 筆，檔內重複 1 筆，錯誤 0 筆"));
    EXPECT_EQ(shownRows,
              (QStringList{QStringLiteral("2 已存在 A01 "), QStringLiteral("4 已存在 A02 "),
                           QStringLiteral("5 檔內重複 A04 同第 3 列")}));
    EXPECT_EQ(nameOf(QStringLiteral("A02")), QStringLiteral("別台改"));
    EXPECT_EQ(member(QStringLiteral("A01")).value(QStringLiteral("tel")).toString(),
              QStringLiteral("0933333333"));
    EXPECT_EQ(nameOf(QStringLiteral("A01")), QStringLiteral("王小明")) << "an empty cell overwrote";
    EXPECT_EQ(memberIds(),
              (QStringList{QStringLiteral("A01"), QStringLiteral("A02"), QStringLiteral(" A03"),
                           QStringLiteral("A04"), QStringLiteral("A03")}));
}

TEST_F(ImportPreviewTest, CancellingThePreviewChangesNothing) {
    importFirst();
    const QStringList before = memberIds();
    choose(kSecond);
    prompt.expect(kQuestion, true); // even after saying yes to deleting the old members
    bool shown = false;
    whenModalShows([&shown](QWidget* preview) {
        shown = true;
        QTest::keyClick(preview, Qt::Key_Escape);
    });
    clickImport();
    EXPECT_TRUE(shown);
    EXPECT_EQ(memberIds(), before);
    EXPECT_EQ(prompt.pending(), 0);
}

class UndoMenuTest : public ImportFixture {
protected:
    void run(const char* item) {
        auto* action = main.findChild<QAction*>(QLatin1String(item));
        ASSERT_NE(action, nullptr) << item;
        QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
        QCoreApplication::sendPostedEvents(action);
    }

    TFrmMain main;
};

// The question defaults to No; yes takes the update back, and the windows
// are told to reload.
TEST_F(UndoMenuTest, UndoLastImportAsksThenTakesItBack) {
    prompt.expect(QStringLiteral("沒有可以復原的導入。"));
    run("UndoImport");
    {
        const std::unique_ptr<members::WorkbookReader> first = members::openWorkbook(kFirst);
        members::importMembers(*first, members::WorkbookImportPath::Window, {});
        const std::unique_ptr<members::WorkbookReader> second = members::openWorkbook(kSecond);
        members::ImportChoice update;
        update.mode = members::ImportMode::Update;
        update.file = kSecond;
        members::importMembers(*second, members::WorkbookImportPath::Window, update);
    }
    ASSERT_EQ(member(QStringLiteral("A02")).value(QStringLiteral("name")).toString(),
              QStringLiteral("陳大文改"));
    prompt.expectEnter(QStringLiteral("是否復原上次導入﹖"), true);
    run("UndoImport");
    ASSERT_EQ(prompt.shown().size(), 2);
    EXPECT_EQ(prompt.shown().last().defaultButton, Prompt::No);
    EXPECT_TRUE(prompt.shown().last().text.contains(
        QStringLiteral("second_import.xlsx（更新已存在的會員）：新增 2 筆，更新 2 筆")))
        << prompt.shown().last().text.toStdString();
    EXPECT_EQ(memberIds().size(), 5);

    int reloads = 0;
    QObject::connect(&DataChanges::instance(), &DataChanges::replaced, &main,
                     [&reloads] { ++reloads; });
    prompt.expect(QStringLiteral("是否復原上次導入﹖"), true, true);
    prompt.expect(QStringLiteral("已復原上次導入：刪除新增的會員 2 筆，還原更新的會員 2 筆"));
    run("UndoImport");
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(memberIds(),
              (QStringList{QStringLiteral("A01"), QStringLiteral("A02"), QStringLiteral(" A03")}));
    EXPECT_EQ(member(QStringLiteral("A02")).value(QStringLiteral("name")).toString(),
              QStringLiteral("陳大文"));
}

} // namespace
