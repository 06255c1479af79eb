// The saved searches: the built-in birthday and joining lists on fixed days
// (a replaced clock), over members whose birthdays were typed in the member
// window in Minguo years, and the searches stored in the register.
#include "tests/members/member_window_fixture.h"

#include "base/errors.h"
#include "db/connection.h"
#include "db/copy_database.h"
#include "members/saved_search.h"

#include <QComboBox>
#include <QDir>
#include <QScopeGuard>
#include <QSqlQuery>

namespace {

namespace saved = members::saved;
namespace search = members::search;

const QString kSaved = QStringLiteral("保存成功﹕共 1 筆");

class SavedSearchTest : public MemberWindowTest {
protected:
    ~SavedSearchTest() override { saved::setClock({}); }

    // Adds a member through the member window, typing the birthday and the
    // joining date as users do.
    void addTyped(const QString& id, const QString& birthday, const QString& joined) {
        press("SbAdd");
        type("DBEdit1", id);
        type("DBEdit2", QStringLiteral("會員") + id);
        type("DBEdit6", birthday);
        type("DBEdit10", joined);
        prompt.expect(kSaved);
        press("SbSave");
    }

    void addMembers() {
        open();
        addTyped(QStringLiteral("L1"), QStringLiteral("65/02/29"), QStringLiteral("114/12/31"));
        addTyped(QStringLiteral("F28"), QStringLiteral("69/2/28"), QStringLiteral("115/01/01"));
        addTyped(QStringLiteral("D31"), QStringLiteral("79/12/31"), QStringLiteral("96/05/01"));
        addTyped(QStringLiteral("J15"), QStringLiteral("074/01/15"), QStringLiteral("115/12/31"));
        addTyped(QStringLiteral("M01"), QStringLiteral("59/03/01"), QStringLiteral("015/01/01"));
        addTyped(QStringLiteral("N"), QString(), QString());
        // A member no longer active is not listed among the active ones.
        addTyped(QStringLiteral("X"), QStringLiteral("65/02/29"), QStringLiteral("115/02/02"));
        db::run(QStringLiteral("update Cust set isEnabled = 0 where id = 'X'"));
    }

    static QStringList found(const saved::SavedSearch& chosen) {
        const search::Statement statement = saved::memberStatementOf(chosen);
        QSqlQuery query = db::run(statement.lines, statement.params);
        QStringList ids;
        while (query.next())
            ids << query.value(QStringLiteral("id")).toString();
        return ids;
    }

    static saved::SavedSearch builtIn(const char* name) {
        const std::optional<saved::SavedSearch> chosen = saved::findSearch(QString::fromUtf8(name));
        EXPECT_TRUE(chosen.has_value()) << name;
        return chosen.value_or(saved::SavedSearch{});
    }
};

TEST_F(SavedSearchTest, BuiltInListsOnFixedDays) {
    addMembers();
    struct Case {
        QDate today;
        const char* list;
        QStringList ids;
    } cases[] = {
        // 29 February: on the 28th in other years, on the 29th in leap years.
        {{2026, 2, 28}, "今日壽星", {"F28", "L1"}},
        {{2028, 2, 28}, "今日壽星", {"F28"}},
        {{2028, 2, 29}, "今日壽星", {"L1"}},
        {{2026, 3, 1}, "今日壽星", {"M01"}},
        {{2026, 12, 31}, "今日壽星", {"D31"}},
        {{2027, 1, 15}, "今日壽星", {"J15"}},
        {{2026, 6, 1}, "今日壽星", {}},
        // The month's list in the order of the day of birth.
        {{2026, 2, 1}, "本月壽星", {"F28", "L1"}},
        {{2026, 1, 31}, "下月壽星", {"F28", "L1"}},
        // Year end: next month of December is January.
        {{2026, 12, 15}, "本月壽星", {"D31"}},
        {{2026, 12, 31}, "下月壽星", {"J15"}},
        {{2027, 1, 1}, "本月壽星", {"J15"}},
        // Joining dates are Minguo: 2026 is year 115.
        {{2026, 7, 1}, "今年入會", {"F28", "J15"}},
        {{2025, 12, 31}, "今年入會", {"L1"}},
        {{2027, 1, 1}, "今年入會", {}},
    };
    for (const Case& c : cases) {
        saved::setClock([day = c.today] { return day; });
        EXPECT_EQ(found(builtIn(c.list)), c.ids)
            << c.list << " " << c.today.toString(Qt::ISODate).toStdString();
    }
}

TEST_F(SavedSearchTest, BuiltInListsAreAlwaysThereAndTheirNamesAreNotTaken) {
    QStringList names;
    for (const saved::SavedSearch& chosen : saved::allSearches())
        names << chosen.name;
    EXPECT_EQ(names, (QStringList{QStringLiteral("今日壽星"), QStringLiteral("本月壽星"),
                                  QStringLiteral("下月壽星"), QStringLiteral("今年入會")}));
    saved::SavedSearch chosen;
    for (const char* refused : {"本月壽星", "", "   ",
                                "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一"}) {
        chosen.name = QString::fromUtf8(refused);
        EXPECT_TRUE(saved::nameRefusal(chosen.name).has_value()) << refused;
        EXPECT_THROW(saved::saveSearch(chosen, true), DatabaseError) << refused;
    }
    EXPECT_TRUE(saved::storedSearches().isEmpty());
}

TEST_F(SavedSearchTest, StoredSearchKeepsItsInputsAndIsRenamedAndDeleted) {
    addMembers();
    saved::SavedSearch chosen;
    chosen.name = QStringLiteral(" 早期會員 ");
    chosen.input.criterion = search::Number;
    chosen.input.value = QStringLiteral("D31");
    chosen.input.upper = QStringLiteral("J15");
    chosen.activeMembers = true;
    chosen.sortField = QStringLiteral("name");
    chosen.sortDescending = true;
    saved::saveSearch(chosen, false);

    chosen.name = chosen.name.trimmed();
    ASSERT_EQ(saved::storedSearches(), QList<saved::SavedSearch>{chosen});
    EXPECT_EQ(found(chosen), (QStringList{"D31", "F28", "J15"}));

    // The same name again, in other letter case too, is refused unless replaced.
    saved::SavedSearch other = chosen;
    other.input.upper = QStringLiteral("F28");
    EXPECT_THROW(saved::saveSearch(other, false), DatabaseError);
    saved::saveSearch(other, true);
    EXPECT_EQ(saved::findSearch(QStringLiteral("早期會員"))->input.upper, QStringLiteral("F28"));

    saved::SavedSearch second;
    second.name = QStringLiteral("全部");
    saved::saveSearch(second, false);
    EXPECT_THROW(saved::renameSearch(QStringLiteral("全部"), QStringLiteral("早期會員")),
                 DatabaseError);
    EXPECT_THROW(saved::renameSearch(QStringLiteral("全部"), QStringLiteral("今日壽星")),
                 DatabaseError);
    EXPECT_THROW(saved::renameSearch(QStringLiteral("沒有"), QStringLiteral("新")), DatabaseError);
    saved::renameSearch(QStringLiteral("全部"), QStringLiteral("所有會員"));
    EXPECT_FALSE(saved::findSearch(QStringLiteral("全部")).has_value());
    EXPECT_TRUE(saved::findSearch(QStringLiteral("所有會員")).has_value());

    saved::deleteSearch(QStringLiteral("早期會員"));
    ASSERT_EQ(saved::storedSearches().size(), 1);
    EXPECT_EQ(saved::storedSearches().first().name, QStringLiteral("所有會員"));
}

// --copy-database and the backups copy every table: the saved searches go
// with the register.
TEST_F(SavedSearchTest, CopiedRegisterKeepsItsSavedSearches) {
    saved::SavedSearch chosen;
    chosen.name = QStringLiteral("金卡會員");
    chosen.input.criterion = search::Category;
    chosen.input.value = QStringLiteral("金卡");
    chosen.activeMembers = false;
    chosen.sortField = QStringLiteral("Tel");
    saved::saveSearch(chosen, false);
    db::DatabaseTarget copy;
    copy.path = QDir(folder.path()).filePath(QStringLiteral("copy.sqlite"));
    db::copyDatabase(database.target(), copy);
    db::setDatabaseTarget(copy);
    const auto restore = qScopeGuard([this] { db::setDatabaseTarget(database.target()); });
    EXPECT_EQ(saved::storedSearches(), QList<saved::SavedSearch>{chosen});
}

// A register of an earlier Lunmark has no table of saved searches: opening it
// adds one, and the window's list and saving work at once.
TEST_F(SavedSearchTest, OlderRegisterGainsTheTableWhenOpened) {
    db::run(QStringLiteral("drop table SavedSearch"));
    db::closeConnection();
    openFromMenu();
    EXPECT_EQ(window->findChild<QComboBox*>(QStringLiteral("ComboSaved"))->count(), 4);
    saved::SavedSearch chosen;
    chosen.name = QStringLiteral("舊資料庫");
    saved::saveSearch(chosen, false);
    EXPECT_EQ(saved::storedSearches(), QList<saved::SavedSearch>{chosen});
}

} // namespace
