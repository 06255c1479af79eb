#include "formats/cell_text.h"
#include "formats/number_format.h"

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

// Days as serials of the 1900 system.
double serialOf(QDate date) {
    return double(QDate(1899, 12, 30).daysTo(date));
}

TEST(NumberFormatTest, MinguoDatesShowAsTheSheetShowsThem) {
    const QDate lastOf1976(1976, 12, 31);
    const QDate fifthOf2011(2011, 1, 5);
    const struct {
        int id;
        const char* code; // null for a built-in format
        double serial;
        const char* shown;
    } cases[] = {
        {164, "[$-404]e/mm/dd", serialOf(lastOf1976), "65/12/31"},
        {164, "[$-404]e/mm/dd", serialOf(fifthOf2011), "100/01/05"},
        {164, "[$-zh-TW]e/m/d", serialOf(fifthOf2011), "100/1/5"},
        {164, "[$-zh-Hant-TW]e/m/d", serialOf(fifthOf2011), "100/1/5"},
        {164, "[$-0404]e/mm/dd", serialOf(lastOf1976), "65/12/31"},
        {164, "[$-40404]e/mm/dd", serialOf(lastOf1976), "65/12/31"}, // the Taiwan calendar
        {164, "[$-404]e\\年m\\月d\\日", serialOf(fifthOf2011), "100年1月5日"},
        {164, "[$-404]e\"年\"mm\"月\"dd\"日\"", serialOf(lastOf1976), "65年12月31日"},
        {164, "[$-404]gggE/MM/DD", serialOf(lastOf1976), "中華民國65/12/31"},
        {164, "[$-404]ee.mm.dd", serialOf(QDate(1915, 3, 4)), "04.03.04"},
        {164, "[$-404]e/m/d hh:mm", serialOf(lastOf1976) + 0.5625, "65/12/31 13:30"},
        {164, "[$-404]e/m/d;@", serialOf(lastOf1976), "65/12/31"},
        // Typed in Taiwan without a locale.
        {164, "e/mm/dd", serialOf(lastOf1976), "65/12/31"},
        {164, "[Red][$-404]e/mm/dd", serialOf(lastOf1976), "65/12/31"},
        // Before 1912 there is no Minguo year.
        {164, "[$-404]e/mm/dd", serialOf(QDate(1899, 5, 6)), "1899/05/06"},
        // Other locales, calendars and Gregorian codes in Taiwan's locale.
        {164, "[$-411]ge.m.d", serialOf(lastOf1976), "1976/12/31"},
        {164, "[$-409]e/m/d", serialOf(lastOf1976), "1976/12/31"},
        {164, "[$-1010404]e/m/d", serialOf(lastOf1976), "1976/12/31"},
        {164, "[$-404]yyyy/mm/dd", serialOf(lastOf1976), "1976/12/31"},
        {164, "[$-404]yyyy\"年\"m\"月\"d\"日\"", serialOf(lastOf1976), "1976/12/31"},
        // Built-in formats as Taiwan's spreadsheet programs show them.
        {27, nullptr, serialOf(fifthOf2011), "100/1/5"},
        {28, nullptr, serialOf(lastOf1976), "65年12月31日"},
        {29, nullptr, serialOf(lastOf1976), "65年12月31日"},
        {36, nullptr, serialOf(lastOf1976), "65/12/31"},
        {50, nullptr, serialOf(lastOf1976), "65/12/31"},
        {51, nullptr, serialOf(lastOf1976), "65年12月31日"},
        {54, nullptr, serialOf(lastOf1976), "65年12月31日"},
        {57, nullptr, serialOf(lastOf1976), "65/12/31"},
        {58, nullptr, serialOf(lastOf1976), "65年12月31日"},
        {30, nullptr, serialOf(lastOf1976), "1976/12/31"}, // m/d/yy
        {31, nullptr, serialOf(lastOf1976), "1976/12/31"}, // yyyy"年"m"月"d"日"
        {14, nullptr, serialOf(lastOf1976), "1976/12/31"},
    };
    for (const auto& c : cases) {
        const QString code = c.code == nullptr ? QString() : QString::fromUtf8(c.code);
        EXPECT_EQ(formattedNumberText(c.serial, numberFormatOf(c.id, code), false),
                  QString::fromUtf8(c.shown))
            << c.id << " " << (c.code == nullptr ? "" : c.code) << " " << c.serial;
    }
    // The 1904 system counts from another day: the same date as its serial there.
    EXPECT_EQ(formattedNumberText(serialOf(lastOf1976) - 1462,
                                  numberFormatOf(164, QStringLiteral("[$-404]e/mm/dd")), true),
              QStringLiteral("65/12/31"));
}

} // namespace
