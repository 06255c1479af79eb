#include "db/display_text.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

struct DisplayCase {
    QVariant value;
    const char* shown;
};

TEST(DisplayTextTest, DatesShowAsDatesAndOtherValuesAsTheirText) {
    const DisplayCase cases[] = {
        {QStringLiteral("2024-03-15 00:00:00"), "2024/03/15"},
        {QStringLiteral("2024-03-15"), "2024/03/15"},
        {QStringLiteral("2024-03-15T00:00:00"), "2024/03/15"},
        {QStringLiteral("2024-03-15 14:07:09"), "2024/03/15 14:07:09"},
        {QVariant(QDate(1976, 12, 31)), "1976/12/31"},
        {QVariant(QDateTime(QDate(2024, 1, 2), QTime(8, 30))), "2024/01/02 08:30:00"},
        {QStringLiteral("2024-02-30 00:00:00"), "2024-02-30 00:00:00"}, // not a date: as stored
        {QStringLiteral("65/12/31"), "65/12/31"},
        {QStringLiteral("0912-345-678"), "0912-345-678"},
        {QVariant(42), "42"},
        {QVariant(), ""},
    };
    for (const DisplayCase& c : cases)
        EXPECT_EQ(db::displayText(c.value), QString::fromUtf8(c.shown)) << c.shown;
}

} // namespace
