#include "members/report/label_report.h"
#include "members/report/member_list_report.h"
#include "members/report/report_font.h"
#include "members/report/report_preview.h"
#include "tests/members/report/pdf_reader.h"
#include "tests/support/modal.h"
#include "tests/support/scripted_prompt.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRawFont>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolBar>
#include <gtest/gtest.h>

using namespace members::report;

namespace {

std::vector<MemberRow> members(int count) {
    std::vector<MemberRow> rows;
    for (int i = 1; i <= count; ++i) {
        rows.push_back({QStringLiteral("M%1").arg(i), QStringLiteral("會員%1").arg(i),
                        QStringLiteral("小姐"), QString(), QString(),
                        QStringLiteral("新北市板橋區%1號").arg(i)});
    }
    return rows;
}

// Answers the export's file question with a fixed name.
class ChosenPdfFile {
public:
    explicit ChosenPdfFile(const QString& path) {
        m_previous = setPdfFileChooser([this, path](QWidget*, const QString& suggested) {
            suggestions << suggested;
            return path;
        });
    }
    ~ChosenPdfFile() { setPdfFileChooser(m_previous); }
    ChosenPdfFile(const ChosenPdfFile&) = delete;
    ChosenPdfFile& operator=(const ChosenPdfFile&) = delete;

    QStringList suggestions;

private:
    PdfFileChooser m_previous;
};

struct PreviewSeen {
    QString title;
    int pages = -1;
    QSizeF paperMm;
    bool fullPage = false;
    bool exportOnToolBar = false;
    QSize size;
    QSize screen;
};

// Shows the report in the preview, looks at it, and presses "匯出 PDF".
PreviewSeen preview(const Report& report) {
    PreviewSeen seen;
    whenModalShows([&seen](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(modal);
        if (dialog == nullptr)
            return;
        seen.title = dialog->windowTitle();
        seen.size = dialog->size();
        seen.screen = dialog->screen()->availableGeometry().size();
        if (auto* widget = dialog->findChild<QPrintPreviewWidget*>())
            seen.pages = widget->pageCount();
        seen.paperMm = dialog->printer()->pageLayout().fullRect(QPageLayout::Millimeter).size();
        seen.fullPage = dialog->printer()->fullPage();
        auto* exportPdf = dialog->findChild<QAction*>(QStringLiteral("exportPdf"));
        if (exportPdf == nullptr)
            return;
        EXPECT_EQ(exportPdf->text(), QStringLiteral("匯出 PDF"));
        for (QObject* holder : exportPdf->associatedObjects())
            seen.exportOnToolBar = seen.exportOnToolBar || qobject_cast<QToolBar*>(holder);
        exportPdf->trigger();
    });
    previewReport(report, nullptr);
    return seen;
}

TEST(ReportPreview, ShowsThePagesOnTheReportsPaperAndExportsThem) {
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    struct Case {
        Report report;
        int pages;
        QSizeF paper;
    };
    const Case cases[] = {
        {memberListReport({"名冊", "", ""}, members(40), QDateTime::currentDateTime()), 2,
         QSizeF(210, 297)},
        {labelReport(3, members(3)), 3, QSizeF(120, 25.4)},
        {labelReport(5, members(41), 1), 2, QSizeF(210, 297)},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString path = dir.filePath(QStringLiteral("export%1.pdf").arg(++n));
        ChosenPdfFile chosen(path);
        // The export says where it wrote.
        prompt.expect(QStringLiteral("已匯出 PDF 檔案﹕%1").arg(QDir::toNativeSeparators(path)));
        const PreviewSeen seen = preview(c.report);
        EXPECT_EQ(seen.title, c.report.title) << n;
        EXPECT_EQ(seen.pages, c.pages) << n;
        EXPECT_NEAR(seen.paperMm.width(), c.paper.width(), 0.1) << n;
        EXPECT_NEAR(seen.paperMm.height(), c.paper.height(), 0.1) << n;
        EXPECT_TRUE(seen.fullPage) << n;
        EXPECT_TRUE(seen.exportOnToolBar) << n;
        EXPECT_GE(seen.size.width(), seen.screen.width() * 8 / 10) << n;
        EXPECT_GE(seen.size.height(), seen.screen.height() * 8 / 10) << n;
        ASSERT_EQ(chosen.suggestions.size(), 1) << n;
        // Offered in the working directory, not the home folder.
        EXPECT_EQ(chosen.suggestions[0],
                  QDir::current().filePath(c.report.title + QStringLiteral(".pdf")));
        EXPECT_EQ(prompt.pending(), 0) << n;
        ASSERT_TRUE(QFileInfo::exists(path)) << n;
        EXPECT_EQ(pdf::pageCount(path), c.pages) << n;
    }
}

TEST(ReportPreview, ExportCancelledWritesNothing) {
    QTemporaryDir dir;
    ScriptedPrompt prompt; // and says nothing
    ChosenPdfFile chosen{QString()};
    preview(labelReport(1, members(2)));
    EXPECT_EQ(chosen.suggestions.size(), 1);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

// Every character the reports print has a glyph in one of the installed
// faces the report font asks for.
TEST(ReportFont, EveryCharacterOfTheReportsHasAFace) {
    const QStringList families = reportFamilies();
    ASSERT_FALSE(families.isEmpty());
    EXPECT_EQ(families.first(), QStringLiteral("Arial"));
    EXPECT_TRUE(families.contains(QStringLiteral("AR PL UMing TW")));
    std::vector<QRawFont> installed;
    for (const QString& family : families) {
        if (QFontDatabase::hasFamily(family))
            installed.push_back(QRawFont::fromFont(QFont(family)));
    }
    const QString texts = QStringLiteral("編號姓名電話行動電話地址第頁/共列印日期 時間﹕傳真﹕啟"
                                         "0123456789-ABCZabcz台北市中山區南京東路一段一號"
                                         "龜鬱豔齣");
    for (const QChar c : texts) {
        bool found = false;
        for (const QRawFont& font : installed)
            found = found || font.supportsCharacter(c);
        EXPECT_TRUE(found) << QString(c).toStdString();
    }
}

TEST(ReportFont, SizeFromPixelsAt96Dpi) {
    const std::tuple<qreal, bool, qreal> cases[] = {{27, true, 20.25},
                                                    {13, false, 9.75},
                                                    {15, false, 11.25},
                                                    {21, false, 15.75},
                                                    {16, true, 12}};
    for (const auto& [pixels, bold, points] : cases) {
        const QFont font = reportFont(pixels, bold);
        EXPECT_DOUBLE_EQ(font.pointSizeF(), points);
        EXPECT_EQ(font.bold(), bold);
        EXPECT_EQ(font.families(), reportFamilies());
    }
}

} // namespace
