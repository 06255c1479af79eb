#include "app/main_window.h"
#include "base/big5.h"
#include "db/connection.h"
#include "members/import/customer_import_window.h"
#include "tests/formats/workbook_files.h"
#include "tests/members/import/import_fixture.h"
#include "tests/members/import/member_list_text.h"
#include "tests/support/modal.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>

namespace {

using namespace test_files;

// The outcome of an import that stored n members.
QString done(int n) {
    return QStringLiteral("導入成功﹕共 %1 筆").arg(n);
}

class MainWindowImportTest : public ImportFixture {
protected:
    // Runs a menu entry through the event loop, as a click would, so that an
    // error reaches the general error report.
    void run(const char* item) {
        auto* action = window.findChild<QAction*>(QLatin1String(item));
        ASSERT_NE(action, nullptr) << item;
        QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
        QCoreApplication::sendPostedEvents(action);
    }

    TFrmMain window;
};

// The menu entry Excel1 reads a workbook from row 3.
class WorkbookMenuTest : public MainWindowImportTest {};

TEST_F(WorkbookMenuTest, DataStartsAtRowThreeWithoutQuestion) {
    const QString path = file(QStringLiteral("members.xlsx"));
    {
        XlsxFile xlsx(path);
        xlsx.putRow(2, memberRow(QStringLiteral("A1"), QStringLiteral("第一位")));
        QStringList third = memberRow(QStringLiteral("A2"), QStringLiteral("第二位"));
        third[21] = QStringLiteral("maybe"); // column 22 is not read here
        xlsx.putRow(3, third);
        xlsx.putRow(4, memberRow(QStringLiteral("A3"), QStringLiteral("第三位")));
    }
    const QString caption = window.windowTitle();
    choose(path);
    prompt.expect(done(2));
    run("Excel1");
    EXPECT_EQ(memberIds(), (QStringList{QStringLiteral("A2"), QStringLiteral("A3")}));
    EXPECT_EQ(member(QStringLiteral("A2")).value(QStringLiteral("isenabled")).toInt(), 1);
    EXPECT_EQ(window.windowTitle(), caption);
    EXPECT_EQ(lastFilter(), QStringLiteral("Excel 或 CSV 檔案 (*.xls *.xlsx *.csv)"));
}

TEST_F(WorkbookMenuTest, SalutationsAreAddedWhenAbsent) {
    db::run(QStringLiteral("insert into CWNames(Name) values('Mr')"));
    const QString path = file(QStringLiteral("members.xlsx"));
    {
        XlsxFile xlsx(path);
        const QStringList salutations = {QStringLiteral(" 小姐 "), QStringLiteral("MR"),
                                         QStringLiteral("小姐"), QStringLiteral("  "),
                                         QStringLiteral("博士")};
        for (int i = 0; i < salutations.size(); ++i) {
            QStringList row = memberRow(QStringLiteral("S%1").arg(i), QStringLiteral("會員"));
            row[2] = salutations.at(i);
            xlsx.putRow(i + 3, row);
        }
    }
    choose(path);
    prompt.expect(done(5));
    run("Excel1");
    EXPECT_EQ(memberIds().size(), 5);
    EXPECT_EQ(salutations(),
              (QStringList{QStringLiteral("Mr"), QStringLiteral("小姐"), QStringLiteral("博士")}));
}

TEST_F(WorkbookMenuTest, FailureRollsBackTheSalutationsToo) {
    const QString path = file(QStringLiteral("members.xlsx"));
    {
        XlsxFile xlsx(path);
        QStringList good = memberRow(QStringLiteral("A1"), QStringLiteral("好"));
        good[2] = QStringLiteral("老師");
        xlsx.putRow(3, good);
        QStringList bad = memberRow(QStringLiteral("A2"), QStringLiteral("壞"));
        bad[8] = QStringLiteral("不是日期");
        xlsx.putRow(4, bad);
    }
    choose(path);
    prompt.expect(QStringLiteral("導入失敗\n第 4 列 I 欄「不是日期」不是有效的日期"));
    run("Excel1");
    EXPECT_TRUE(memberIds().isEmpty());
    EXPECT_TRUE(salutations().isEmpty());
}

TEST_F(MainWindowImportTest, CustomerImportItemOpensTheImportWindowModally) {
    QString opened;
    whenModalShows([&opened](QWidget* modal) {
        if (dynamic_cast<TFrmCustomerFromExcel*>(modal))
            opened = modal->objectName();
    });
    run("N16");
    EXPECT_EQ(opened, QStringLiteral("FrmCustomerFromExcel"));
}

// The menu entry N1 reads a printed member list.
class TextImportTest : public MainWindowImportTest {
protected:
    QString list(const QByteArray& text) {
        const QString path = file(QStringLiteral("members.txt"));
        writeFile(path, text);
        return path;
    }
    QString status() const { return window.statusPanel()->text(); }

    // The caption of every box shown must be the import's own.
    void expectCaptions() {
        for (const ScriptedPrompt::Box& box : prompt.shown())
            EXPECT_EQ(box.caption, QStringLiteral("數據導入"));
    }

    const QString kError = QStringLiteral("導入錯誤");
};

TEST_F(TextImportTest, TwoPagesOfThreeMembers) {
    const QList<ListMember> first = listMembers(1, 3);
    const QList<ListMember> second = listMembers(4, 3);
    choose(QStringLiteral("  ") + list(listPage(first, 1) + listPage(second, 2)) +
           QStringLiteral(" "));
    QString statusDuringBox;
    prompt.onBox = [&] { statusDuringBox = status(); };
    prompt.expect(done(6));
    run("N1");
    EXPECT_EQ(statusDuringBox, QStringLiteral("正在導入數據....."));
    EXPECT_EQ(status(), QString());
    ASSERT_EQ(memberIds().size(), 6);
    for (const ListMember& written : first + second) {
        const QVariantMap stored = member(written.id);
        ASSERT_FALSE(stored.isEmpty()) << written.id.toStdString();
        EXPECT_EQ(stored.value(QStringLiteral("name")), written.name);
        EXPECT_EQ(stored.value(QStringLiteral("hometel")), written.homeTel);
        EXPECT_EQ(stored.value(QStringLiteral("mgbirthday")), written.birthday);
        EXPECT_EQ(stored.value(QStringLiteral("address")), written.address);
        EXPECT_EQ(stored.value(QStringLiteral("tel")), written.tel);
        EXPECT_EQ(stored.value(QStringLiteral("memo")), written.memo);
        EXPECT_EQ(stored.value(QStringLiteral("isenabled")).toInt(), 1);
    }
    EXPECT_EQ(member(first[0].id).value(QStringLiteral("birthday")),
              QStringLiteral("1962-02-15 00:00:00")); // 51/02/15
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown().first().icon, Prompt::Icon::Information);
    expectCaptions();
}

TEST_F(TextImportTest, MemberWithoutBirthdayHasNeitherDate) {
    QList<ListMember> members = listMembers(1, 2);
    members[1].birthday = QStringLiteral("/  /");
    choose(list(listPage(members, 1)));
    prompt.expect(done(2));
    run("N1");
    const QVariantMap stored = member(members[1].id);
    ASSERT_FALSE(stored.isEmpty());
    EXPECT_TRUE(stored.value(QStringLiteral("birthday")).isNull());
    EXPECT_TRUE(stored.value(QStringLiteral("mgbirthday")).isNull());
    EXPECT_FALSE(member(members[0].id).value(QStringLiteral("birthday")).isNull());
}

// Members born in 2011 or later have a three-digit Minguo year, which fills
// the birthday's nine bytes; the member window stores such years too.
TEST_F(TextImportTest, TwoAndThreeDigitYearsAreRead) {
    QList<ListMember> members = listMembers(1, 3);
    members[0].birthday = QStringLiteral("100/01/01");
    members[1].birthday = QStringLiteral("99/12/31");
    members[2].birthday = QStringLiteral("113/2/29");
    choose(list(listPage(members, 1)));
    prompt.expect(done(3));
    run("N1");
    const std::pair<const char*, const char*> stored[] = {{"100/01/01", "2011-01-01 00:00:00"},
                                                          {"99/12/31", "2010-12-31 00:00:00"},
                                                          {"113/2/29", "2024-02-29 00:00:00"}};
    for (int i = 0; i < 3; ++i) {
        const QVariantMap values = member(members[i].id);
        EXPECT_EQ(values.value(QStringLiteral("mgbirthday")).toString(),
                  QString::fromUtf8(stored[i].first));
        EXPECT_EQ(values.value(QStringLiteral("birthday")).toString(),
                  QString::fromUtf8(stored[i].second));
    }
    expectCaptions();
}

TEST_F(TextImportTest, FaultsRollBackEveryMemberOfTheFile) {
    const QList<ListMember> members = listMembers(1, 3);
    QByteArray strayBlank = listPage(members, 1);
    strayBlank.insert(strayBlank.indexOf(memberLines(members[1])), "\r\n");
    QList<ListMember> duplicate = members;
    duplicate[2].id = members[0].id;
    QList<ListMember> badYear = members;
    badYear[2].birthday = QStringLiteral("AB/12/31");
    QList<ListMember> badDate = members;
    badDate[2].birthday = QStringLiteral("65/02/30");
    QList<ListMember> badLongDate = members;
    badLongDate[2].birthday = QStringLiteral("100/02/30");
    // The third member's first line is line 26: after the title and its
    // ten heading lines, and two members of seven lines.
    const struct {
        const char* name;
        QByteArray text;
        QString reason; // empty: any reason naming a line
    } cases[] = {
        {"stray blank line", strayBlank, QString()},
        {"number twice", listPage(duplicate, 1),
         QStringLiteral("第 26 行 會員編號「%1」已經有了，不能重複").arg(members[0].id)},
        {"year not a number", listPage(badYear, 1),
         QStringLiteral("第 26 行 生日「AB/12/31」的年份不是整數")},
        {"no such day", listPage(badDate, 1),
         QStringLiteral("第 26 行 生日「65/02/30」不是有效的日期")},
        {"no such day of a three-digit year", listPage(badLongDate, 1),
         QStringLiteral("第 26 行 生日「100/02/30」不是有效的日期")},
    };
    keepNumbersUnique();
    addMember(QStringLiteral("OLD"));
    for (const auto& [name, text, reason] : cases) {
        choose(list(text));
        if (reason.isEmpty())
            prompt.expect(kError + QStringLiteral("\n第 "), true, true);
        else
            prompt.expect(kError + '\n' + reason);
        run("N1");
        ASSERT_FALSE(prompt.shown().isEmpty()) << name;
        EXPECT_TRUE(prompt.shown().last().text.startsWith(kError + QStringLiteral("\n第 ")))
            << name;
        EXPECT_EQ(memberIds(), QStringList{QStringLiteral("OLD")}) << name;
        EXPECT_EQ(status(), QString()) << name;
        ASSERT_FALSE(prompt.shown().isEmpty());
        EXPECT_EQ(prompt.shown().last().icon, Prompt::Icon::Error) << name;
    }
    expectCaptions();
}

TEST_F(TextImportTest, CancelledDialogChangesNothingAlsoAfterAnImport) {
    choose(list(listPage(listMembers(1, 2), 1)));
    prompt.expect(done(2));
    run("N1");
    ASSERT_EQ(memberIds().size(), 2);
    choose(QString());
    run("N1");
    EXPECT_EQ(dialogsShown(), 2);
    EXPECT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(memberIds().size(), 2);
}

TEST_F(TextImportTest, FileThatCannotBeOpenedIsReportedBeforeAnything) {
    const QString missing = file(QStringLiteral("missing.txt"));
    choose(missing);
    prompt.expect(missing, true, true); // the general error report
    run("N1");
    EXPECT_TRUE(memberIds().isEmpty());
    EXPECT_EQ(status(), QString());
}

} // namespace
