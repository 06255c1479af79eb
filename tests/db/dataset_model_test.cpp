#include "tests/db/db_fixture.h"

#include "db/dataset.h"
#include "db/dataset_model.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using db::Dataset;
using db::DatasetModel;

using namespace dbtest;

namespace {

// Three members in a grid of three chosen columns.
class DatasetModelTest : public DbTest {
protected:
    void SetUp() override {
        addMember("1", "Chen", "A");
        addMember("2", "Lin", "B");
        addMember("3", "Wang");
        m_members.setBaseTable("Cust");
        m_model.setColumns({{"id", "編號"}, {"name", "姓名"}, {"isEnabled", "有效"}});
        m_model.attachView(&m_view);
        m_members.open(QStringLiteral("select * from Cust order by id"));
        m_view.resize(400, 300);
        m_view.show();
    }

    QString cell(int row, int column) const {
        return m_view.model()->index(row, column).data().toString();
    }

    Dataset m_members;
    DatasetModel m_model{&m_members};
    QTableView m_view;
};

TEST_F(DatasetModelTest, ViewShowsTheRowsUnderTheChosenTitles) {
    ASSERT_EQ(m_view.model()->rowCount(), 3);
    ASSERT_EQ(m_view.model()->columnCount(), 3);
    EXPECT_EQ(m_view.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("姓名"));
    const QStringList expected{"1", "Chen", "2", "Lin", "3", "Wang"};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(cell(row, 0), expected[row * 2]);
        EXPECT_EQ(cell(row, 1), expected[row * 2 + 1]);
    }
    EXPECT_EQ(m_view.rowAt(m_view.visualRect(m_model.index(2, 0)).center().y()), 2);
}

TEST_F(DatasetModelTest, AllFieldsAreShownWhenNoColumnsAreChosen) {
    DatasetModel all(&m_members);
    EXPECT_EQ(all.columnCount(), 24);
    EXPECT_EQ(all.headerData(0, Qt::Horizontal).toString(), QStringLiteral("id"));
    m_members.open(QStringLiteral("select id, name from Cust"));
    EXPECT_EQ(all.columnCount(), 2);
}

TEST_F(DatasetModelTest, SelectingARowInTheViewMovesTheDataset) {
    QSignalSpy moved(&m_members, &Dataset::movedTo);
    const QRect cellRect = m_view.visualRect(m_model.index(2, 1));
    QTest::mouseClick(m_view.viewport(), Qt::LeftButton, {}, cellRect.center());
    EXPECT_EQ(m_members.currentRow(), 2);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved[0], (QVariantList{3, 3}));
    EXPECT_EQ(m_model.rowForIndex(m_view.currentIndex()), 2);
}

TEST_F(DatasetModelTest, MovingTheDatasetSelectsTheRowInTheView) {
    m_members.last();
    EXPECT_EQ(m_view.currentIndex().row(), 2);
    EXPECT_TRUE(m_view.selectionModel()->isRowSelected(2));
    m_members.first();
    EXPECT_EQ(m_view.currentIndex().row(), 0);
}

TEST_F(DatasetModelTest, AppendAndCancelAddAndRemoveTheRow) {
    m_members.append();
    EXPECT_EQ(m_view.model()->rowCount(), 4);
    EXPECT_EQ(m_view.currentIndex().row(), 3);
    m_members.setValue("name", "Wu");
    EXPECT_EQ(cell(3, 1), QStringLiteral("Wu"));
    m_members.cancel();
    EXPECT_EQ(m_view.model()->rowCount(), 3);
    EXPECT_EQ(m_view.currentIndex().row(), 0);
    EXPECT_EQ(m_members.state(), Dataset::State::Browse);
}

TEST_F(DatasetModelTest, DeleteRemovesTheRowAndTheViewFollows) {
    m_members.moveTo(1);
    m_members.remove();
    EXPECT_EQ(m_view.model()->rowCount(), 2);
    EXPECT_EQ(cell(1, 1), QStringLiteral("Wang"));
    EXPECT_EQ(m_view.currentIndex().row(), 1);
}

TEST_F(DatasetModelTest, SortingTheModelSortsTheDataset) {
    m_view.setSortingEnabled(true);
    m_view.horizontalHeader()->setSortIndicator(1, Qt::DescendingOrder);
    EXPECT_EQ(cell(0, 1), QStringLiteral("Wang"));
    EXPECT_EQ(m_members.value(0, m_members.fieldIndex("name")).toString(), QStringLiteral("Wang"));
}

TEST_F(DatasetModelTest, YesNoFieldShownAsCheckBoxAndToggledInBatchMode) {
    m_model.setCheckBoxField("isEnabled");
    m_model.setEditable(true);
    m_members.setBatchMode(true);
    const QModelIndex flag = m_model.index(1, 2);
    EXPECT_EQ(flag.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    EXPECT_FALSE(flag.data(Qt::DisplayRole).isValid());
    EXPECT_TRUE(m_model.flags(flag) & Qt::ItemIsUserCheckable);
    ASSERT_TRUE(m_model.setData(flag, Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_EQ(flag.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
    EXPECT_EQ(m_members.value("isEnabled").toInt(), 0);
    EXPECT_EQ(m_members.state(), Dataset::State::Browse);
    EXPECT_EQ(count("Cust where isEnabled = 0"), 0);
}

TEST_F(DatasetModelTest, ReadOnlyModelRefusesEdits) {
    EXPECT_FALSE(m_model.flags(m_model.index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m_model.setData(m_model.index(0, 1), "Wu"));
    EXPECT_EQ(m_members.value("name").toString(), QStringLiteral("Chen"));
}

TEST_F(DatasetModelTest, RefusedPostKeepsTheViewOnTheEditedRow) {
    m_members.addBeforePost([] { return false; });
    m_members.edit();
    m_view.selectRow(2);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_members.currentRow(), 0);
    EXPECT_EQ(m_members.state(), Dataset::State::Edit);
    EXPECT_EQ(m_view.currentIndex().row(), 0);
}

TEST_F(DatasetModelTest, PostRefusedByTheDatabaseKeepsTheViewOnTheEditedRow) {
    m_members.edit();
    m_members.setValue("name", QString(11, QLatin1Char('x'))); // over name's 10
    EXPECT_ANY_THROW(m_view.selectRow(2));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_members.currentRow(), 0);
    EXPECT_EQ(m_members.state(), Dataset::State::Edit);
    EXPECT_EQ(m_view.currentIndex().row(), 0);
    EXPECT_TRUE(m_view.selectionModel()->isRowSelected(0));
    EXPECT_FALSE(m_view.selectionModel()->isRowSelected(2));
}

} // namespace
