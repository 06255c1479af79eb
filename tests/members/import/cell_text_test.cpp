#include "members/import/cell_text.h"
#include "members/import/number_format.h"

#include <gtest/gtest.h>

namespace {

using namespace members;

TEST(CellTextTest, NumbersShowAsTheSpreadsheetShowsThem) {
    const std::pair<double, const char*> cases[] = {
        {123, "123"},
        {-7, "-7"},
        {0, "0"},
        {912345678, "912345678"},
        {1234567890123, "1234567890123"},
        {1.5, "1.5"},
        {0.1 + 0.2, "0.3"},
        {-0.25, "-0.25"},
        {1e15, "1e+15"},
        {123456789.123, "123456789.123"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(numberText(value), QLatin1String(text)) << value;
}

TEST(CellTextTest, DateSerialsBecomeDatesAndTimes) {
    struct Case {
        double serial;
        bool date1904;
        const char* text;
    };
    const Case cases[] = {
        // 1 to 60 mean different days in different programs (60 being the
        // 1900 system's 29 February): refused rather than guessed.
        {1, false, ""},
        {59, false, ""},
        {60, false, ""},
        {61, false, "1900/03/01"},
        {28125, false, "1976/12/31"},
        {43832.5729166667, false, "2020/01/02 13:45:00"},
        {0.75, false, "18:00:00"},
        {0, true, "1904/01/01"},
        {26663, true, "1976/12/31"},
        // Negative serials are written by programs counting from 1899-12-30.
        {-1, false, "1899/12/29"},
        {-238, false, "1899/05/06"},
        {-693594, false, ""},
        {2958465, false, "9999/12/31"},
        {2958466, false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(serialDateText(c.serial, c.date1904), QString::fromUtf8(c.text)) << c.serial;
}

TEST(CellTextTest, DateTimeTextLeavesOutMidnight) {
    EXPECT_EQ(dateTimeText(QDate(2001, 2, 3)), QStringLiteral("2001/02/03"));
    EXPECT_EQ(dateTimeText(QDate(2001, 2, 3), QTime(4, 5, 6)),
              QStringLiteral("2001/02/03 04:05:06"));
}

TEST(NumberFormatTest, DateCodesAreToldFromNumberCodes) {
    const std::pair<const char*, bool> cases[] = {
        {"yyyy/mm/dd", true},
        {"yyyy\\-mm\\-dd", true},
        {"[$-404]e/m/d", true},
        {"m/d/yy h:mm", true},
        {"hh:mm:ss", true},
        {"[h]:mm", true},
        {"[Red]dd/mm", true},
        {"General", false},
        {"0", false},
        {"0.00", false},
        {"#,##0.00_);[Red](#,##0.00)", false},
        {"0.00E+00", false},
        {"\"day\" 0", false},
        {"@", false},
        {"[Blue]0", false},
    };
    for (const auto& [code, isDate] : cases)
        EXPECT_EQ(isDateFormatCode(QString::fromUtf8(code)), isDate) << code;
}

TEST(NumberFormatTest, BuiltInDateFormats) {
    for (int id : {14, 15, 17, 18, 21, 22, 27, 36, 45, 47, 50, 58})
        EXPECT_TRUE(isBuiltInDateFormat(id)) << id;
    for (int id : {0, 1, 2, 9, 10, 11, 13, 23, 37, 44, 48, 49, 59, 164})
        EXPECT_FALSE(isBuiltInDateFormat(id)) << id;
}

} // namespace
