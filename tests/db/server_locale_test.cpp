// A server compares texts by the locale its database was made in; member
// numbers must still range, order and collide as SQLite's NOCASE makes them
// (byte order, ASCII letters folded). The pg_en_US run has a server whose
// databases are in en_US.UTF-8, where "A-2" sorts between "A1" and "A3".
#include "tests/db/db_fixture.h"

#include "members/member_search.h"

#include <QSqlQuery>

using namespace dbtest;

namespace {

namespace search = members::search;

// Numbers as users type them: letters in both cases, punctuation, blanks,
// digits and Chinese.
const char* const kNumbers[] = {"A1", "a10", "A2", "A-2", "A 3", "a_3", "A.4",  "B1", "b-1",
                                "Z9", "1",   "10", "9",   "-5",  "陳1", "陳-2", "_7"};

// What one engine answers.
struct Answers {
    QString locale;
    QStringList ordered;             // the number criterion with both boxes empty
    QList<QStringList> ranges;       // the number criterion between bounds
    QList<QStringList> sameNumberAs; // the member window's duplicate check
};

const std::pair<const char*, const char*> kRanges[] = {{"A1", "A3"}, {"a-", "a2"}, {"1", "9"},
                                                       {"A", "B"},   {"-", "Z"},   {"陳", "陳9"}};

const char* const kTyped[] = {"a1", "A1", "A-2", "a-2", "A2", "b-1", "B-1", "A3", "陳1", "a_3"};

// The member window's search, as it lists.
QStringList listed(const search::Input& input) {
    const search::Statement statement = search::memberStatement(
        search::criterionClause(input, search::numberRange(input, search::memberNumberBounds())),
        true);
    QSqlQuery query = db::run(statement.lines, statement.params);
    QStringList ids;
    while (query.next())
        ids << query.value(0).toString();
    return ids;
}

Answers answersOn(db::Engine engine) {
    TempDatabase database(engine);
    for (const char* number : kNumbers)
        addMember(QString::fromUtf8(number), QStringLiteral("會員"));
    Answers answers;
    if (engine == db::Engine::Postgresql)
        answers.locale = scalar(QStringLiteral("select current_setting('lc_collate')")).toString();
    search::Input input;
    input.criterion = search::Number;
    answers.ordered = listed(input);
    for (const auto& [low, high] : kRanges) {
        input.value = QString::fromUtf8(low);
        input.upper = QString::fromUtf8(high);
        answers.ranges << listed(input);
    }
    for (const char* typed : kTyped) {
        QSqlQuery same = db::run(QStringLiteral("select id from cust where id=:id order by id"),
                                 {{QStringLiteral("id"), QString::fromUtf8(typed)}});
        QStringList ids;
        while (same.next())
            ids << same.value(0).toString();
        answers.sameNumberAs << ids;
    }
    return answers;
}

TEST(ServerLocaleTest, MemberNumbersRangeOrderAndCollideAsOnSqlite) {
    if (!TempDatabase::hasPostgres())
        GTEST_SKIP() << "no test server in this run (the pg. and pg_en_US. runs have one)";
    const Answers sqlite = answersOn(db::Engine::Sqlite);
    // NOCASE: byte order after folding A-Z, so punctuation and blanks count.
    EXPECT_EQ(sqlite.ordered, (QStringList{"-5", "1", "10", "9", "_7", "A 3", "A-2", "A.4", "A1",
                                           "a10", "A2", "a_3", "b-1", "B1", "Z9", "陳-2", "陳1"}));
    EXPECT_EQ(sqlite.ranges[0], (QStringList{"A1", "a10", "A2"}));
    EXPECT_EQ(sqlite.sameNumberAs[0], QStringList{"A1"});
    const Answers server = answersOn(db::Engine::Postgresql);
    SCOPED_TRACE("server locale " + server.locale.toStdString());
    EXPECT_EQ(server.ordered, sqlite.ordered);
    for (qsizetype i = 0; i < qsizetype(std::size(kRanges)); ++i)
        EXPECT_EQ(server.ranges[i], sqlite.ranges[i])
            << kRanges[i].first << " ~ " << kRanges[i].second;
    for (qsizetype i = 0; i < qsizetype(std::size(kTyped)); ++i)
        EXPECT_EQ(server.sameNumberAs[i], sqlite.sameNumberAs[i]) << kTyped[i];
}

} // namespace
