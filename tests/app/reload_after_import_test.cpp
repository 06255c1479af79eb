// An import changes the members under an open member window: the window
// lists them as they are now, with the count and the movement buttons to
// match, without a new search.
#include "app/main_window.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "members/grid_footer.h"
#include "members/import/import_hooks.h"
#include "members/member_window.h"
#include "tests/support/modal.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QStringList listedIds(db::Dataset* query) {
    QStringList ids;
    for (int row = 0; row < query->rowCount(); ++row)
        ids << query->value(row, query->fieldIndex(QStringLiteral("id"))).toString();
    return ids;
}

TEST(ReloadAfterImport, TheOpenMemberWindowShowsTheImportedMembers) {
    // searched: listed by 查詢 on the number with both bounds empty, which
    // stand for the lowest and highest numbers stored when the list is read.
    const struct {
        bool deleteOld;
        bool searched;
        QStringList ids;
    } cases[] = {{false, false, {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}},
                 {true, false, {QStringLiteral("3")}},
                 {false, true, {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}}};
    for (const auto& c : cases) {
        TempDatabase database;
        ScriptedPrompt prompt;
        db::run(QStringLiteral("insert into Cust(id, name, isEnabled) values('1', 'Chen', 1), "
                               "('2', 'Lin', 1)"));
        TFrmMain window;
        window.show();
        window.findChild<QAction*>(QStringLiteral("N7"))->trigger();
        auto* members = dynamic_cast<TFrmCust*>(window.mdiArea()->activeSubWindow()->widget());
        ASSERT_NE(members, nullptr);
        if (c.searched)
            members->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        else
            members->openIfClosed(); // every member
        db::Dataset* query = members->memberQuery();
        ASSERT_EQ(listedIds(query), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
        query->last(); // stands on 2, which a deleting import removes

        const QString sheet = QDir(database.folder()).filePath(QStringLiteral("new.csv"));
        QFile file(sheet);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // One active member: number, name, and 是 in the last of 22 columns.
        file.write("ID,Name\n3,Wang" + QByteArray(19, ',') + ",是\n");
        file.close();
        members::setImportFileChooser([sheet](QWidget*, const QString&) { return sheet; });
        prompt.expect(QStringLiteral("是否刪除舊資料﹖"), c.deleteOld);
        prompt.expect(QStringLiteral("導入成功﹕共 1 筆"));
        whenModalShows([](QWidget* importer) {
            confirmNextImportPreview();
            importer->findChild<QPushButton*>(QStringLiteral("btnExcel"))->click();
        });
        window.findChild<QAction*>(QStringLiteral("N16"))->trigger();
        members::setImportFileChooser({});

        EXPECT_EQ(listedIds(query), c.ids) << c.deleteOld << c.searched;
        auto* footer = members->findChild<GridFooter*>(QStringLiteral("DBGridEh1Footer"));
        ASSERT_NE(footer, nullptr);
        QStringList footerTexts;
        for (int column = 0; column < query->fieldCount(); ++column)
            footerTexts << footer->text(column);
        EXPECT_TRUE(footerTexts.contains(QString::number(c.ids.size())))
            << footerTexts.join('|').toStdString();
        EXPECT_EQ(
            members->currentCustId(),
            query->value(query->currentRow(), query->fieldIndex(QStringLiteral("id"))).toString());
        window.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

} // namespace
