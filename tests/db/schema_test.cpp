#include "tests/db/db_fixture.h"

#include "base/errors.h"
#include "db/connection.h"

#include <QSqlQuery>
#include <vector>

using namespace dbtest;

namespace {

// How a column is stored. Text(n) refuses more than n characters.
enum class Kind { Text, LongText, Date, YesNo, Counter, Number };

struct ColumnCase {
    const char* table;
    const char* column;
    Kind kind;
    int limit = 0; // Text only
};

void PrintTo(const ColumnCase& c, std::ostream* out) {
    *out << c.table << '.' << c.column;
}

const std::vector<ColumnCase>& columns() {
    using K = Kind;
    static const std::vector<ColumnCase> cases = {
        {"SystemSet", "ID", K::Counter},
        {"SystemSet", "Name", K::Text, 30},
        {"SystemSet", "Address", K::Text, 50},
        {"SystemSet", "Tel", K::Text, 15},
        {"SystemSet", "Memo1", K::Text, 20},
        {"SystemSet", "Memo2", K::Text, 20},
        {"SystemSet", "Memo3", K::Text, 8},
        {"SystemSet", "Memo4", K::Text, 50},
        {"SystemSet", "Memo5", K::Text, 50},
        {"SystemSet", "Cust", K::Text, 10},
        {"SystemSet", "ReportTitle", K::Text, 30},
        {"SystemSet", "CW", K::Text, 6},
        {"SystemSet", "EnterDate", K::Text, 8},
        {"SystemSet", "Fax", K::Text, 15},
        {"SystemSet", "VexoPath", K::Text, 50},
        {"SystemSet", "SystemID", K::Text, 50},
        {"SystemSet", "SuppID", K::Text, 50},
        {"SystemSet", "CustID", K::Text, 50},
        {"SystemSet", "CustName", K::Text, 50},
        {"SystemSet", "CustPwd", K::Text, 50},
        {"SystemSet", "Date1", K::Text, 50},

        {"Users", "UserID", K::Text, 8},
        {"Users", "UserName", K::Text, 10},
        {"Users", "UserPwd", K::Text, 128},
        {"Users", "Sex", K::Text, 4},
        {"Users", "ID", K::Text, 18},
        {"Users", "Tel1", K::Text, 20},
        {"Users", "MoveTel1", K::Text, 15},
        {"Users", "Address", K::Text, 50},
        {"Users", "UserRights", K::LongText},
        {"Users", "DftStockID", K::LongText},
        {"Users", "DftStockName", K::LongText},

        {"Cust", "id", K::Text, 15},
        {"Cust", "name", K::Text, 10},
        {"Cust", "Name1", K::Text, 10},
        {"Cust", "Tel", K::Text, 15},
        {"Cust", "CDTel", K::Text, 15},
        {"Cust", "HomeTel", K::Text, 15},
        {"Cust", "Fax", K::Text, 15},
        {"Cust", "Kind", K::Text, 16},
        {"Cust", "birthday", K::Date},
        {"Cust", "MGBirthday", K::Text, 10},
        {"Cust", "Identity", K::Text, 20},
        {"Cust", "EnterDate", K::Text, 10},
        {"Cust", "Address", K::Text, 80},
        {"Cust", "Memo", K::Text, 80},
        {"Cust", "Memo1", K::Text, 80},
        {"Cust", "Memo2", K::Text, 80},
        {"Cust", "Memo3", K::Text, 50},
        {"Cust", "Memo4", K::Text, 50},
        {"Cust", "Memo5", K::Text, 255},
        {"Cust", "date1", K::Text, 50},
        {"Cust", "photo", K::Text, 254},
        {"Cust", "isEnabled", K::YesNo},
        {"Cust", "IsSelected", K::YesNo},
        {"Cust", "NoSms", K::YesNo},

        {"Kinds", "KindName", K::Text, 20},

        {"CWNames", "Id", K::Counter},
        {"CWNames", "Name", K::LongText},

        {"Normal", "Normal", K::Text, 255},

        {"Sign", "ID", K::Counter},
        {"Sign", "Name", K::LongText},

        {"MessageHistory", "ID", K::Counter},
        {"MessageHistory", "CustID", K::Text, 50},
        {"MessageHistory", "CustName", K::Text, 50},
        {"MessageHistory", "Salutation", K::Text, 50},
        {"MessageHistory", "Tel", K::Text, 50},
        {"MessageHistory", "Message", K::LongText},
        {"MessageHistory", "SendDate", K::Date},
        {"MessageHistory", "Memo", K::Text, 50},
        {"MessageHistory", "Sign", K::Text, 50},

        {"File", "Date1", K::Date},
        {"File", "Name", K::Text, 200},
        {"File", "Kind", K::Text, 50},
        {"File", "ContentNo", K::Text, 200},
        {"File", "ContentName", K::Text, 200},
        {"File", "Memo", K::LongText},
        {"File", "Path1", K::Text, 200},

        {"CustHistory", "ID", K::Counter},
        {"CustHistory", "ChangeTime", K::Date},
        {"CustHistory", "UserID", K::LongText},
        {"CustHistory", "Host", K::LongText},
        {"CustHistory", "CustRowid", K::Number},
        {"CustHistory", "CustID", K::LongText},
        {"CustHistory", "Action", K::LongText},
        {"CustHistory", "Field", K::LongText},
        {"CustHistory", "OldValue", K::LongText},
        {"CustHistory", "NewValue", K::LongText},
        {"CustHistory", "BatchID", K::Number},

        {"SavedSearch", "Name", K::Text, 30},
        {"SavedSearch", "Criterion", K::Number},
        {"SavedSearch", "Value", K::Text, 80},
        {"SavedSearch", "Upper", K::Text, 80},
        {"SavedSearch", "Year", K::Text, 10},
        {"SavedSearch", "Month", K::Text, 10},
        {"SavedSearch", "Day", K::Text, 10},
        {"SavedSearch", "ActiveMembers", K::YesNo},
        {"SavedSearch", "SortField", K::Text, 30},
        {"SavedSearch", "SortDescending", K::YesNo},

        {"ImportLog", "ID", K::Counter},
        {"ImportLog", "ImportedAt", K::Date},
        {"ImportLog", "UserName", K::LongText},
        {"ImportLog", "Host", K::LongText},
        {"ImportLog", "FileName", K::LongText},
        {"ImportLog", "Mode", K::LongText},
        {"ImportLog", "Added", K::Number},
        {"ImportLog", "Updated", K::Number},
        {"ImportLog", "Skipped", K::Number},
        {"ImportLog", "Duplicates", K::Number},
        {"ImportLog", "BackupPath", K::LongText},

        {"ImportLogRow", "ImportID", K::Number},
        {"ImportLogRow", "CustRowid", K::Number},
        {"ImportLogRow", "Action", K::LongText},
        {"ImportLogRow", "id", K::LongText},
        {"ImportLogRow", "name", K::LongText},
        {"ImportLogRow", "Name1", K::LongText},
        {"ImportLogRow", "Tel", K::LongText},
        {"ImportLogRow", "CDTel", K::LongText},
        {"ImportLogRow", "HomeTel", K::LongText},
        {"ImportLogRow", "Fax", K::LongText},
        {"ImportLogRow", "Kind", K::LongText},
        {"ImportLogRow", "birthday", K::Date},
        {"ImportLogRow", "MGBirthday", K::LongText},
        {"ImportLogRow", "Identity", K::LongText},
        {"ImportLogRow", "EnterDate", K::LongText},
        {"ImportLogRow", "Address", K::LongText},
        {"ImportLogRow", "Memo", K::LongText},
        {"ImportLogRow", "Memo1", K::LongText},
        {"ImportLogRow", "Memo2", K::LongText},
        {"ImportLogRow", "Memo3", K::LongText},
        {"ImportLogRow", "Memo4", K::LongText},
        {"ImportLogRow", "date1", K::LongText},
        {"ImportLogRow", "isEnabled", K::Number},
    };
    return cases;
}

QStringList expectedColumns(const QString& table) {
    QStringList names;
    for (const ColumnCase& c : columns()) {
        if (table == QLatin1String(c.table))
            names << QString::fromLatin1(c.column);
    }
    return names;
}

const char* declaredType(Kind kind) {
    return kind == Kind::YesNo || kind == Kind::Counter || kind == Kind::Number ? "INTEGER"
                                                                                : "TEXT";
}

QString insertOne(const ColumnCase& c) {
    // A saved search needs a name of its own.
    if (QLatin1String(c.table) == QLatin1String("SavedSearch") &&
        QLatin1String(c.column) != QLatin1String("Name")) {
        static int searches = 0;
        return QStringLiteral("insert into SavedSearch (Name, %1) values ('s%2', :v)")
            .arg(QLatin1String(c.column))
            .arg(++searches);
    }
    return QStringLiteral("insert into %1 (%2) values (:v)").arg(c.table, c.column);
}

class SchemaTest : public DbTest {};
class SqliteCatalogTest : public SqliteDbTest {};

TEST_F(SqliteCatalogTest, TablesHaveExactlyTheListedColumnsInOrder) {
    const QStringList tables = column(QStringLiteral(
        "select name from sqlite_master where type = 'table' and name <> 'sqlite_sequence' "
        "order by name"));
    QStringList expectedTables;
    for (const ColumnCase& c : columns()) {
        if (!expectedTables.contains(QLatin1String(c.table)))
            expectedTables << QString::fromLatin1(c.table);
    }
    expectedTables.sort();
    ASSERT_EQ(tables, expectedTables);
    for (const QString& table : tables) {
        const QStringList actual = column(
            QStringLiteral("select name from pragma_table_info('%1') order by cid").arg(table));
        EXPECT_EQ(actual, expectedColumns(table)) << table.toStdString();
    }
}

std::vector<ColumnCase> columnsWhere(bool (*keep)(const ColumnCase&)) {
    std::vector<ColumnCase> kept;
    for (const ColumnCase& c : columns()) {
        if (keep(c))
            kept.push_back(c);
    }
    return kept;
}

bool isText(const ColumnCase& c) {
    return c.kind == Kind::Text || c.kind == Kind::LongText;
}

bool isCounter(const ColumnCase& c) {
    return c.kind == Kind::Counter;
}

std::string caseName(const ::testing::TestParamInfo<ColumnCase>& info) {
    return std::string(info.param.table) + '_' + info.param.column;
}

// SQLite's catalog; the server's is compared with it in a test of its own.
class ColumnTest : public SharedDbTest<ColumnCase, true> {};

TEST_P(ColumnTest, HasItsDeclaredType) {
    const ColumnCase& c = GetParam();
    const QVariantMap params{{QStringLiteral("t"), c.table}, {QStringLiteral("c"), c.column}};
    const QString type =
        scalar(QStringLiteral("select type from pragma_table_info(:t) where name = :c"), params)
            .toString();
    EXPECT_EQ(type, QLatin1String(declaredType(c.kind)));
    const int key =
        scalar(QStringLiteral("select pk from pragma_table_info(:t) where name = :c"), params)
            .toInt();
    EXPECT_EQ(key, c.kind == Kind::Counter ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(AllColumns, ColumnTest, ::testing::ValuesIn(columns()), caseName);

class TextColumnTest : public SharedDbTest<ColumnCase> {};

TEST_P(TextColumnTest, TakesTextsUpToItsLimitAndRefusesLongerOnes) {
    const ColumnCase& c = GetParam();
    // Chinese characters: the limit counts characters, not bytes.
    const int fits = c.kind == Kind::Text ? c.limit : 2000;
    const QString text(fits, QChar(0x6703));
    exec(insertOne(c), {{QStringLiteral("v"), text}});
    EXPECT_EQ(scalar(QStringLiteral("select %1 from %2").arg(c.column, c.table)).toString(), text);
    if (c.kind == Kind::LongText)
        return;
    try {
        exec(insertOne(c), {{QStringLiteral("v"), text + 'x'}});
        ADD_FAILURE() << "a text of " << c.limit + 1 << " characters was stored";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("CHECK constraint failed")))
            << error.text().toStdString();
    }
    EXPECT_EQ(count(QString::fromLatin1(c.table)), 1);
}

INSTANTIATE_TEST_SUITE_P(TextColumns, TextColumnTest, ::testing::ValuesIn(columnsWhere(isText)),
                         caseName);

class CounterTest : public SharedDbTest<ColumnCase> {};

TEST_P(CounterTest, NumbersNewRowsFromOne) {
    const ColumnCase& c = GetParam();
    for (int i = 0; i < 2; ++i)
        exec(QStringLiteral("insert into %1 default values").arg(c.table));
    EXPECT_EQ(column(QStringLiteral("select %1 from %2 order by 1").arg(c.column, c.table)),
              (QStringList{"1", "2"}));
}

INSTANTIATE_TEST_SUITE_P(Counters, CounterTest, ::testing::ValuesIn(columnsWhere(isCounter)),
                         caseName);

// Statements of the program and what they yield on one user row
// ('Admin', null name).
struct StatementCase {
    const char* name;
    const char* sql;
    QVariant expected;
};

void PrintTo(const StatementCase& c, std::ostream* out) {
    *out << c.name;
}

class StatementTest : public SharedDbTest<StatementCase> {};

TEST_P(StatementTest, YieldsTheExpectedValue) {
    exec(QStringLiteral("insert into Users (UserID, UserPwd) values ('Admin', 'Secret')"));
    const QVariant value = scalar(QString::fromUtf8(GetParam().sql));
    EXPECT_EQ(value.isNull(), GetParam().expected.isNull());
    if (!GetParam().expected.isNull()) {
        EXPECT_EQ(value.toString(), GetParam().expected.toString());
    }
}

INSTANTIATE_TEST_SUITE_P(
    TextRules, StatementTest,
    ::testing::Values(
        StatementCase{"LowerCaseIdMatches", "select count(*) from Users where 'admin' = UserID", 1},
        StatementCase{"ParameterSideMatches", "select count(*) from Users where UserID = 'ADMIN'",
                      1},
        StatementCase{"LikeIgnoresCase", "select count(*) from Users where UserID like 'adm%'", 1},
        StatementCase{"NotEqualIgnoresCase", "select count(*) from Users where UserID <> 'admin'",
                      0},
        StatementCase{"PasswordCaseIgnoredToo",
                      "select count(*) from Users where UserPwd = 'secret'", 1},
        StatementCase{"JoiningWithNullYieldsNull", "select UserID || '.' || UserName from Users",
                      QVariant()},
        StatementCase{"JoiningTexts", "select UserID || '.' || UserPwd from Users", "Admin.Secret"},
        StatementCase{"LimitTakesTop", "select count(*) from (select * from Users limit 0) as t",
                      0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SchemaTest, MemberAddedWithoutEnabledFlagIsEnabled) {
    exec(QStringLiteral("insert into Cust (id, name) values ('1', 'A')"));
    EXPECT_EQ(scalar(QStringLiteral("select isEnabled from Cust")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("select IsSelected from Cust")).toInt(), 0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from Cust where isEnabled = :on"),
                     {{QStringLiteral("on"), true}})
                  .toInt(),
              1);
}

TEST_F(SchemaTest, MessageHistoryKeepsTheWholeMessage) {
    const QString message(500, QChar(0x8A0A));
    exec(QStringLiteral("insert into MessageHistory (Message) values (:m)"),
         {{QStringLiteral("m"), message}});
    EXPECT_EQ(scalar(QStringLiteral("select Message from MessageHistory")).toString(), message);
}

} // namespace
