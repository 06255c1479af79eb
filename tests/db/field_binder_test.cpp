#include "tests/db/db_fixture.h"

#include "db/dataset.h"
#include "db/field_binder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using db::Dataset;
using db::FieldBinder;

using namespace dbtest;

namespace {

// A small member form: one editor of each kind and a label.
class FieldBinderTest : public DbTest {
protected:
    void SetUp() override {
        addMember("1", "Chen", "A");
        addMember("2", "Lin", "B");
        exec("update Cust set Memo5 = :memo where id = '1'",
             {{"memo", QStringLiteral("line one\nline two")}});
        m_kind.setEditable(true);
        m_kind.addItems({"A", "B"});
        m_binder.bind(&m_id, "id");
        m_binder.bind(&m_name, "name");
        m_binder.bind(&m_kind, "Kind");
        m_binder.bind(&m_enabled, "isEnabled");
        m_binder.bind(&m_history, "Memo5");
        m_binder.bind(&m_caption, "name");
        m_members.setBaseTable("Cust");
        m_members.open(QStringLiteral("select * from Cust order by id"));
        m_form.show();
    }

    QList<QWidget*> editors() { return {&m_id, &m_name, &m_kind, &m_enabled, &m_history}; }

    Dataset m_members;
    FieldBinder m_binder{&m_members};
    QWidget m_form;
    QLineEdit m_id{&m_form};
    QLineEdit m_name{&m_form};
    QComboBox m_kind{&m_form};
    QCheckBox m_enabled{&m_form};
    QPlainTextEdit m_history{&m_form};
    QLabel m_caption{&m_form};
};

TEST_F(FieldBinderTest, WidgetsShowTheCurrentRow) {
    EXPECT_EQ(m_id.text(), QStringLiteral("1"));
    EXPECT_EQ(m_kind.currentText(), QStringLiteral("A"));
    EXPECT_TRUE(m_enabled.isChecked());
    EXPECT_EQ(m_history.toPlainText(), QStringLiteral("line one\nline two"));
    EXPECT_EQ(m_caption.text(), QStringLiteral("Chen"));
    m_members.next();
    EXPECT_EQ(m_name.text(), QStringLiteral("Lin"));
    EXPECT_EQ(m_kind.currentText(), QStringLiteral("B"));
    EXPECT_TRUE(m_history.toPlainText().isEmpty());
    m_members.close();
    EXPECT_TRUE(m_name.text().isEmpty());
}

TEST_F(FieldBinderTest, EditorsAreEnabledExactlyWhileEditing) {
    struct Step {
        const char* name;
        std::function<void()> act;
        bool enabled;
    };
    const std::vector<Step> steps = {
        {"browse", [] {}, false},
        {"edit", [this] { m_members.edit(); }, true},
        {"cancel", [this] { m_members.cancel(); }, false},
        {"append", [this] { m_members.append(); }, true},
        {"post", [this] { m_members.post(); }, false},
        {"close", [this] { m_members.close(); }, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        for (QWidget* editor : editors())
            EXPECT_EQ(editor->isEnabled(), step.enabled) << editor->metaObject()->className();
        EXPECT_TRUE(m_caption.isEnabled());
    }
}

TEST_F(FieldBinderTest, TypedValuesArePostedAndCancelShowsTheOldOnes) {
    m_members.edit();
    m_name.clear();
    QTest::keyClicks(&m_name, "Wu");
    QTest::keyClicks(m_kind.lineEdit(), "Z");
    m_enabled.click();
    EXPECT_EQ(m_caption.text(), QStringLiteral("Wu"));
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(column("select name || Kind || isEnabled from Cust where id = '1'"),
              QStringList{"WuAZ0"});
    m_members.edit();
    QTest::keyClicks(&m_name, "ng");
    m_members.cancel();
    EXPECT_EQ(m_name.text(), QStringLiteral("Wu"));
    EXPECT_EQ(column("select name from Cust where id = '1'"), QStringList{"Wu"});
}

TEST_F(FieldBinderTest, TextSetByTheWindowWhileEditingIsStored) {
    m_members.append();
    m_id.setText("3");
    m_history.setPlainText("worked\nretired");
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(column("select Memo5 from Cust where id = '3'"), QStringList{"worked\nretired"});
}

TEST_F(FieldBinderTest, EmptiedEditorStoresNull) {
    m_members.edit();
    m_kind.setEditText(QString());
    ASSERT_TRUE(m_members.post());
    EXPECT_EQ(column("select Kind from Cust where id = '1'"), QStringList{"<null>"});
}

TEST_F(FieldBinderTest, TextChangedOutsideEditingIsNotStored) {
    m_name.setText("Wu");
    EXPECT_EQ(m_members.value("name").toString(), QStringLiteral("Chen"));
    m_members.edit();
    EXPECT_EQ(m_members.value("name").toString(), QStringLiteral("Chen"));
    EXPECT_EQ(m_name.text(), QStringLiteral("Chen"));
}

TEST_F(FieldBinderTest, ValuesSetByCodeAreShown) {
    m_members.edit();
    m_members.setValue("name", "Lee");
    EXPECT_EQ(m_name.text(), QStringLiteral("Lee"));
    EXPECT_EQ(m_caption.text(), QStringLiteral("Lee"));
}

TEST_F(FieldBinderTest, RefillingAComboBoxListKeepsItsTextAndTheValue) {
    m_members.edit();
    m_kind.setEditText("Typed");
    QSignalSpy changes(&m_members, &Dataset::dataChanged);
    FieldBinder::replaceItems(&m_kind, {"C", "D"});
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(m_kind.currentText(), QStringLiteral("Typed"));
    EXPECT_EQ(m_kind.count(), 2);
    EXPECT_EQ(m_members.value("Kind").toString(), QStringLiteral("Typed"));
}

} // namespace
