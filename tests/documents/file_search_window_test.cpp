#include "db/dataset.h"
#include "documents/date_editor.h"
#include "documents/file_search_window.h"
#include "tests/documents/document_records.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using doctest::Record;

// The search window working on a query like the document window's.
class FileSearchWindowTest : public testing::Test {
protected:
    void SetUp() override {
        files.setBaseTable(QStringLiteral("File"));
        files.setStatement(QStringLiteral("select * from File"));
    }
    void open() {
        files.open();
        window.show();
    }
    template <class T> T* child(const char* name) {
        T* widget = window.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void setDates(const QDate& from, const QDate& to) {
        child<DateEditor>("DBDateTimeEditEh1")->setValue(from);
        child<DateEditor>("DBDateTimeEditEh2")->setValue(to);
    }
    void search() { QTest::mouseClick(child<QPushButton>("BitBtn1"), Qt::LeftButton); }
    QStringList found() {
        QStringList names;
        for (int row = 0; row < files.rowCount(); ++row)
            names << files.value(row, files.fieldIndex(QStringLiteral("Name"))).toString();
        names.sort();
        return names;
    }
    static Record dated(const QString& name, const QString& date) {
        return {.name = name, .date1 = date};
    }

    TempDatabase database;
    ScriptedPrompt prompt;
    db::Dataset files;
    TFrmFileSearch window{&files};
};

TEST_F(FileSearchWindowTest, OpensWithEmptyTextsAndTheCurrentMonthSoFar) {
    window.show();
    window.hide();
    child<QLineEdit>("Edit3")->setText(QStringLiteral("left over"));
    child<DateEditor>("DBDateTimeEditEh1")->setEmpty();
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("檔案查詢"));
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"})
        EXPECT_TRUE(child<QLineEdit>(name)->text().isEmpty()) << name;
    const QDate today = QDate::currentDate();
    EXPECT_EQ(child<DateEditor>("DBDateTimeEditEh1")->value(),
              QDate(today.year(), today.month(), 1));
    EXPECT_EQ(child<DateEditor>("DBDateTimeEditEh2")->value(), today);
}

TEST_F(FileSearchWindowTest, DefaultsFindThisMonthsRecordsWithAValueInEveryColumn) {
    const QDate today = QDate::currentDate();
    const QDate first(today.year(), today.month(), 1);
    const QString start = first.toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    doctest::add(dated(QStringLiteral("first second"), start));
    doctest::add(dated(QStringLiteral("today's last second"),
                       today.toString(QStringLiteral("yyyy-MM-dd 23:59:59"))));
    doctest::add(dated(QStringLiteral("last month"),
                       first.addDays(-1).toString(QStringLiteral("yyyy-MM-dd 23:59:59"))));
    doctest::add(dated(QStringLiteral("tomorrow"),
                       today.addDays(1).toString(QStringLiteral("yyyy-MM-dd 00:00:00"))));
    doctest::add({.name = QStringLiteral("empty texts"),
                  .kind = QStringLiteral(""),
                  .contentNo = QStringLiteral(""),
                  .contentName = QStringLiteral(""),
                  .memo = QStringLiteral(""),
                  .path = QVariant(),
                  .date1 = start});
    doctest::add({.name = QStringLiteral("null kind"), .kind = QVariant(), .date1 = start});
    doctest::add({.name = QStringLiteral("null number"), .contentNo = QVariant(), .date1 = start});
    doctest::add(
        {.name = QStringLiteral("null activity"), .contentName = QVariant(), .date1 = start});
    doctest::add({.name = QStringLiteral("null summary"), .memo = QVariant(), .date1 = start});
    doctest::add({.name = QStringLiteral("null date"), .date1 = QVariant()});
    doctest::add({.name = QVariant(), .date1 = start});
    open();
    search();
    EXPECT_EQ(found(), (QStringList{QStringLiteral("empty texts"), QStringLiteral("first second"),
                                    QStringLiteral("today's last second")}));
    // The result carries the seven columns the search selects.
    EXPECT_EQ(files.fieldNames(),
              (QStringList{QStringLiteral("Date1"), QStringLiteral("Name"), QStringLiteral("Kind"),
                           QStringLiteral("ContentNo"), QStringLiteral("ContentName"),
                           QStringLiteral("Memo"), QStringLiteral("Path1")}));
}

struct DateCase {
    const char* what;
    QDate from;
    QDate to;
    QStringList found;
};

TEST_F(FileSearchWindowTest, DateBoundsTakeTheWholeOfBothDays) {
    doctest::add(dated(QStringLiteral("a before"), QStringLiteral("2024-02-09 23:59:59")));
    doctest::add(dated(QStringLiteral("b from day start"), QStringLiteral("2024-02-10 00:00:00")));
    doctest::add(dated(QStringLiteral("c to day end"), QStringLiteral("2024-02-20 23:59:59")));
    doctest::add(dated(QStringLiteral("d a second later"), QStringLiteral("2024-02-21 00:00:00")));
    const DateCase cases[] = {
        {"range",
         QDate(2024, 2, 10),
         QDate(2024, 2, 20),
         {QStringLiteral("b from day start"), QStringLiteral("c to day end")}},
        {"one day", QDate(2024, 2, 20), QDate(2024, 2, 20), {QStringLiteral("c to day end")}},
        {"to before from", QDate(2024, 2, 20), QDate(2024, 2, 10), {}},
    };
    open();
    for (const DateCase& c : cases) {
        setDates(c.from, c.to);
        search();
        EXPECT_EQ(found(), c.found) << c.what;
    }
}

struct TextCase {
    const char* box;
    QString typed;
    QStringList found;
};

TEST_F(FileSearchWindowTest, EachTextMatchesAnywhereInItsOwnColumn) {
    const QString date = QStringLiteral("2024-05-05 10:00:00");
    doctest::add({.name = QStringLiteral("甲 報告"),
                  .kind = QStringLiteral("公文"),
                  .contentNo = QStringLiteral("府字第123號"),
                  .contentName = QStringLiteral("春季年會"),
                  .memo = QStringLiteral("O'Brien 出席"),
                  .date1 = date});
    doctest::add({.name = QStringLiteral("乙 紀錄"),
                  .kind = QStringLiteral("合約"),
                  .contentNo = QStringLiteral("府字第456號"),
                  .contentName = QStringLiteral("秋季旅遊"),
                  .memo = QStringLiteral("100% 完成"),
                  .date1 = date});
    doctest::add({.name = QStringLiteral("丙 1000"),
                  .kind = QStringLiteral("公告"),
                  .contentNo = QStringLiteral("A-1"),
                  .contentName = QStringLiteral("年終"),
                  .memo = QStringLiteral("O Brien 1000 完成"),
                  .date1 = date});
    const TextCase cases[] = {
        {"Edit1", QStringLiteral(" 報告 "), {QStringLiteral("甲 報告")}},
        {"Edit2", QStringLiteral("公"), {QStringLiteral("丙 1000"), QStringLiteral("甲 報告")}},
        {"Edit3", QStringLiteral("45"), {QStringLiteral("乙 紀錄")}},
        {"Edit4", QStringLiteral("季"), {QStringLiteral("乙 紀錄"), QStringLiteral("甲 報告")}},
        {"Edit5", QStringLiteral("o'b"), {QStringLiteral("甲 報告")}},
        {"Edit5", QStringLiteral("1%完"), {QStringLiteral("丙 1000"), QStringLiteral("乙 紀錄")}},
    };
    open();
    setDates(QDate(2024, 5, 1), QDate(2024, 5, 31));
    for (const TextCase& c : cases) {
        for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"})
            child<QLineEdit>(name)->clear();
        child<QLineEdit>(c.box)->setText(c.typed);
        search();
        EXPECT_EQ(found(), c.found) << c.box << " " << c.typed.toStdString();
    }
    EXPECT_TRUE(window.isVisible()); // searching leaves the window open
    QTest::mouseClick(child<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(FileSearchWindowTest, EmptiedDateStopsTheSearchAndKeepsTheResult) {
    doctest::add(dated(QStringLiteral("甲"), QStringLiteral("2001-01-01 00:00:00")));
    for (const char* emptied : {"DBDateTimeEditEh1", "DBDateTimeEditEh2"}) {
        open();
        child<DateEditor>(emptied)->setEmpty();
        prompt.expect(QStringLiteral("不是有效的日期"), true, true);
        search();
        EXPECT_EQ(files.state(), db::Dataset::State::Browse) << emptied;
        EXPECT_EQ(files.statement(), QStringLiteral("select * from File")) << emptied;
        EXPECT_EQ(found(), QStringList{QStringLiteral("甲")}) << emptied;
        window.hide();
    }
    ASSERT_EQ(prompt.shown().size(), 2);
    EXPECT_EQ(prompt.shown().last().icon, Prompt::Icon::Error);
}

} // namespace
