// The program's message boxes as a window manager shows them: the caption,
// or the program's title when the caption is blank, as the title, and a box
// wide enough for the title bar to show it whole; a box as narrow as its
// text (保存成功﹕共 1 筆) has its title cut down to "···".
#include "base/program_title.h"
#include "base/prompt.h"
#include "tests/support/modal.h"

#include <QFont>
#include <QFontMetrics>
#include <QMessageBox>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The room a title bar's icon and buttons take at the least.
constexpr int kTitleBarButtons = 100;

TEST(MessageBoxTitle, EveryBoxShowsItsTitleWhole) {
    const struct {
        const char* kind;
        std::function<void(const QString& caption)> show;
    } kinds[] = {
        {"message",
         [](const QString& caption) {
             Prompt::current().message(Prompt::Icon::Information, caption,
                                       QStringLiteral("保存成功﹕共 1 筆"));
         }},
        {"question",
         [](const QString& caption) {
             Prompt::current().question(caption, QStringLiteral("要取消嗎﹖"));
         }},
        {"save question",
         [](const QString& caption) {
             Prompt::current().askToSave(caption, QStringLiteral("資料尚未儲存﹐是否儲存﹖"));
         }},
    };
    const struct {
        QString caption;
        QString title;
    } captions[] = {
        {QStringLiteral("會員管理"), QStringLiteral("會員管理")},
        {QStringLiteral("用戶資料管理與權限設定"), QStringLiteral("用戶資料管理與權限設定")},
        {QString(), programTitle()},
        {QStringLiteral("  "), programTitle()},
    };
    for (const auto& kind : kinds) {
        for (const auto& c : captions) {
            SCOPED_TRACE(std::string(kind.kind) + " / " + c.caption.toStdString());
            bool shown = false;
            whenModalShows([&](QWidget* window) {
                auto* box = qobject_cast<QMessageBox*>(window);
                ASSERT_NE(box, nullptr);
                shown = true;
                EXPECT_EQ(box->windowTitle(), c.title);
                QFont titleFont = box->font();
                titleFont.setBold(true);
                const int title = QFontMetrics(titleFont).horizontalAdvance(c.title);
                EXPECT_GE(box->width(), title + kTitleBarButtons) << box->width();
            });
            kind.show(c.caption);
            EXPECT_TRUE(shown);
        }
    }
}

} // namespace
