#include "base/errors.h"
#include "db/connection.h"
#include "members/member_search.h"
#include "tests/support/temp_database.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

namespace search = members::search;

class MemberSearchTest : public testing::Test {
protected:
    void SetUp() override {
        // id, name, Name1, Tel, Kind, birthday, EnterDate, Address, Memo, isEnabled
        add("A001", "陳大文", "先生", "02-1111", "金卡", "1976-12-31 00:00:00", "96/05/01",
            "台中市西區", "常客", 1);
        add("A002", "陳小美", "小姐", "02-2222", "金卡會員", "1976-05-03 00:00:00", "096/05/02",
            "台北市", "O'Brien 的朋友", 1);
        add("A003", "林志明", "先生", "04-1111", "銀卡", "1980-12-01 00:00:00", "97/01/01",
            "新台中路", nullptr, 1);
        add("B001", "王老五", "先生", "02-3333", "金卡", nullptr, nullptr, "高雄市", nullptr, 1);
        add("B002", "O'Neil", "Mr", "07-1", "金卡", "1950-12-31 00:00:00", "96/05/30", "台中",
            nullptr, 0);
    }

    static void add(const char* id, const char* name, const char* salutation, const char* tel,
                    const char* kind, const char* birthday, const char* enterDate,
                    const char* address, const char* memo, int enabled) {
        auto text = [](const char* value) {
            return value ? QVariant(QString::fromUtf8(value)) : QVariant();
        };
        db::run(QStringLiteral("insert into Cust(id, name, Name1, Tel, Kind, birthday, "
                               "EnterDate, Address, Memo, isEnabled) values(:id, :name, "
                               ":Name1, :Tel, :Kind, :birthday, :EnterDate, :Address, :Memo, "
                               ":isEnabled)"),
                {{QStringLiteral("id"), text(id)},
                 {QStringLiteral("name"), text(name)},
                 {QStringLiteral("Name1"), text(salutation)},
                 {QStringLiteral("Tel"), text(tel)},
                 {QStringLiteral("Kind"), text(kind)},
                 {QStringLiteral("birthday"), text(birthday)},
                 {QStringLiteral("EnterDate"), text(enterDate)},
                 {QStringLiteral("Address"), text(address)},
                 {QStringLiteral("Memo"), text(memo)},
                 {QStringLiteral("isEnabled"), enabled}});
    }

    // The numbers the member window's search lists, in its order.
    static QStringList found(const search::Input& input, bool active = true) {
        const search::Bounds range = search::numberRange(input, search::memberNumberBounds());
        const search::Statement statement =
            search::memberStatement(search::criterionClause(input, range), active);
        QSqlQuery query = db::run(statement.lines, statement.params);
        QStringList ids;
        while (query.next())
            ids << query.value(QStringLiteral("id")).toString();
        return ids;
    }

    static search::Input value(int criterion, const QString& text) {
        search::Input input;
        input.criterion = criterion;
        input.value = text;
        return input;
    }

    static search::Input date(int criterion, const QString& y, const QString& m, const QString& d) {
        search::Input input;
        input.criterion = criterion;
        input.year = y;
        input.month = m;
        input.day = d;
        return input;
    }

    TempDatabase database;
};

TEST_F(MemberSearchTest, SixteenCriteriaWithTheSettingsCaptions) {
    search::Captions captions{QStringLiteral("類別 "),
                              QStringLiteral("入會日"),
                              QStringLiteral("見習"),
                              {"m1", "m2", "m3", "m4", "m5"}};
    const QStringList names = search::criterionNames(captions);
    ASSERT_EQ(names.size(), search::kCriterionCount);
    EXPECT_EQ(names[0], QStringLiteral("編號"));
    EXPECT_EQ(names[6], QStringLiteral("類別 "));
    EXPECT_EQ(names[7], QStringLiteral("生日"));
    EXPECT_EQ(names[10], QStringLiteral("入會日"));
    EXPECT_EQ(names[11], QStringLiteral("m1"));
    EXPECT_EQ(names[15], QStringLiteral("m5"));
}

TEST_F(MemberSearchTest, CaptionsFallBackToDefaultsWithoutASettingsRow) {
    const search::Captions captions = search::readCaptions();
    EXPECT_EQ(captions.category, QStringLiteral("類別"));
    EXPECT_EQ(captions.enterDate, QStringLiteral("入會日期"));
    ASSERT_EQ(captions.memos.size(), 5);
    EXPECT_EQ(captions.memos[4], QStringLiteral("備註五"));
    db::run(QStringLiteral("insert into SystemSet(CW, EnterDate, Date1, Memo1, Memo5) "
                           "values(' 類別', '入會日期', '見習日期', '備一', '備五')"));
    const search::Captions stored = search::readCaptions();
    EXPECT_EQ(stored.category, QStringLiteral(" 類別"));
    EXPECT_EQ(stored.enterDate, QStringLiteral("入會日期"));
    EXPECT_EQ(stored.date1, QStringLiteral("見習日期"));
    EXPECT_EQ(stored.memos.first(), QStringLiteral("備一"));
    EXPECT_EQ(stored.memos.last(), QStringLiteral("備五"));
}

TEST_F(MemberSearchTest, NumberRangeWithEmptyAndPartialBounds) {
    EXPECT_EQ(found(value(search::Number, QString())),
              (QStringList{"A001", "A002", "A003", "B001"}));
    EXPECT_EQ(found(value(search::Number, QStringLiteral("A002"))),
              (QStringList{"A002", "A003", "B001"}));
    search::Input both = value(search::Number, QStringLiteral(" a002 "));
    both.upper = QStringLiteral("A003");
    EXPECT_EQ(found(both), (QStringList{"A002", "A003"}));
    search::Input upperOnly = value(search::Number, QString());
    upperOnly.upper = QStringLiteral("A002");
    EXPECT_EQ(found(upperOnly), (QStringList{"A001", "A002"}));
}

TEST_F(MemberSearchTest, NumberRangeOfAnEmptyRegisterListsNothing) {
    db::run(QStringLiteral("delete from Cust"));
    EXPECT_EQ(search::memberNumberBounds().low, QString());
    EXPECT_TRUE(found(value(search::Number, QString())).isEmpty());
}

TEST_F(MemberSearchTest, BeginningMatchesAreOrderedByTheirColumn) {
    EXPECT_EQ(found(value(search::Name, QStringLiteral(" 陳 "))), (QStringList{"A001", "A002"}));
    EXPECT_EQ(found(value(search::Tel, QStringLiteral("02"))),
              (QStringList{"A001", "A002", "B001"}));
    EXPECT_TRUE(found(value(search::Name, QStringLiteral("大文"))).isEmpty());
}

TEST_F(MemberSearchTest, AnywhereMatchesFindTheTextInside) {
    EXPECT_EQ(found(value(search::Address, QStringLiteral("台中"))), (QStringList{"A001", "A003"}));
    EXPECT_EQ(found(value(search::Note1, QStringLiteral("客"))), QStringList{"A001"});
}

TEST_F(MemberSearchTest, CategoryMatchesTheWholeValue) {
    QStringList ids = found(value(search::Category, QStringLiteral("金卡")));
    ids.sort();
    EXPECT_EQ(ids, (QStringList{"A001", "B001"}));
}

TEST_F(MemberSearchTest, AnApostropheIsSearchedForLikeAnyOtherCharacter) {
    EXPECT_EQ(found(value(search::Note1, QStringLiteral("O'Brien"))), QStringList{"A002"});
    EXPECT_EQ(found(value(search::Name, QStringLiteral("O'N")), false), QStringList{"B002"});
    const search::Clause clause =
        search::criterionClause(value(search::Name, QStringLiteral("O'N")));
    EXPECT_FALSE(clause.line.contains(QStringLiteral("O'N")));
}

TEST_F(MemberSearchTest, BirthdayByYearMonthAndDay) {
    EXPECT_EQ(found(date(search::Birthday, "65", "12", "")), QStringList{"A001"});
    EXPECT_EQ(found(date(search::Birthday, "65", "", "")), (QStringList{"A002", "A001"}));
    EXPECT_EQ(found(date(search::Birthday, "", "05", "03")), QStringList{"A002"});
    EXPECT_EQ(found(date(search::Birthday, "", "12", "")), (QStringList{"A001", "A003"}));
}

TEST_F(MemberSearchTest, BirthdayYearWithPlusOrMinus) {
    EXPECT_EQ(found(date(search::Birthday, "65+", "", "")), (QStringList{"A002", "A001", "A003"}));
    EXPECT_EQ(found(date(search::Birthday, "66+", "", "")), QStringList{"A003"});
    EXPECT_EQ(found(date(search::Birthday, "65-", "", "")), (QStringList{"A002", "A001"}));
    EXPECT_EQ(found(date(search::Birthday, "65-", "12", ""), false), QStringList{"B002"});
}

TEST_F(MemberSearchTest, AllBirthdayBoxesEmptyListsEveryoneAndNoBirthdayNeverMatches) {
    const search::Clause clause = search::criterionClause(date(search::Birthday, "", " ", ""));
    EXPECT_TRUE(clause.line.isEmpty());
    EXPECT_TRUE(clause.params.isEmpty());
    EXPECT_EQ(found(date(search::Birthday, "", "", "")).size(), 4);
    EXPECT_EQ(found(date(search::Birthday, "0+", "", "")), (QStringList{"A002", "A001", "A003"}));
}

TEST_F(MemberSearchTest, BirthdayPartThatIsNotANumberIsAConversionError) {
    EXPECT_THROW(found(date(search::Birthday, "六五", "", "")), ConversionError);
    EXPECT_THROW(found(date(search::Birthday, "65", "xx", "")), ConversionError);
}

// A year box holding only its sign would compare the year with "%": refused
// before anything is searched, as any other year that is not a number.
TEST_F(MemberSearchTest, BirthdayYearOfASignAloneIsRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"+", "'+' 不是有效的整數值"},   {"-", "'-' 不是有效的整數值"},
        {" + ", "'+' 不是有效的整數值"}, {"++", "'+' 不是有效的整數值"},
        {"+-", "'+' 不是有效的整數值"},
    };
    for (const auto& [year, text] : cases) {
        for (const char* month : {"", "12"}) {
            try {
                search::criterionClause(date(search::Birthday, year, month, ""));
                ADD_FAILURE() << year << " " << month;
            } catch (const ConversionError& error) {
                EXPECT_EQ(error.text(), QString::fromUtf8(text)) << year << " " << month;
            }
        }
    }
}

// Every LIKE names the backslash as its escape character: a typed backslash
// is a plain character on both engines, while a typed "%" or "_" stays the
// wildcard it is.
TEST_F(MemberSearchTest, TypedBackslashesAndWildcardsMatchAlikeOnBothEngines) {
    add("C001", "a\\b", "先生", "02-\\9", "金卡", nullptr, "96\\05\\01", "C:\\temp",
        "a\\b 100% sure", 1);
    add("C002", "ab", "先生", "02-9", "金卡", nullptr, "96/05/09", "C:temp", "ab 100% sure", 1);
    add("C003", "a_b", "小姐", "02_9", "金卡", nullptr, nullptr, "C:_temp", "100 percent", 1);
    const struct {
        search::Input input;
        QStringList ids;
    } cases[] = {
        {value(search::Note1, QStringLiteral("%\\%")), {"C001"}},
        {value(search::Note1, QStringLiteral("\\b")), {"C001"}},
        {value(search::Note1, QStringLiteral("100%")), {"C001", "C002", "C003"}},
        {value(search::Note1, QStringLiteral("100_ s")), {"C001", "C002"}},
        {value(search::Name, QStringLiteral("a\\")), {"C001"}},
        {value(search::Name, QStringLiteral("a_b")), {"C001", "C003"}},
        {value(search::Name, QStringLiteral("a%b")), {"C001", "C002", "C003"}},
        {value(search::Tel, QStringLiteral("02-\\")), {"C001"}},
        {value(search::Address, QStringLiteral(":\\")), {"C001"}},
        {value(search::Address, QStringLiteral("\\")), {"C001"}},
        // Read as an escape, "96\\" would find 96/05/01.
        {date(search::JoiningDate, "96\\", "", ""), {}},
        {date(search::JoiningDate, "96", "05", "0_"), {"A001", "C002"}},
    };
    for (const auto& c : cases) {
        QStringList ids = found(c.input);
        ids.sort(); // which members, whatever the order
        EXPECT_EQ(ids, c.ids) << c.input.criterion << " " << c.input.value.toStdString() << " "
                              << c.input.year.toStdString();
    }
}

TEST_F(MemberSearchTest, JoiningDateComparesTheTypedText) {
    EXPECT_EQ(found(date(search::JoiningDate, "96", "05", "")), QStringList{"A001"});
    EXPECT_EQ(found(date(search::JoiningDate, "096", "", "")), QStringList{"A002"});
    EXPECT_EQ(found(date(search::JoiningDate, "", "", "01")), (QStringList{"A001", "A003"}));
    EXPECT_EQ(found(date(search::JoiningDate, "96", "5", "")), QStringList());
}

TEST_F(MemberSearchTest, UntickedListsOnlyInactiveMembers) {
    EXPECT_EQ(found(value(search::Number, QString()), false), QStringList{"B002"});
    EXPECT_EQ(found(value(search::None, QString()), false), QStringList{"B002"});
}

TEST_F(MemberSearchTest, MemberStatementHasTwoOrThreeLines) {
    EXPECT_EQ(search::memberStatement({}, true).lines.size(), 2);
    const search::Statement statement =
        search::memberStatement(search::criterionClause(value(search::Name, "x")), true);
    ASSERT_EQ(statement.lines.size(), 3);
    EXPECT_EQ(statement.lines[1], QStringLiteral(" Where IsEnabled=:IsEnabled "));
    EXPECT_EQ(statement.lines[2], QStringLiteral("and Name like :Value escape '\\' order by Name"));
    EXPECT_EQ(statement.params.value(QStringLiteral("Value")).toString(), QStringLiteral("x%"));
}

TEST_F(MemberSearchTest, ListsForPicking) {
    db::run(QStringLiteral("insert into CWNames(Name) values(' 先生 '), ('小姐')"));
    db::run(QStringLiteral("insert into Kinds(KindName) values('金卡 ')"));
    EXPECT_EQ(search::salutations(), (QStringList{"先生", "小姐"}));
    EXPECT_EQ(search::categories(), QStringList{"金卡"});
}

} // namespace
