#include "db/connection.h"
#include "db/dataset.h"
#include "db/dataset_model.h"
#include "members/member_window.h"
#include "members/report/report.h"
#include "tests/members/report/pdf_reader.h"
#include "tests/members/report/report_fixtures.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace members::report;

namespace {

// The member window's 預覽 and 標籤列印 print what its search listed.
class MemberWindowReportsTest : public testing::Test {
protected:
    MemberWindowReportsTest() : m_previousFolder(QDir::currentPath()) {
        // The window keeps its grid layout file in the working directory.
        QDir::setCurrent(folder.path());
        const std::pair<const char*, const char*> members[] = {
            {"王小明", "會員"}, {"趙一", "來賓"}, {"陳美玲", "會員"}, {"李大同", "會員"}};
        int number = 0;
        for (const auto& [name, kind] : members) {
            db::run(QStringLiteral("insert into Cust (id, name, Name1, Kind, Address, isEnabled) "
                                   "values (:id, :name, '先生', :kind, '台中市', 1)"),
                    {{"id", QStringLiteral("A%1").arg(++number)},
                     {"name", QString::fromUtf8(name)},
                     {"kind", QString::fromUtf8(kind)}});
        }
        db::run(QStringLiteral("insert into SystemSet (ReportTitle, Address, Tel, Fax) "
                               "values ('會員名冊', '台中市西區', '04-1', NULL)"));
        window = std::make_unique<TFrmCust>();
        window->show();
    }
    ~MemberWindowReportsTest() override {
        window.reset();
        QDir::setCurrent(m_previousFolder);
    }
    void press(const char* name) {
        QTest::mouseClick(window->findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
    }
    void searchCategory(const QString& category) {
        auto* criteria = window->findChild<QComboBox*>(QStringLiteral("ComboBox1"));
        criteria->setCurrentIndex(6); // the category criterion
        emit criteria->activated(6);
        window->findChild<QComboBox*>(QStringLiteral("ComboBox2"))->setEditText(category);
        press("BitBtn1");
    }
    void clickTitle(const QString& field) {
        auto* grid = window->findChild<QTableView*>(QStringLiteral("DBGridEh1"));
        auto* model = qobject_cast<db::DatasetModel*>(grid->model());
        QHeaderView* titles = grid->horizontalHeader();
        const int section = model->columnOf(field);
        const QPoint point(titles->sectionViewportPosition(section) +
                               titles->sectionSize(section) / 2,
                           titles->height() / 2);
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    }
    QString pdfOf(const Report& report) {
        const QString path = folder.filePath(QStringLiteral("r%1.pdf").arg(++m_files));
        writePdf(report, path);
        return path;
    }

    TempDatabase database;
    ScriptedPrompt prompt;
    QTemporaryDir folder;
    RecordedReports shown;
    std::unique_ptr<TFrmCust> window;

private:
    QString m_previousFolder;
    int m_files = 0;
};

const QStringList kNames = {"王小明", "趙一", "陳美玲", "李大同"};

TEST_F(MemberWindowReportsTest, SearchedCategorySortedByNameDescendingPrintsInThatOrder) {
    searchCategory(QStringLiteral("會員"));
    clickTitle(QStringLiteral("name")); // the first click sorts descending
    press("SbPreview");
    choosePaperWhenAsked(QStringLiteral("A4 標籤紙(3*10張)"));
    press("BitBtn2");
    ASSERT_EQ(shown.reports.size(), 2u);

    const QStringList sorted = {"陳美玲", "王小明", "李大同"};
    const QString list = pdfOf(shown.reports[0]);
    EXPECT_EQ(namesInReadingOrder(list, kNames), sorted);
    const QString first = pdf::layoutTexts(list).first();
    EXPECT_TRUE(first.contains(QStringLiteral("會員名冊")));
    EXPECT_TRUE(first.contains(QStringLiteral("台中市西區")));
    EXPECT_EQ(namesInLabelOrder(pdfOf(shown.reports[1]), 1, kNames), sorted);
}

TEST_F(MemberWindowReportsTest, BeforeAnySearchEveryMemberIsPrintedAndListed) {
    press("SbPreview");
    ASSERT_EQ(shown.reports.size(), 1u);
    EXPECT_EQ(namesInReadingOrder(pdfOf(shown.reports[0]), kNames), kNames);
    EXPECT_EQ(window->memberQuery()->rowCount(), 4);
}

} // namespace
