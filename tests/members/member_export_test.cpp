// 匯出 in the member window: the listed members with the grid's visible
// columns, in the order and under the captions on the screen (captions the
// settings changed included), to .csv and .xlsx; or in the import's layout.
#include "tests/members/member_window_fixture.h"

#include "db/connection.h"
#include "members/member_search.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QRegularExpression>
#include <zip.h>

namespace {

class MemberExportTest : public MemberWindowTest {
protected:
    MemberExportTest() {
        db::run(QStringLiteral("insert into SystemSet(CW, Memo1) values('會員等級', '喜好')"));
        addMember("007", "陳一",
                  {{"Tel", "02-1"},
                   {"CDTel", "0912000001"},
                   {"Kind", "金卡"},
                   {"birthday", "1976-02-29 00:00:00"},
                   {"MGBirthday", "65/02/29"},
                   {"Memo", "咖啡, \"黑\""}});
        addMember("010", "林二", {{"Tel", "04-2"}});
    }

    QString exportTo(const char* name, const char* action, int expectedRows) {
        const QString path = QDir(folder.path()).filePath(QLatin1String(name));
        window->setExportFileChooser([path] { return path; });
        prompt.expect(QStringLiteral("匯出成功﹕共 %1 筆").arg(expectedRows));
        auto* act = window->findChild<QAction*>(QLatin1String(action));
        EXPECT_NE(act, nullptr);
        if (act)
            act->trigger();
        EXPECT_EQ(prompt.pending(), 0);
        return path;
    }

    static QStringList csvLines(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
        return QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }

    static QString sheetXml(const QString& path) {
        int error = 0;
        zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
        EXPECT_NE(archive, nullptr);
        if (!archive)
            return {};
        zip_stat_t stat;
        zip_stat(archive, "xl/worksheets/sheet1.xml", 0, &stat);
        zip_file_t* entry = zip_fopen(archive, "xl/worksheets/sheet1.xml", 0);
        QByteArray bytes(qsizetype(stat.size), '\0');
        if (entry) {
            zip_fread(entry, bytes.data(), stat.size);
            zip_fclose(entry);
        }
        zip_close(archive);
        return QString::fromUtf8(bytes);
    }
};

TEST_F(MemberExportTest, GridColumnsInScreenOrderUnderChangedCaptions) {
    openFromMenu();
    searchAll();
    // The user moved 類別 (now 會員等級) first and hid 稱謂.
    header()->moveSection(header()->visualIndex(columnOf("Kind")), 0);
    header()->setSectionHidden(columnOf("Name1"), true);
    const QStringList lines = csvLines(exportTo("grid.csv", "ActExportGrid", 2));
    ASSERT_EQ(lines.size(), 3);
    const QStringList captions = lines[0].split(',');
    EXPECT_EQ(captions.mid(0, 4), (QStringList{QStringLiteral("會員等級"), QStringLiteral("編號"),
                                               QStringLiteral("姓名"), QStringLiteral("電話")}));
    EXPECT_FALSE(captions.contains(QStringLiteral("稱謂")));
    EXPECT_TRUE(captions.contains(QStringLiteral("喜好")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("金卡,007,陳一,02-1,0912000001,")))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(QStringLiteral("\"咖啡, \"\"黑\"\"\"")))
        << lines[1].toStdString();
}

TEST_F(MemberExportTest, WorkbookHasDateCellsAndNumbersAsText) {
    openFromMenu();
    searchAll();
    header()->setSectionHidden(columnOf("birthday"), false);
    header()->moveSection(header()->visualIndex(columnOf("birthday")), 1);
    const QString xml = sheetXml(exportTo("grid.xlsx", "ActExportGrid", 2));
    // Column B holds the calendar birthday: a number with a date format.
    const int serial = int(QDate(1899, 12, 30).daysTo(QDate(1976, 2, 29)));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("<c r=\"B2\" s=\"\\d+\"><v>%1</v></c>").arg(serial))
            .match(xml)
            .hasMatch())
        << xml.left(2000).toStdString();
    // The number and the telephone are text cells.
    EXPECT_TRUE(xml.contains(QStringLiteral("<c r=\"A2\" t=\"inlineStr\"><is><t>007</t></is></c>")))
        << xml.left(2000).toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("<t>0912000001</t>")));
}

TEST_F(MemberExportTest, ImportLayoutWritesTheListedMembersInTheImportColumns) {
    openFromMenu();
    chooseCriterion(members::search::Tel);
    type("ComboBox2", QStringLiteral("02"));
    press("BitBtn1");
    const QStringList lines = csvLines(exportTo("import.csv", "ActExportImport", 1));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].split(',').size(), 22);
    EXPECT_EQ(lines[0].section(',', 0, 0), QStringLiteral("會員編號"));
    const QStringList cells = lines[1].split(',');
    EXPECT_EQ(cells.value(0), QStringLiteral("007"));
    EXPECT_EQ(cells.value(8), QStringLiteral("1976/02/29"));
    EXPECT_EQ(cells.value(9), QStringLiteral("65/02/29"));
    EXPECT_EQ(lines[1].section(',', -1), QStringLiteral("TRUE"));
}

TEST_F(MemberExportTest, CancelledDialogWritesNothing) {
    openFromMenu();
    searchAll();
    window->setExportFileChooser([] { return QString(); });
    window->findChild<QAction*>(QStringLiteral("ActExportGrid"))->trigger();
    EXPECT_TRUE(prompt.shown().isEmpty());
    EXPECT_TRUE(QDir(folder.path()).entryList({"*.csv", "*.xlsx"}).isEmpty());
}

} // namespace
