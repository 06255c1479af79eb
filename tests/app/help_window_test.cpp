#include "app/help_window.h"
#include "app/main_window.h"
#include "app/user_guide.h"
#include "tests/support/modal.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class HelpWindowTest : public testing::Test {
protected:
    void SetUp() override {
        window.show();
        QApplication::setActiveWindow(&window);
    }
    void TearDown() override {
        window.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QAction* item(const char* name) {
        auto* action = window.findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    // The help window of owner, if one was opened.
    static TFrmHelp* helpOf(QWidget* owner) {
        return owner->findChild<TFrmHelp*>(QStringLiteral("FrmHelp"), Qt::FindDirectChildrenOnly);
    }
    // F1 as a user presses it on the control that has the focus.
    static void pressF1(QWidget* window) {
        QWidget* focus = window->focusWidget() ? window->focusWidget() : window;
        QTest::keyClick(focus, Qt::Key_F1);
    }

    TempDatabase database;
    ScriptedPrompt prompt;
    TFrmMain window;
};

TEST_F(HelpWindowTest, HelpMenuOffersTheGuideOnF1AndTheAboutWindow) {
    const QList<QAction*> items = item("N13")->menu()->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->objectName(), QStringLiteral("HelpGuide"));
    EXPECT_EQ(items[0]->text(), QStringLiteral("使用說明"));
    EXPECT_EQ(items[0]->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(items[1]->objectName(), QStringLiteral("About"));
}

TEST_F(HelpWindowTest, MenuItemOpensThePageOfTheFocusedChildWindow) {
    item("N7")->trigger();
    QWidget* members = window.mdiArea()->activeSubWindow()->widget();
    members->findChild<QWidget*>(QStringLiteral("SbExit"))->setFocus();
    item("HelpGuide")->trigger();
    TFrmHelp* help = helpOf(&window);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), QStringLiteral("使用說明"));
    EXPECT_EQ(help->currentPage(), QStringLiteral("members.md"));
    EXPECT_TRUE(help->findChild<QTextBrowser*>(QStringLiteral("HelpPage"))
                    ->toPlainText()
                    .contains(QStringLiteral("快速查詢")));

    // Asked again from another window, the same help window turns the page.
    window.mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    item("N10")->trigger();
    window.mdiArea()->activeSubWindow()->widget()->setFocus();
    item("HelpGuide")->trigger();
    EXPECT_EQ(helpOf(&window), help);
    EXPECT_EQ(help->currentPage(), QStringLiteral("first-use.md"));
}

// F1 in each child window opened from the menu opens its page.
TEST_F(HelpWindowTest, F1InAChildWindowOpensItsPage) {
    const std::pair<const char*, const char*> cases[] = {
        {"N7", "members.md"}, {"N8", "members.md"}, {"N9", "members.md"}, {"N10", "first-use.md"}};
    for (const auto& [menuItem, page] : cases) {
        item(menuItem)->trigger();
        QWidget* child = window.mdiArea()->activeSubWindow()->widget();
        child->setFocus();
        pressF1(&window);
        ASSERT_NE(helpOf(&window), nullptr) << menuItem;
        EXPECT_EQ(helpOf(&window)->currentPage(), QLatin1String(page)) << menuItem;
        window.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // With no child window, F1 opens the contents.
    window.setFocus();
    pressF1(&window);
    EXPECT_EQ(helpOf(&window)->currentPage(), QStringLiteral("index.md"));
}

// A modal window blocks every other window, so its guide opens above it.
TEST_F(HelpWindowTest, F1InAModalWindowOpensItsPageAboveIt) {
    const std::pair<const char*, const char*> cases[] = {{"N15", "sms.md"},
                                                         {"N12", "first-use.md"},
                                                         {"N17", "first-use.md"},
                                                         {"CustHistory", "members.md"}};
    for (const auto& [menuItem, page] : cases) {
        QString opened;
        bool aboveModal = false;
        whenModalShows([&](QWidget* modal) {
            pressF1(modal);
            TFrmHelp* help = helpOf(modal);
            if (!help)
                return;
            opened = help->currentPage();
            aboveModal = help->isVisible() && help->parentWidget() == modal;
        });
        item(menuItem)->trigger();
        EXPECT_EQ(opened, QLatin1String(page)) << menuItem;
        EXPECT_TRUE(aboveModal) << menuItem;
        EXPECT_EQ(helpOf(&window), nullptr) << menuItem;
    }
}

TEST_F(HelpWindowTest, SearchListsThePagesHoldingEveryWordAndShowsTheFirst) {
    TFrmHelp* help = TFrmHelp::openFor(nullptr, &window);
    auto* search = help->findChild<QLineEdit*>(QStringLiteral("HelpSearch"));
    auto* results = help->findChild<QListWidget*>(QStringLiteral("HelpResults"));
    auto* page = help->findChild<QTextBrowser*>(QStringLiteral("HelpPage"));
    ASSERT_TRUE(search && results && page);

    search->insert(QStringLiteral("快速查詢")); // as typed (keyClicks knows ASCII only)
    ASSERT_TRUE(results->isVisible());
    ASSERT_GE(results->count(), 1);
    EXPECT_TRUE(results->item(0)->text().startsWith(QStringLiteral("會員資料")))
        << results->item(0)->text().toStdString();
    results->setCurrentRow(0);
    QTest::keyClick(results, Qt::Key_Return);
    EXPECT_EQ(help->currentPage(), QStringLiteral("members.md"));
    EXPECT_EQ(page->textCursor().selectedText(), QStringLiteral("快速查詢"));

    // Every word must be on the page; letter case does not matter.
    search->clear();
    search->insert(QStringLiteral("pdf 標籤"));
    QStringList titles;
    for (int i = 0; i < results->count(); ++i)
        titles << results->item(i)->text().section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(titles.filter(QStringLiteral("列印名冊與標籤")).size() == 1)
        << titles.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(titles.filter(QStringLiteral("發送簡訊")).isEmpty());

    search->clear();
    search->insert(QStringLiteral("沒有這個字"));
    ASSERT_EQ(results->count(), 1);
    EXPECT_EQ(results->item(0)->text(), QStringLiteral("找不到「沒有這個字」"));
    results->setCurrentRow(0);
    QTest::keyClick(results, Qt::Key_Return); // leaves the page as it was
    EXPECT_EQ(help->currentPage(), QStringLiteral("members.md"));

    search->clear();
    EXPECT_FALSE(results->isVisible());
}

TEST_F(HelpWindowTest, ContentsListEveryPageWithItsSectionsAndOpenThem) {
    TFrmHelp* help = TFrmHelp::openFor(nullptr, &window);
    auto* contents = help->findChild<QTreeWidget*>(QStringLiteral("HelpContents"));
    ASSERT_NE(contents, nullptr);
    const QStringList titles = {QStringLiteral("第一次使用"),     QStringLiteral("會員資料"),
                                QStringLiteral("列印名冊與標籤"), QStringLiteral("匯入會員"),
                                QStringLiteral("發送簡訊"),       QStringLiteral("備份與還原"),
                                QStringLiteral("多台電腦共用"),   QStringLiteral("常見問題")};
    ASSERT_EQ(contents->topLevelItemCount(), titles.size());
    for (int i = 0; i < titles.size(); ++i) {
        QTreeWidgetItem* page = contents->topLevelItem(i);
        EXPECT_EQ(page->text(0), titles[i]);
        EXPECT_GT(page->childCount(), 0) << titles[i].toStdString();
    }
    // A section opens its page at its heading.
    QTreeWidgetItem* section = contents->topLevelItem(5)->child(0);
    contents->setCurrentItem(section);
    QTest::keyClick(contents, Qt::Key_Return);
    EXPECT_EQ(help->currentPage(), QStringLiteral("backup.md"));
    EXPECT_EQ(
        help->findChild<QTextBrowser*>(QStringLiteral("HelpPage"))->textCursor().selectedText(),
        section->text(0));
}

// The screenshots are wider than the page: each shows at a width that
// reads without scrolling sideways, at its own proportions.
TEST_F(HelpWindowTest, PicturesAreShownNoWiderThanThePage) {
    TFrmHelp* help = TFrmHelp::openFor(nullptr, &window);
    help->showPage(QStringLiteral("members.md"));
    QTextDocument* page = help->findChild<QTextBrowser*>(QStringLiteral("HelpPage"))->document();
    int pictures = 0;
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat picture = it.fragment().charFormat().toImageFormat();
            if (!picture.isValid())
                continue;
            ++pictures;
            const QImage image(QDir(guide::folder()).filePath(picture.name()));
            ASSERT_FALSE(image.isNull()) << picture.name().toStdString();
            ASSERT_GT(image.width(), 600); // the window's screenshot
            EXPECT_EQ(picture.width(), 600);
            EXPECT_NEAR(picture.height(), image.height() * 600.0 / image.width(), 1);
        }
    EXPECT_GE(pictures, 2);
}

// Links between pages and pictures all lead somewhere: a renamed page or a
// picture the capture script no longer makes shows here.
TEST(UserGuide, EveryLinkAndPictureOfTheGuideExists) {
    const QString folder = guide::folder();
    ASSERT_FALSE(folder.isEmpty());
    const QDir dir(folder);
    QStringList files = {QStringLiteral("index.md")};
    for (const guide::Page& page : guide::pages(folder))
        files << page.file;
    ASSERT_GE(files.size(), 9);
    static const QRegularExpression target(QStringLiteral("\\]\\(([^)#]+)(#[^)]*)?\\)"));
    for (const QString& file : files) {
        QFile page(dir.filePath(file));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << file.toStdString();
        const QString text = QString::fromUtf8(page.readAll());
        EXPECT_TRUE(text.startsWith(QLatin1String("# "))) << file.toStdString();
        for (auto m = target.globalMatch(text); m.hasNext();) {
            const QString linked = m.next().captured(1);
            if (linked.contains(QLatin1String("://")))
                continue;
            EXPECT_TRUE(QFileInfo::exists(dir.filePath(linked)))
                << file.toStdString() << " -> " << linked.toStdString();
        }
    }
}

TEST(UserGuide, MissingGuideIsSaidInChinese) {
    QTemporaryDir empty;
    qputenv("LUNMARK_GUIDE_DIR", empty.path().toLocal8Bit());
    {
        TFrmHelp help;
        EXPECT_TRUE(help.findChild<QTextBrowser*>(QStringLiteral("HelpPage"))
                        ->toPlainText()
                        .startsWith(QStringLiteral("找不到使用說明")));
        EXPECT_FALSE(help.findChild<QLineEdit*>(QStringLiteral("HelpSearch"))->isEnabled());
    }
    qunsetenv("LUNMARK_GUIDE_DIR");
}

} // namespace
