#include "base/errors.h"
#include "members/report/label_report.h"
#include "members/report/member_list_report.h"
#include "tests/members/report/pdf_reader.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace members::report;

namespace {

// Positions read back from the PDF carry the glyphs' side bearings and the
// rounding of the page size to whole points.
constexpr qreal kNear = 0.8;

const QDateTime kPrintedAt(QDate(2024, 3, 5), QTime(14, 7, 9));

MemberRow member(int number) {
    return {QStringLiteral("M%1").arg(number, 3, 10, QLatin1Char('0')),
            QStringLiteral("會員%1").arg(number),
            QStringLiteral("先生"),
            QStringLiteral("02-2700%1").arg(number, 4, 10, QLatin1Char('0')),
            QStringLiteral("0912%1").arg(number, 6, 10, QLatin1Char('0')),
            QStringLiteral("台北市大安區復興南路%1號").arg(number)};
}

std::vector<MemberRow> members(int count) {
    std::vector<MemberRow> rows;
    for (int i = 1; i <= count; ++i)
        rows.push_back(member(i));
    return rows;
}

const ListTitles kTitles{QStringLiteral("會員名冊"), QStringLiteral("台北市信義路五段七號"),
                         QStringLiteral("電話﹕02-2345-6789  傳真﹕")};

class ReportPdfTest : public testing::Test {
protected:
    QString write(const Report& report) {
        const QString path = dir.filePath(QStringLiteral("report%1.pdf").arg(++m_files));
        writePdf(report, path);
        return path;
    }
    QString list(int count, const ListTitles& titles = kTitles) {
        return write(memberListReport(titles, members(count), kPrintedAt));
    }
    QString labels(int choice, int count, int firstLabel = 1) {
        return write(labelReport(choice, members(count), firstLabel));
    }
    // The words on a page whose text is exactly text.
    static std::vector<pdf::Word> find(const std::vector<pdf::Word>& words, int page,
                                       const QString& text) {
        std::vector<pdf::Word> found;
        for (const pdf::Word& word : words) {
            if (word.page == page && word.text == text)
                found.push_back(word);
        }
        return found;
    }
    static int countStartingWith(const QString& pageText, const QString& prefix) {
        return int(pageText.count(QRegularExpression(QStringLiteral("(^|\\s)") + prefix)));
    }

    QTemporaryDir dir;

private:
    int m_files = 0;
};

TEST_F(ReportPdfTest, ListPageCountsAndPageNumbers) {
    const std::pair<int, int> cases[] = {{0, 1}, {1, 1}, {33, 1}, {34, 2}, {69, 2}, {70, 3}};
    for (const auto& [rows, pages] : cases) {
        const QString path = list(rows);
        ASSERT_EQ(pdf::pageCount(path), pages) << rows;
        const QStringList texts = pdf::pageTexts(path);
        ASSERT_EQ(texts.size(), pages) << rows;
        for (int page = 0; page < pages; ++page) {
            EXPECT_TRUE(
                texts[page].contains(QStringLiteral("第%1頁/共 %2頁").arg(page + 1).arg(pages)))
                << rows << " " << page;
        }
    }
}

TEST_F(ReportPdfTest, ListIsA4Portrait) {
    const QSizeF size = pdf::pageSizeMm(list(1));
    EXPECT_NEAR(size.width(), 210, kNear);
    EXPECT_NEAR(size.height(), 297, kNear);
}

TEST_F(ReportPdfTest, TitleBandOnTheFirstPageOnly) {
    const QStringList texts = pdf::layoutTexts(list(40));
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts[0].contains(QStringLiteral("會員名冊")));
    EXPECT_TRUE(texts[0].contains(QStringLiteral("台北市信義路五段七號")));
    const QRegularExpression telFax(QStringLiteral("^\\s*電話﹕02-2345-6789\\s+傳真﹕\\s*$"),
                                    QRegularExpression::MultilineOption);
    EXPECT_TRUE(texts[0].contains(telFax)) << texts[0].toStdString();
    EXPECT_FALSE(texts[1].contains(QStringLiteral("會員名冊")));
    EXPECT_FALSE(texts[1].contains(QStringLiteral("電話﹕")));
}

TEST_F(ReportPdfTest, HeadingsAndFooterOnEveryPage) {
    const QRegularExpression headings(QStringLiteral("編號\\s+姓名\\s+電話\\s+行動電話\\s+地址"));
    const QRegularExpression footer(QStringLiteral("列印日期 時間﹕\\s*2024/03/05 14:07:09"));
    for (const QString& page : pdf::layoutTexts(list(75))) {
        EXPECT_TRUE(page.contains(headings)) << page.toStdString();
        EXPECT_TRUE(page.contains(footer)) << page.toStdString();
    }
}

TEST_F(ReportPdfTest, MembersInOrderAcrossPages) {
    const QStringList texts = pdf::pageTexts(list(70));
    ASSERT_EQ(texts.size(), 3);
    const QRegularExpression number(QStringLiteral("\\bM(\\d{3})\\b"));
    QList<int> printed;
    QList<int> perPage;
    for (const QString& page : texts) {
        int onPage = 0;
        for (const QRegularExpressionMatch& match : number.globalMatch(page)) {
            printed << match.captured(1).toInt();
            ++onPage;
        }
        perPage << onPage;
    }
    QList<int> expected;
    for (int i = 1; i <= 70; ++i)
        expected << i;
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(perPage, QList<int>({33, 36, 1}));
}

// Each field stands at its column, in its row's band, from the paper's
// margin of 10.
TEST_F(ReportPdfTest, RowFieldsAtTheirColumns) {
    const std::vector<pdf::Word> words = pdf::words(list(40));
    const MemberRow second = member(2);
    const MemberRow thirtyFifth = member(35); // second row of page 2
    const std::tuple<int, QString, qreal, qreal> cases[] = {
        {0, second.id, 12.6, 49.3},
        {0, second.name, 43.3, 49.3},
        {0, second.tel, 67.7, 49.3},
        {0, second.mobile, 98.9, 49.3},
        {0, second.address, 124.3, 49.3},
        {1, thirtyFifth.id, 12.6, 23.9},
        {1, thirtyFifth.address, 124.3, 23.9},
    };
    for (const auto& [page, text, left, rowTop] : cases) {
        const std::vector<pdf::Word> found = find(words, page, text);
        ASSERT_EQ(found.size(), 1u) << text.toStdString();
        EXPECT_NEAR(found[0].box.left(), left, kNear) << text.toStdString();
        EXPECT_GT(found[0].box.top(), rowTop) << text.toStdString();
        EXPECT_LT(found[0].box.bottom(), rowTop + 7.1) << text.toStdString();
    }
}

TEST_F(ReportPdfTest, EmptyListHasTitleHeadingsAndFooterOnly) {
    const QString path = list(0);
    ASSERT_EQ(pdf::pageCount(path), 1);
    const std::vector<pdf::Word> words = pdf::words(path);
    for (const char16_t* text : {u"會員名冊", u"編號", u"姓名", u"行動電話", u"地址", u"第1頁/共"})
        EXPECT_EQ(find(words, 0, QString::fromUtf16(text)).size(), 1u);
    // Nothing between the headings (ending 42.2 from the top) and the footer.
    for (const pdf::Word& word : words) {
        const bool inBody = word.box.top() > 42.2 && word.box.bottom() < 279.1;
        EXPECT_FALSE(inBody) << word.text.toStdString();
    }
}

TEST_F(ReportPdfTest, LabelPaperSizes) {
    const std::pair<int, QSizeF> cases[] = {{1, QSizeF(210, 297)},
                                            {2, QSizeF(210, 297)},
                                            {3, QSizeF(120, 25.4)},
                                            {4, QSizeF(210, 297)},
                                            {5, QSizeF(210, 297)}};
    for (const auto& [choice, size] : cases) {
        const QSizeF read = pdf::pageSizeMm(labels(choice, 1));
        EXPECT_NEAR(read.width(), size.width(), kNear) << choice;
        EXPECT_NEAR(read.height(), size.height(), kNear) << choice;
    }
}

// One sheet more than a full one: a full first sheet and one label on the
// second.
TEST_F(ReportPdfTest, LabelsPerSheet) {
    const std::pair<int, int> cases[] = {{1, 30}, {2, 60}, {3, 1}, {4, 20}, {5, 40}};
    for (const auto& [choice, perSheet] : cases) {
        const QString path = labels(choice, perSheet + 1);
        ASSERT_EQ(pdf::pageCount(path), 2) << choice;
        const QStringList texts = pdf::pageTexts(path);
        ASSERT_EQ(texts.size(), 2) << choice;
        EXPECT_EQ(countStartingWith(texts[0], QStringLiteral("會員")), perSheet) << choice;
        EXPECT_EQ(countStartingWith(texts[1], QStringLiteral("會員")), 1) << choice;
    }
}

// The name line of member n stands where the paper's name box of its place
// begins: across the columns first, labels before the first one left blank.
TEST_F(ReportPdfTest, LabelsFillRowsAcrossColumnsFromTheFirstLabel) {
    struct Case {
        int choice;
        int firstLabel;
        int member;
        int sheet;
        QPointF nameAt;
    };
    const Case cases[] = {
        {4, 1, 1, 0, {5.1, 13.8}},     {4, 1, 2, 0, {110.1, 13.8}}, {4, 1, 3, 0, {5.1, 43.5}},
        {1, 1, 3, 0, {147.1, 13.8}},   {1, 1, 4, 0, {5.1, 43.5}},   {2, 1, 4, 0, {3.8, 22.0}},
        {5, 1, 3, 0, {5.1, 23.0}},     {3, 1, 2, 1, {5.8, 12.5}},   {4, 5, 1, 0, {5.1, 73.2}},
        {4, 5, 16, 0, {110.1, 281.1}}, {4, 5, 17, 1, {5.1, 13.8}},
    };
    for (const Case& c : cases) {
        const std::vector<pdf::Word> words = pdf::words(labels(c.choice, 17, c.firstLabel));
        const std::vector<pdf::Word> found = find(words, c.sheet, member(c.member).name);
        ASSERT_EQ(found.size(), 1u) << c.choice << " " << c.member;
        EXPECT_NEAR(found[0].box.left(), c.nameAt.x(), kNear) << c.choice << " " << c.member;
        EXPECT_GT(found[0].box.top(), c.nameAt.y()) << c.choice << " " << c.member;
        EXPECT_LT(found[0].box.top(), c.nameAt.y() + 2) << c.choice << " " << c.member;
    }
}

TEST_F(ReportPdfTest, LabelShowsAddressAboveNameSalutationAndQi) {
    const std::vector<pdf::Word> words = pdf::words(labels(4, 1));
    const MemberRow first = member(1);
    const auto address = find(words, 0, first.address);
    const auto name = find(words, 0, first.name);
    const auto salutation = find(words, 0, first.salutation);
    const auto qi = find(words, 0, QStringLiteral("啟"));
    ASSERT_EQ(address.size(), 1u);
    ASSERT_EQ(name.size(), 1u);
    ASSERT_EQ(salutation.size(), 1u);
    ASSERT_EQ(qi.size(), 1u);
    EXPECT_LT(address[0].box.bottom(), name[0].box.top());
    EXPECT_LT(name[0].box.right(), salutation[0].box.left());
    EXPECT_LT(salutation[0].box.right(), qi[0].box.left());
    EXPECT_NEAR(name[0].box.top(), salutation[0].box.top(), 0.1);
}

TEST(LabelText, NameLine) {
    const std::pair<MemberRow, QString> cases[] = {
        {{"", "王小明", "先生", "", "", ""}, "王小明    先生    啟"},
        {{"", "王小明", "", "", "", ""}, "王小明        啟"},
        {{"", "", "", "", "", ""}, "        啟"},
    };
    for (const auto& [row, line] : cases)
        EXPECT_EQ(labelNameLine(row), line);
}

// Text in the outer column wraps at the right margin rather than running off
// the paper.
TEST_F(ReportPdfTest, OuterColumnTextStaysOnThePaper) {
    std::vector<MemberRow> rows = members(3);
    rows[2].address = QStringLiteral("台北市中正區重慶南路一段一百二十二號十二樓之三後棟");
    const std::vector<pdf::Word> words = pdf::words(write(labelReport(1, rows)));
    int outer = 0;
    for (const pdf::Word& word : words) {
        if (word.box.left() < 145)
            continue;
        ++outer;
        EXPECT_LT(word.box.right(), 209 + 0.2) << word.text.toStdString();
    }
    EXPECT_GE(outer, 3); // the wrapped address, the name line
}

TEST_F(ReportPdfTest, NoMembersGiveOneBlankSheet) {
    for (int choice = 1; choice <= 5; ++choice) {
        const QString path = labels(choice, 0);
        EXPECT_EQ(pdf::pageCount(path), 1) << choice;
        EXPECT_TRUE(pdf::words(path).empty()) << choice;
    }
}

TEST_F(ReportPdfTest, UnwritableFileIsAFileError) {
    const QString path = dir.filePath(QStringLiteral("missing/folder/list.pdf"));
    EXPECT_THROW(writePdf(memberListReport(kTitles, members(1), kPrintedAt), path), FileError);
}

} // namespace
