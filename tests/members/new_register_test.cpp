#include "app/main_window.h"
#include "app/start_up.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "db/dataset_model.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"
#include "tests/support/typing.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

int settingsRows() {
    QSqlQuery query = db::run(QStringLiteral("select count(*) from SystemSet"));
    query.next();
    return query.value(0).toInt();
}

// The member window opened through the menu of main.
QWidget* openMembers(TFrmMain& main) {
    main.findChild<QAction*>(QStringLiteral("N7"))->trigger();
    return main.mdiArea()->activeSubWindow()->widget();
}

void closeChildren(TFrmMain& main) {
    main.mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Every label, criterion and visible grid title of the member window says
// something: no bare "﹕", no blank criterion, no column name as a title.
void expectEverythingLabelled(QWidget* members) {
    for (auto* label : members->findChildren<QLabel*>()) {
        const QString text = label->text();
        EXPECT_NE(text.trimmed(), QStringLiteral("﹕")) << label->objectName().toStdString();
    }
    auto* criteria = members->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
    ASSERT_NE(criteria, nullptr);
    ASSERT_EQ(criteria->count(), 16);
    for (int i = 0; i < criteria->count(); ++i)
        EXPECT_FALSE(criteria->itemText(i).trimmed().isEmpty()) << i;
    auto* grid = members->findChild<QTableView*>(QStringLiteral("DBGridEh1"));
    auto* model = qobject_cast<db::DatasetModel*>(grid->model());
    ASSERT_NE(model, nullptr);
    for (int column = 0; column < model->columnCount(); ++column) {
        if (grid->horizontalHeader()->isSectionHidden(column))
            continue;
        const QString title = model->headerData(column, Qt::Horizontal).toString();
        EXPECT_FALSE(title.trimmed().isEmpty()) << column;
        EXPECT_NE(title, model->fieldAt(column)) << title.toStdString();
    }
}

TEST(NewRegister, StartsWithTraditionalChineseCaptions) {
    QTemporaryDir folder;
    ScriptedPrompt prompt;
    StartOptions options;
    options.databasePath = QDir(folder.path()).filePath(QStringLiteral("db.sqlite"));
    options.createIfMissing = true;
    prepareDatabase(options);
    {
        TFrmMain main;
        main.show();
        main.applySystemSet();
        EXPECT_EQ(main.windowTitle(), QStringLiteral("會員管理(本公司)"));
        EXPECT_EQ(main.findChild<QAction*>(QStringLiteral("N7"))->text(),
                  QStringLiteral("會員資料"));
        QWidget* members = openMembers(main);
        expectEverythingLabelled(members);
        EXPECT_EQ(members->findChild<QLabel*>(QStringLiteral("LabelMemo1"))->text(),
                  QStringLiteral("備註一﹕"));
        EXPECT_EQ(members->findChild<QLabel*>(QStringLiteral("LabelKind"))->text(),
                  QStringLiteral("類別﹕"));
        closeChildren(main);
    }
    EXPECT_EQ(settingsRows(), 1);
    db::closeConnection();
}

TEST(NewRegister, ExistingRegisterWithoutSettingsIsLeftAloneButLabelled) {
    TempDatabase database; // made from the tables alone, as an older register
    ScriptedPrompt prompt;
    TFrmMain main;
    main.show();
    main.applySystemSet();
    expectEverythingLabelled(openMembers(main));
    closeChildren(main);
    EXPECT_EQ(settingsRows(), 0);
}

TEST(NewRegister, SavedSettingsShowInTheMainWindowAtOnce) {
    TempDatabase database;
    ScriptedPrompt prompt;
    TFrmMain main;
    main.show();
    main.applySystemSet();
    main.findChild<QAction*>(QStringLiteral("N10"))->trigger();
    QWidget* settings = main.mdiArea()->activeSubWindow()->widget();
    QTest::mouseClick(settings->findChild<QPushButton*>(QStringLiteral("SbEdit")), Qt::LeftButton);
    auto* name = settings->findChild<QLineEdit*>(QStringLiteral("DBEdit1"));
    auto* cust = settings->findChild<QLineEdit*>(QStringLiteral("DBEdit6"));
    ASSERT_NE(name, nullptr);
    ASSERT_NE(cust, nullptr);
    typeText(name, QStringLiteral("小店"));
    typeText(cust, QStringLiteral("客戶"));
    QTest::mouseClick(settings->findChild<QPushButton*>(QStringLiteral("SbSave")), Qt::LeftButton);
    // The maximised child adds its own caption after the window's.
    EXPECT_TRUE(main.windowTitle().startsWith(QStringLiteral("會員管理(小店)")))
        << main.windowTitle().toStdString();
    EXPECT_EQ(main.findChild<QAction*>(QStringLiteral("N7"))->text(), QStringLiteral("客戶"));
    closeChildren(main);
}

} // namespace
