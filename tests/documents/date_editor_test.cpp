#include "db/dataset.h"
#include "documents/date_editor.h"
#include "documents/date_field_binder.h"
#include "tests/documents/document_records.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/temp_database.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(DateEditorTest, EmptyIsADateOfItsOwn) {
    DateEditor editor;
    EXPECT_TRUE(editor.isEmpty());
    EXPECT_TRUE(editor.value().isNull());
    EXPECT_TRUE(editor.text().trimmed().isEmpty());

    editor.setValue(QDate(2024, 2, 29));
    EXPECT_FALSE(editor.isEmpty());
    EXPECT_EQ(editor.value(), QDate(2024, 2, 29));
    EXPECT_EQ(editor.text(), QStringLiteral("2024/02/29"));

    editor.setValue(QDate());
    EXPECT_TRUE(editor.isEmpty());
}

TEST(DateEditorTest, StepsStartFromTodayWhenEmpty) {
    DateEditor editor;
    editor.stepBy(1);
    EXPECT_EQ(editor.value(), QDate::currentDate());
    editor.setValue(QDate(2024, 1, 31));
    editor.setCurrentSection(QDateTimeEdit::DaySection);
    editor.stepBy(-1);
    EXPECT_EQ(editor.value(), QDate(2024, 1, 30));
}

TEST(DateEditorTest, EraseKeysEmptyOnlyAWhollySelectedDate) {
    for (const Qt::Key key : {Qt::Key_Delete, Qt::Key_Backspace}) {
        DateEditor editor;
        editor.show();
        editor.setValue(QDate(2024, 5, 6));
        editor.setSelectedSection(QDateTimeEdit::DaySection);
        QTest::keyClick(&editor, key);
        EXPECT_FALSE(editor.isEmpty()) << "only the day was selected";
        editor.setValue(QDate(2024, 5, 6));
        editor.selectAll();
        QTest::keyClick(&editor, key);
        EXPECT_TRUE(editor.isEmpty());
    }
}

TEST(DateEditorTest, TypingIntoAnEmptyEditorBeginsWithTheYear) {
    DateEditor editor;
    editor.show();
    editor.setFocus();
    QTest::keyClicks(&editor, QStringLiteral("2023"));
    EXPECT_EQ(editor.value().year(), 2023);
}

class DateFieldBinderTest : public testing::Test {
protected:
    void SetUp() override {
        doctest::add(
            {.name = QStringLiteral("afternoon"), .date1 = QStringLiteral("2024-03-15 14:30:00")});
        doctest::add({.name = QStringLiteral("undated"), .date1 = QVariant()});
        files.setBaseTable(QStringLiteral("File"));
        files.open(QStringLiteral("select * from File order by Name"));
    }

    TempDatabase database;
    ScriptedPrompt prompt;
    db::Dataset files;
    DateEditor editor;
    DateFieldBinder binder{&files, &editor, QStringLiteral("Date1")};
};

TEST_F(DateFieldBinderTest, ShowsTheCurrentRowsDayAndIsEnabledOnlyWhileEditing) {
    EXPECT_EQ(editor.value(), QDate(2024, 3, 15));
    EXPECT_FALSE(editor.isEnabled());
    files.next();
    EXPECT_TRUE(editor.isEmpty());
    files.edit();
    EXPECT_TRUE(editor.isEnabled());
    files.cancel();
    EXPECT_FALSE(editor.isEnabled());
}

TEST_F(DateFieldBinderTest, KeepsTheStoredTimeUntilTheDateIsChanged) {
    files.edit();
    files.setValue(QStringLiteral("Name"), QStringLiteral("renamed"));
    files.post();
    EXPECT_EQ(doctest::stored(QStringLiteral("renamed"), QStringLiteral("Date1")).toString(),
              QStringLiteral("2024-03-15 14:30:00"));

    files.edit();
    editor.setValue(QDate(2024, 3, 16));
    files.post();
    EXPECT_EQ(doctest::stored(QStringLiteral("renamed"), QStringLiteral("Date1")).toString(),
              QStringLiteral("2024-03-16 00:00:00"));

    files.edit();
    editor.setEmpty();
    files.post();
    EXPECT_TRUE(doctest::stored(QStringLiteral("renamed"), QStringLiteral("Date1")).isNull());
}

TEST_F(DateFieldBinderTest, CancelShowsTheStoredDayAgain) {
    files.edit();
    editor.setValue(QDate(2020, 1, 1));
    files.cancel();
    EXPECT_EQ(editor.value(), QDate(2024, 3, 15));
    EXPECT_EQ(doctest::stored(QStringLiteral("afternoon"), QStringLiteral("Date1")).toString(),
              QStringLiteral("2024-03-15 14:30:00"));
}

TEST_F(DateFieldBinderTest, ChangesOutsideEditingAreNotWritten) {
    editor.setValue(QDate(2020, 1, 1)); // disabled, but set by code all the same
    EXPECT_EQ(files.value(QStringLiteral("Date1")).toString(),
              QStringLiteral("2024-03-15 14:30:00"));
}

} // namespace
