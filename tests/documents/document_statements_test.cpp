#include "base/errors.h"
#include "documents/document_statements.h"

#include <gtest/gtest.h>

namespace {

using namespace documents;

TEST(DocumentStatementsTest, PatternFramesTheTrimmedTextWithPerCentSigns) {
    const std::pair<QString, QString> cases[] = {
        {QString(), QStringLiteral("%%")},
        {QStringLiteral("  報告 \t"), QStringLiteral("%報告%")},
        {QStringLiteral("a b"), QStringLiteral("%a b%")},
        {QStringLiteral("50%"), QStringLiteral("%50%%")},
        {QStringLiteral("O'Brien"), QStringLiteral("%O'Brien%")},
        // The statements' escape character stands for itself; _ stays a wildcard.
        {QStringLiteral("C:\\備份"), QStringLiteral("%C:\\\\備份%")},
        {QStringLiteral("a_b"), QStringLiteral("%a_b%")},
        // An ideographic space is typed text, not a blank to trim.
        {QStringLiteral("\u3000甲"), QStringLiteral("%\u3000甲%")},
    };
    for (const auto& [typed, pattern] : cases)
        EXPECT_EQ(containsPattern(typed), pattern) << typed.toStdString();
}

TEST(DocumentStatementsTest, DetailedSearchBoundsCoverTheWholeDays) {
    DetailedSearch search;
    search.name = QStringLiteral("名");
    search.kind = QStringLiteral("類");
    search.contentNo = QStringLiteral("號");
    search.contentName = QStringLiteral("活動");
    search.memo = QStringLiteral("摘");
    search.from = QDate(2024, 2, 1);
    search.to = QDate(2024, 2, 29);
    const QVariantMap expected{{QStringLiteral("Name"), QStringLiteral("%名%")},
                               {QStringLiteral("Kind"), QStringLiteral("%類%")},
                               {QStringLiteral("ContentNo"), QStringLiteral("%號%")},
                               {QStringLiteral("ContentName"), QStringLiteral("%活動%")},
                               {QStringLiteral("BgnDate"), QStringLiteral("2024-02-01 00:00:00")},
                               {QStringLiteral("EndDate"), QStringLiteral("2024-02-29 23:59:59")},
                               {QStringLiteral("Memo"), QStringLiteral("%摘%")}};
    EXPECT_EQ(detailedSearchParams(search), expected);
}

TEST(DocumentStatementsTest, AnEmptiedDateCannotBeConverted) {
    DetailedSearch noFrom;
    noFrom.to = QDate(2024, 1, 1);
    DetailedSearch noTo;
    noTo.from = QDate(2024, 1, 1);
    for (const DetailedSearch& search : {noFrom, noTo})
        EXPECT_THROW(detailedSearchParams(search), ConversionError);
}

} // namespace
