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

} // namespace
