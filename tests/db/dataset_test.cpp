#include "tests/db/db_fixture.h"

#include "base/errors.h"
#include "db/dataset.h"

#include <QSignalSpy>
#include <functional>

using db::Dataset;

using namespace dbtest;

namespace {

// Five members; names and categories differ in letter case and have nulls.
class DatasetTest : public DbTest {
protected:
    void SetUp() override {
        addMember("1", "chen", "B");
        addMember("2", "Lin");
        addMember("3", "wang", "A");
        addMember("4", "Chen", "A");
        addMember("5", QString(), "b");
        m_members.setBaseTable("Cust");
    }

    void openMembers() { m_members.open(QStringLiteral("select * from Cust order by id")); }

    QStringList ids() const {
        QStringList result;
        for (int row = 0; row < m_members.rowCount(); ++row)
            result << m_members.value(row, m_members.fieldIndex("id")).toString();
        return result;
    }

    Dataset m_members;
};

TEST_F(DatasetTest, OpenHoldsRowsAndFieldsWithoutTheRowid) {
    QSignalSpy moved(&m_members, &Dataset::movedTo);
    openMembers();
    EXPECT_EQ(m_members.state(), Dataset::State::Browse);
    EXPECT_EQ(m_members.rowCount(), 5);
    EXPECT_EQ(m_members.fieldCount(), 24);
    EXPECT_EQ(m_members.fieldNames().first(), QStringLiteral("id"));
    EXPECT_FALSE(m_members.hasField("lunmark_rowid"));
    EXPECT_EQ(m_members.currentRow(), 0);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved[0], (QVariantList{1, 5}));
}

TEST_F(DatasetTest, FieldNamesIgnoreLetterCase) {
    openMembers();
    EXPECT_EQ(m_members.value("NAME").toString(), QStringLiteral("chen"));
    EXPECT_EQ(m_members.fieldIndex("Name"), m_members.fieldIndex("name"));
    EXPECT_EQ(m_members.value("IsENABLED").toInt(), 1);
}

TEST_F(DatasetTest, OpensStatementLinesWithNamedParameters) {
    m_members.open(QStringList{"select * from Cust", " where Kind = :Kind", " order by id"},
                   {{"Kind", "a"}});
    EXPECT_EQ(ids(), (QStringList{"3", "4"}));
    m_members.setParam(":Kind", "b");
    ASSERT_TRUE(m_members.refresh());
    EXPECT_EQ(ids(), (QStringList{"1", "5"}));
}

TEST_F(DatasetTest, EmptyResultHasFieldsButNoRow) {
    QSignalSpy moved(&m_members, &Dataset::movedTo);
    m_members.open(QStringLiteral("select * from Cust where id = 'none'"));
    EXPECT_TRUE(m_members.isEmpty());
    EXPECT_EQ(m_members.currentRow(), -1);
    EXPECT_TRUE(m_members.value("name").isNull());
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved[0], (QVariantList{0, 0}));
}

// Moving from a start row: the row number reached and whether movedTo fired.
struct MoveCase {
    const char* name;
    std::function<bool(Dataset&)> move;
    int start;
    int rowNumber;
    bool signalled;
};

void PrintTo(const MoveCase& c, std::ostream* out) {
    *out << c.name;
}

class DatasetMoveTest : public DatasetTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(DatasetMoveTest, ReachesRowAndSignalsRowNumberAndCount) {
    const MoveCase& c = GetParam();
    openMembers();
    m_members.moveTo(c.start);
    QSignalSpy moved(&m_members, &Dataset::movedTo);
    EXPECT_TRUE(c.move(m_members));
    EXPECT_EQ(m_members.rowNumber(), c.rowNumber);
    ASSERT_EQ(moved.count(), c.signalled ? 1 : 0);
    if (c.signalled) {
        EXPECT_EQ(moved[0], (QVariantList{c.rowNumber, 5}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Moves, DatasetMoveTest,
    ::testing::Values(
        MoveCase{"Next", &Dataset::next, 0, 2, true},
        MoveCase{"NextAtLast", &Dataset::next, 4, 5, false},
        MoveCase{"Prior", &Dataset::prior, 2, 2, true},
        MoveCase{"PriorAtFirst", &Dataset::prior, 0, 1, false},
        MoveCase{"First", &Dataset::first, 3, 1, true},
        MoveCase{"Last", &Dataset::last, 1, 5, true},
        MoveCase{"MoveTo", [](Dataset& d) { return d.moveTo(2); }, 0, 3, true},
        MoveCase{"MoveBeyondEnd", [](Dataset& d) { return d.moveTo(99); }, 0, 5, true},
        MoveCase{"MoveBeforeStart", [](Dataset& d) { return d.moveTo(-3); }, 2, 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DatasetTest, StateChangesAreSignalledOncePerChange) {
    struct Step {
        const char* name;
        std::function<void(Dataset&)> act;
        Dataset::State state;
    };
    using S = Dataset::State;
    const std::vector<Step> steps = {
        {"open", [this](Dataset&) { openMembers(); }, S::Browse},
        {"edit", &Dataset::edit, S::Edit},
        {"edit again", &Dataset::edit, S::Edit},
        {"post", [](Dataset& d) { d.post(); }, S::Browse},
        {"append", &Dataset::append, S::Insert},
        {"cancel insert", &Dataset::cancel, S::Browse},
        {"edit", &Dataset::edit, S::Edit},
        {"cancel edit", &Dataset::cancel, S::Browse},
        {"append", &Dataset::append, S::Insert},
        {"post insert", [](Dataset& d) { d.post(); }, S::Browse},
        {"close", &Dataset::close, S::Inactive},
    };
    QSignalSpy changes(&m_members, &Dataset::stateChanged);
    S previous = m_members.state();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const qsizetype before = changes.count();
        step.act(m_members);
        EXPECT_EQ(m_members.state(), step.state);
        EXPECT_EQ(m_members.isEditing(), step.state == S::Edit || step.state == S::Insert);
        ASSERT_EQ(changes.count() - before, step.state == previous ? 0 : 1);
        if (step.state != previous) {
            EXPECT_EQ(changes.last().at(0).value<S>(), step.state);
        }
        previous = step.state;
    }
}

// Actions refused with a DatabaseError, and a text the error must contain.
struct RefusalCase {
    const char* name;
    bool open;
    std::function<void(Dataset&)> act;
    const char* text;
};

void PrintTo(const RefusalCase& c, std::ostream* out) {
    *out << c.name;
}

class DatasetRefusalTest : public DatasetTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(DatasetRefusalTest, ThrowsDatabaseError) {
    const RefusalCase& c = GetParam();
    if (c.open)
        openMembers();
    const Dataset::State state = m_members.state();
    try {
        c.act(m_members);
        ADD_FAILURE() << "nothing was refused";
    } catch (const DatabaseError& error) {
        EXPECT_TRUE(error.text().contains(QString::fromUtf8(c.text))) << error.text().toStdString();
    }
    EXPECT_EQ(m_members.state(), c.open ? state : Dataset::State::Inactive);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, DatasetRefusalTest,
    ::testing::Values(
        RefusalCase{"SetValueWhileBrowsing", true, [](Dataset& d) { d.setValue("name", "x"); },
                    "name"},
        RefusalCase{"UnknownField", true, [](Dataset& d) { d.value("nosuchfield"); },
                    "nosuchfield"},
        RefusalCase{"EditWhileClosed", false, &Dataset::edit, "資料集沒有開啟"},
        RefusalCase{"AppendWhileClosed", false, &Dataset::append, "資料集沒有開啟"},
        RefusalCase{"DeleteWhileClosed", false, [](Dataset& d) { d.remove(); }, "資料集沒有開啟"},
        RefusalCase{"DeleteOnEmpty", true,
                    [](Dataset& d) {
                        d.open(QStringLiteral("select * from Cust where 1 = 0"));
                        d.remove();
                    },
                    "沒有可刪除的資料列"},
        RefusalCase{"NoStatement", false, [](Dataset& d) { d.open(QString()); }, "SQL"},
        RefusalCase{"NotASelect", false,
                    [](Dataset& d) { d.open(QStringLiteral("pragma table_info(Cust)")); },
                    "SELECT"},
        RefusalCase{"BadColumn", false,
                    [](Dataset& d) { d.open(QStringLiteral("select nosuch from Cust")); },
                    "nosuch"}),
    [](const auto& info) { return std::string(info.param.name); });

// A sort from the order of the ids: the ids in the new order.
struct SortCase {
    const char* name;
    const char* field;
    Qt::SortOrder order;
    QStringList ids;
};

void PrintTo(const SortCase& c, std::ostream* out) {
    *out << c.name;
}

class DatasetSortTest : public DatasetTest, public ::testing::WithParamInterface<SortCase> {};

TEST_P(DatasetSortTest, SortsStablyWithNullsSmallestAndKeepsTheCurrentRecord) {
    const SortCase& c = GetParam();
    openMembers();
    m_members.moveTo(2); // member 3
    QSignalSpy moved(&m_members, &Dataset::movedTo);
    ASSERT_TRUE(m_members.sortBy(c.field, c.order));
    EXPECT_EQ(ids(), c.ids);
    EXPECT_EQ(m_members.value("id").toString(), QStringLiteral("3"));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved[0], (QVariantList{int(c.ids.indexOf("3")) + 1, 5}));
}

INSTANTIATE_TEST_SUITE_P(
    Sorts, DatasetSortTest,
    ::testing::Values(
        SortCase{"KindAscending", "Kind", Qt::AscendingOrder, {"2", "3", "4", "1", "5"}},
        SortCase{"KindDescending", "kind", Qt::DescendingOrder, {"5", "1", "3", "4", "2"}},
        SortCase{"NameAscending", "name", Qt::AscendingOrder, {"5", "4", "1", "2", "3"}},
        SortCase{"NameDescending", "name", Qt::DescendingOrder, {"3", "2", "1", "4", "5"}},
        SortCase{"EqualKeysKeepTheirOrder",
                 "isEnabled",
                 Qt::DescendingOrder,
                 {"1", "2", "3", "4", "5"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DatasetTest, SortingAgainRefinesThePreviousOrder) {
    openMembers();
    m_members.sortBy("name");
    m_members.sortBy("Kind");
    EXPECT_EQ(ids(), (QStringList{"2", "4", "3", "1", "5"}));
}

TEST_F(DatasetTest, NumbersSortByValue) {
    m_members.setBaseTable(QString());
    m_members.open(QStringLiteral("select id, length(name) * 5 - 10 as n from Cust order by id"));
    m_members.sortBy("n"); // 10, 5, 10, 10, null
    EXPECT_EQ(ids(), (QStringList{"5", "2", "1", "3", "4"}));
}

TEST_F(DatasetTest, RefreshKeepsTheSortAndTheCurrentRecord) {
    openMembers();
    m_members.sortBy("id", Qt::DescendingOrder);
    m_members.moveTo(3); // member 2
    addMember("6", "Lee");
    ASSERT_TRUE(m_members.refresh());
    EXPECT_EQ(ids(), (QStringList{"6", "5", "4", "3", "2", "1"}));
    EXPECT_EQ(m_members.value("id").toString(), QStringLiteral("2"));
}

TEST_F(DatasetTest, CloseDropsRowsAndFields) {
    openMembers();
    QSignalSpy reset(&m_members, &Dataset::wasReset);
    m_members.close();
    EXPECT_EQ(m_members.rowCount(), 0);
    EXPECT_EQ(m_members.fieldCount(), 0);
    EXPECT_EQ(m_members.currentRow(), -1);
    EXPECT_EQ(reset.count(), 1);
}

} // namespace
