#include "members/grid_layout.h"
#include "members/ini_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using members::ColumnLayout;

QString readAll(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll());
}

TEST(ColumnLayoutTest, WritesSevenNumbers) {
    ColumnLayout layout{3, 120, 1, 0, 0, 7, 0};
    EXPECT_EQ(members::formatColumnLayout(layout), QStringLiteral("3,120,1,0,0,7,0"));
}

TEST(ColumnLayoutTest, AWordMissingOrNotANumberKeepsTheCurrentValue) {
    const ColumnLayout current{5, 64, 2, 1, 4, 9, 33};
    const ColumnLayout read = members::parseColumnLayout(QStringLiteral("1,x,0,,abc"), current);
    EXPECT_EQ(read.position, 1);
    EXPECT_EQ(read.width, 64);
    EXPECT_EQ(read.marker, 0);
    EXPECT_EQ(read.visible, 1);
    EXPECT_EQ(read.sortIndex, 0); // falls back to 0, not to the current 4
    EXPECT_EQ(read.dropDownRows, 9);
    EXPECT_EQ(read.dropDownWidth, 33);
}

class IniFileTest : public testing::Test {
protected:
    QString path() const { return folder.filePath(QStringLiteral("DBGRidEhStatus.ini")); }
    QTemporaryDir folder;
};

TEST_F(IniFileTest, MissingFileOrSectionReadsAsNothing) {
    EXPECT_TRUE(members::ini::readSection(path(), QStringLiteral("A")).isEmpty());
}

TEST_F(IniFileTest, WritesASectionAndReadsItBack) {
    members::ini::writeSection(path(), QStringLiteral("FrmCustDBGridEh1"),
                               {{"DBGridEh1.id", "0,64,0,1,0,7,0"}, {"(Default)", "20,1"}});
    EXPECT_EQ(readAll(path()),
              QStringLiteral("[FrmCustDBGridEh1]\r\nDBGridEh1.id=0,64,0,1,0,7,0\r\n"
                             "(Default)=20,1\r\n"));
    const auto entries = members::ini::readSection(path(), QStringLiteral("frmcustdbgrideh1"));
    ASSERT_EQ(entries.size(), 2);
    bool found = false;
    EXPECT_EQ(members::ini::value(entries, QStringLiteral("dbgrideh1.ID"), &found),
              QStringLiteral("0,64,0,1,0,7,0"));
    EXPECT_TRUE(found);
    members::ini::value(entries, QStringLiteral("other"), &found);
    EXPECT_FALSE(found);
}

TEST_F(IniFileTest, RewritingKeepsOtherKeysAndSections) {
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Other]\nx=1\n\n[Grid]\nold=keep\nDBGridEh1.id=9\n");
    file.close();
    members::ini::writeSection(path(), QStringLiteral("Grid"),
                               {{"DBGridEh1.id", "0"}, {"DBGridEh1.name", "1"}});
    EXPECT_EQ(readAll(path()), QStringLiteral("[Other]\r\nx=1\r\n\r\n[Grid]\r\nold=keep\r\n"
                                              "DBGridEh1.id=0\r\nDBGridEh1.name=1\r\n"));
}

} // namespace
