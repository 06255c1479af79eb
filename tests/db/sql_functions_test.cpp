#include "tests/db/db_fixture.h"

using namespace dbtest;

namespace {

// year(), month() and day() of a date text; -1 stands for null.
struct DatePartsCase {
    const char* name;
    QVariant input;
    int year;
    int month;
    int day;
};

void PrintTo(const DatePartsCase& c, std::ostream* out) {
    *out << c.name;
}

class SqlFunctionsTest : public SharedDbTest<DatePartsCase> {
protected:
    static int partOf(const QString& function, const QVariant& input) {
        const QVariant value =
            scalar(QStringLiteral("select %1(x) from (select :d as x) as t").arg(function),
                   {{QStringLiteral("d"), input}});
        return value.isNull() ? -1 : value.toInt();
    }
};

TEST_P(SqlFunctionsTest, ReadsTheDateParts) {
    const DatePartsCase& c = GetParam();
    EXPECT_EQ(partOf(QStringLiteral("year"), c.input), c.year);
    EXPECT_EQ(partOf(QStringLiteral("month"), c.input), c.month);
    EXPECT_EQ(partOf(QStringLiteral("day"), c.input), c.day);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, SqlFunctionsTest,
    ::testing::Values(DatePartsCase{"DateAndTime", "1976-12-31 23:59:59", 1976, 12, 31},
                      DatePartsCase{"DateOnly", "2011-01-02", 2011, 1, 2},
                      DatePartsCase{"ShortMonthAndDay", "2011-1-2", 2011, 1, 2},
                      DatePartsCase{"IsoWithT", "2024-02-29T08:00:00", 2024, 2, 29},
                      DatePartsCase{"YearOnly", "1999", 1999, -1, -1},
                      DatePartsCase{"Null", QVariant(), -1, -1, -1},
                      DatePartsCase{"Empty", "", -1, -1, -1},
                      DatePartsCase{"Junk", "junk", -1, -1, -1},
                      DatePartsCase{"JunkAfterDashes", "ab-cd-ef", -1, -1, -1}),
    [](const auto& info) { return std::string(info.param.name); });

class DateColumnTest : public DbTest {};

TEST_F(DateColumnTest, FunctionsWorkOnStoredDatesInWhereClauses) {
    exec(QStringLiteral("insert into Cust (id, birthday) values ('1', '1976-12-31 00:00:00')"));
    exec(QStringLiteral("insert into Cust (id, birthday) values ('2', '1980-06-15 00:00:00')"));
    exec(QStringLiteral("insert into Cust (id) values ('3')"));
    EXPECT_EQ(column(QStringLiteral("select id from Cust where year(birthday) >= 1977")),
              QStringList{"2"});
    EXPECT_EQ(column(QStringLiteral("select id from Cust where month(birthday) like '12'")),
              QStringList{"1"});
}

// translate() reads alike on both engines: each character of the second
// text becomes the one at its place in the third, or is left out.
TEST_F(DateColumnTest, TranslateMapsOrLeavesOutEachCharacter) {
    const struct {
        QVariant text;
        const char* from;
        const char* to;
        QVariant expected;
    } cases[] = {
        {"(02) 2345-6789", " -.()", "", "0223456789"},
        {"0912.345.678", " -.()", "", "0912345678"},
        {"台北 (02) 2345", " -.()", "", "台北022345"}, // other characters kept whole
        {"a-b.c", "-.", "_", "a_bc"},                  // to shorter: the rest left out
        {"a-a", "aa", "xy", "x-x"},                    // the first mapping counts
        {"", " -", "", ""},
        {QVariant(), " -", "", QVariant()},
    };
    for (const auto& c : cases) {
        const QVariant value = scalar(QStringLiteral("select translate(:t, :f, :o)"),
                                      {{QStringLiteral("t"), c.text},
                                       {QStringLiteral("f"), QString::fromUtf8(c.from)},
                                       {QStringLiteral("o"), QString::fromUtf8(c.to)}});
        EXPECT_EQ(value.isNull(), c.expected.isNull()) << c.text.toString().toStdString();
        EXPECT_EQ(value.toString(), c.expected.toString()) << c.text.toString().toStdString();
    }
}

} // namespace
