#include "base/errors.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "members/report/label_paper_dialog.h"
#include "members/report/member_reports.h"
#include "members/report/report_preview.h"
#include "tests/members/report/pdf_reader.h"
#include "tests/members/report/report_fixtures.h"
#include "tests/support/modal.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace members::report;

namespace {

struct Member {
    const char* id;
    const char* name;
    const char* kind;
};

// Members of two categories, stored in an order that no sort of the names
// gives (by character code: 周 < 李 < 王 < 趙 < 陳).
const Member kMembers[] = {
    {"M01", "王小明", "會員"}, {"M02", "趙一", "來賓"}, {"M03", "陳美玲", "會員"},
    {"M04", "李大同", "會員"}, {"M05", "周二", "來賓"},
};

const QStringList kStatement = {
    QStringLiteral("SELECT id, name, Name1, Tel, CDTel, Address, Kind"),
    QStringLiteral("FROM Cust"),
};

class MemberReportsTest : public testing::Test {
protected:
    void SetUp() override {
        for (const Member& m : kMembers) {
            db::run(QStringLiteral("insert into Cust (id, name, Name1, Tel, CDTel, Address, Kind) "
                                   "values (:id, :name, '先生', '02-1', '0912', :address, :kind)"),
                    {{"id", QString::fromUtf8(m.id)},
                     {"name", QString::fromUtf8(m.name)},
                     {"address", QStringLiteral("%1的地址").arg(QString::fromUtf8(m.id))},
                     {"kind", QString::fromUtf8(m.kind)}});
        }
        query.setBaseTable(QStringLiteral("Cust"));
        query.setStatement(kStatement);
    }
    void setSettings(const QString& title, const QString& address, const QString& tel,
                     const QVariant& fax) {
        db::run(QStringLiteral("delete from SystemSet"));
        db::run(QStringLiteral("insert into SystemSet (ReportTitle, Address, Tel, Fax) "
                               "values (:t, :a, :tel, :fax)"),
                {{"t", title}, {"a", address}, {"tel", tel}, {"fax", fax}});
    }
    QString pdfOf(const Report& report) {
        const QString path = dir.filePath(QStringLiteral("r%1.pdf").arg(++m_files));
        writePdf(report, path);
        return path;
    }
    static QStringList names() {
        QStringList all;
        for (const Member& m : kMembers)
            all << QString::fromUtf8(m.name);
        return all;
    }

    TempDatabase database;
    ScriptedPrompt prompt;
    RecordedReports shown;
    db::Dataset query;
    QTemporaryDir dir;

private:
    int m_files = 0;
};

TEST_F(MemberReportsTest, ListTakesItsTitleTextsFromTheSettingsRow) {
    setSettings(QStringLiteral("會員名冊"), QStringLiteral("高雄市苓雅區四維三路2號"),
                QStringLiteral("07-3368333"), QStringLiteral("07-3316525"));
    previewMemberList(query, nullptr);
    setSettings(QStringLiteral("名冊"), QString(), QStringLiteral("07-1"), QVariant());
    previewMemberList(query, nullptr);
    db::run(QStringLiteral("delete from SystemSet"));
    previewMemberList(query, nullptr);
    ASSERT_EQ(shown.reports.size(), 3u);

    const QString first = pdf::layoutTexts(pdfOf(shown.reports[0])).first();
    EXPECT_TRUE(first.contains(QStringLiteral("會員名冊")));
    EXPECT_TRUE(first.contains(QStringLiteral("高雄市苓雅區四維三路2號")));
    EXPECT_TRUE(first.contains(
        QRegularExpression(QStringLiteral("電話﹕07-3368333\\s+傳真﹕07-3316525\\s*$"),
                           QRegularExpression::MultilineOption)));

    const QString noFax = pdf::layoutTexts(pdfOf(shown.reports[1])).first();
    EXPECT_TRUE(noFax.contains(QStringLiteral("名冊")));
    EXPECT_TRUE(noFax.contains(QRegularExpression(QStringLiteral("電話﹕07-1\\s+傳真﹕\\s*$"),
                                                  QRegularExpression::MultilineOption)));

    const QString noRow = pdf::layoutTexts(pdfOf(shown.reports[2])).first();
    EXPECT_TRUE(noRow.contains(QRegularExpression(QStringLiteral("^\\s*電話﹕\\s+傳真﹕\\s*$"),
                                                  QRegularExpression::MultilineOption)));
}

TEST_F(MemberReportsTest, ListOpensAQueryNotYetOpenedWithItsStatement) {
    ASSERT_FALSE(query.isOpen());
    previewMemberList(query, nullptr);
    EXPECT_TRUE(query.isOpen());
    EXPECT_EQ(query.rowCount(), 5);
    ASSERT_EQ(shown.reports.size(), 1u);
    EXPECT_EQ(namesInReadingOrder(pdfOf(shown.reports[0]), names()),
              QStringList({"王小明", "趙一", "陳美玲", "李大同", "周二"}));
}

TEST_F(MemberReportsTest, ListAndLabelsShowTheSearchResultInItsSortedOrder) {
    query.open(QStringList(kStatement) << QStringLiteral("WHERE Kind = :Kind"),
               {{"Kind", QStringLiteral("會員")}});
    ASSERT_TRUE(query.sortBy(QStringLiteral("name"), Qt::DescendingOrder));
    const QStringList sorted = {"陳美玲", "王小明", "李大同"};

    previewMemberList(query, nullptr);
    choosePaperWhenAsked(QStringLiteral("A4 標籤紙(2*10張)"));
    previewLabels(query, nullptr);
    ASSERT_EQ(shown.reports.size(), 2u);

    EXPECT_EQ(namesInReadingOrder(pdfOf(shown.reports[0]), names()), sorted);

    EXPECT_EQ(namesInLabelOrder(pdfOf(shown.reports[1]), 4, names()), sorted);
}

TEST_F(MemberReportsTest, LabelsOnTheChosenPaperFromTheChosenLabel) {
    choosePaperWhenAsked(QStringLiteral("12cm*2.54cm"));
    previewLabels(query, nullptr);
    choosePaperWhenAsked(QStringLiteral("A4 標籤紙(3*20張)"), 59);
    previewLabels(query, nullptr);
    ASSERT_EQ(shown.reports.size(), 2u);
    EXPECT_EQ(shown.reports[0].pageCount, 5);
    EXPECT_EQ(shown.reports[0].pageSize.size(QPageSize::Millimeter), QSizeF(120, 25.4));
    // Labels 59 and 60 of the first sheet, then three on the second.
    EXPECT_EQ(shown.reports[1].pageCount, 2);
    const QStringList sheets = pdf::pageTexts(pdfOf(shown.reports[1]));
    ASSERT_EQ(sheets.size(), 2);
    EXPECT_EQ(sheets[0].count(QStringLiteral("啟")), 2);
    EXPECT_EQ(sheets[1].count(QStringLiteral("啟")), 3);
}

TEST_F(MemberReportsTest, AQueryWithoutAPrintedFieldIsADatabaseError) {
    query.open(QStringLiteral("SELECT id, name, Name1, Tel, Address FROM Cust"));
    EXPECT_THROW(previewMemberList(query, nullptr), DatabaseError);
    EXPECT_TRUE(shown.reports.empty());
}

TEST_F(MemberReportsTest, ClosingThePaperDialogWithoutPrintShowsNothing) {
    const std::function<void(QWidget*)> ways[] = {
        [](QWidget* dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("BitBtn2")),
                              Qt::LeftButton);
        },
        [](QWidget*) {}, // closed another way
    };
    for (const auto& close : ways) {
        whenModalShows(close);
        previewLabels(query, nullptr);
    }
    EXPECT_TRUE(shown.reports.empty());
    EXPECT_FALSE(query.isOpen());
}

} // namespace
