#include "members/report/member_list_layout.h"

#include <gtest/gtest.h>

using namespace members::report::member_list;

namespace {

// 277 printable less the footer (7.9), the headings (6.8) and on the first
// page the title band (25.4), in rows of 7.1.
TEST(MemberListLayout, RowsPerPage) {
    EXPECT_EQ(rowsPerPage(true), 33);
    EXPECT_EQ(rowsPerPage(false), 36);
}

TEST(MemberListLayout, PageBreaks) {
    const std::pair<int, std::vector<PageRows>> cases[] = {
        {0, {{0, 0}}},
        {1, {{0, 1}}},
        {33, {{0, 33}}},
        {34, {{0, 33}, {33, 1}}},
        {69, {{0, 33}, {33, 36}}},
        {70, {{0, 33}, {33, 36}, {69, 1}}},
    };
    for (const auto& [rows, pages] : cases)
        EXPECT_EQ(paginate(rows), pages) << rows;
}

TEST(MemberListLayout, EveryRowEndsAboveTheFooter) {
    const std::vector<PageRows> pages = paginate(500);
    int printed = 0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].first, printed);
        const qreal bottom = firstRowTop(i == 0) + pages[i].count * kRowHeight;
        EXPECT_LE(bottom, footerTop() + 1e-9) << i;
        printed += pages[i].count;
    }
    EXPECT_EQ(printed, 500);
}

TEST(MemberListLayout, BandsFromTheTopOfAPage) {
    EXPECT_DOUBLE_EQ(headerTop(true), 25.4);
    EXPECT_DOUBLE_EQ(firstRowTop(true), 32.2);
    EXPECT_DOUBLE_EQ(headerTop(false), 0);
    EXPECT_DOUBLE_EQ(firstRowTop(false), 6.8);
    EXPECT_DOUBLE_EQ(footerTop(), 269.1);
}

TEST(MemberListLayout, ColumnsStayWithinThePrintableWidth) {
    for (const Column& column : kColumns)
        EXPECT_LE(column.left + column.width, kWidth) << column.left;
}

TEST(MemberListLayout, TelephoneAndFaxLine) {
    const std::tuple<QString, QString, QString> cases[] = {
        {"02-2345-6789", "02-2345-6780", "電話﹕02-2345-6789  傳真﹕02-2345-6780"},
        {"02-2345-6789", "", "電話﹕02-2345-6789  傳真﹕"},
        {"", "", "電話﹕  傳真﹕"},
        {" 07-1 ", "07-2 ", "電話﹕ 07-1   傳真﹕07-2 "},
    };
    for (const auto& [tel, fax, line] : cases)
        EXPECT_EQ(telFaxLine(tel, fax), line);
}

TEST(MemberListLayout, FooterTexts) {
    EXPECT_EQ(pageText(1, 3), QStringLiteral("第1頁/共 3頁"));
    EXPECT_EQ(pageText(12, 12), QStringLiteral("第12頁/共 12頁"));
    EXPECT_EQ(printedAtText(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))),
              QStringLiteral("2024/03/05 14:07:09"));
}

} // namespace
