#include "base/big5.h"
#include "db/connection.h"
#include "members/import/customer_import_window.h"
#include "members/import/import_hooks.h"
#include "members/import/import_progress.h"
#include "tests/formats/workbook_files.h"
#include "tests/members/import/import_fixture.h"
#include "tests/support/modal.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>

namespace {

using namespace test_files;

const QString kQuestion = QStringLiteral("是否刪除舊資料﹖");
// The outcome of an import that stored n members.
QString done(int n) {
    return QStringLiteral("導入成功﹕共 %1 筆").arg(n);
}
const QString kFailed = QStringLiteral("導入失敗");

class CustomerImportWindowTest : public ImportFixture {
protected:
    CustomerImportWindowTest() { window.show(); }

    // What to do with the preview the import shows before it writes.
    enum class Preview { Confirm, NotShown };

    void clickImport(Preview preview = Preview::Confirm) {
        if (preview == Preview::Confirm)
            whenModalShows([](QWidget* modal) {
                auto* confirm = modal->findChild<QPushButton*>(QStringLiteral("btnImport"));
                ASSERT_NE(confirm, nullptr) << modal->objectName().toStdString();
                EXPECT_TRUE(confirm->isDefault());
                QTest::keyClick(modal, Qt::Key_Return);
            });
        auto* button = window.findChild<QPushButton*>(QStringLiteral("btnExcel"));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // A workbook with a heading row and the members from row 2.
    QString workbook(const QList<QStringList>& members, const char* name = "members.xlsx") {
        const QString path = file(QLatin1String(name));
        XlsxFile xlsx(path);
        xlsx.putRow(1, {QStringLiteral("會員編號"), QStringLiteral("姓名")});
        for (qsizetype i = 0; i < members.size(); ++i)
            xlsx.putRow(int(i) + 2, members.at(i));
        return path;
    }

    // Expects the next preview to list reason as an error of its row, with
    // 導入 off and 取消 the default; it is then closed.
    static void expectRefusedInPreview(const char* reason) {
        whenModalShows([reason](QWidget* modal) {
            auto* rows = modal->findChild<QTableWidget*>(QStringLiteral("gridRows"));
            ASSERT_NE(rows, nullptr);
            ASSERT_GE(rows->rowCount(), 1);
            const int last = rows->rowCount() - 1;
            EXPECT_EQ(rows->item(last, 1)->text(), QStringLiteral("錯誤"));
            EXPECT_EQ(rows->item(last, 3)->text(), QString::fromUtf8(reason));
            EXPECT_FALSE(modal->findChild<QPushButton*>(QStringLiteral("btnImport"))->isEnabled());
            EXPECT_TRUE(modal->findChild<QPushButton*>(QStringLiteral("btnCancel"))->isDefault());
        });
    }

    TFrmCustomerFromExcel window;
};

// Records the captions a window takes.
class CaptionChanges : public QObject {
public:
    QStringList captions;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowTitleChange)
            captions << static_cast<QWidget*>(watched)->windowTitle();
        return QObject::eventFilter(watched, event);
    }
};

// A window manager redraws each caption change: the caption follows the
// rows a few times a second, not once a row, ends on the next row and then
// gives way to the window's own caption.
TEST_F(CustomerImportWindowTest, CaptionChangesAFewTimesASecondAndEndsOnTheNextRow) {
    constexpr int kRows = 5000;
    QList<QStringList> rows{{QStringLiteral("會員編號")}};
    for (int i = 1; i <= kRows; ++i)
        rows.append(memberRow(QStringLiteral("N%1").arg(i), QStringLiteral("會員")));
    const QString path = file(QStringLiteral("many.csv"));
    writeFile(path, csvText(rows).toUtf8());
    choose(path);
    prompt.expect(kQuestion, false);
    prompt.expect(done(kRows));
    CaptionChanges changes;
    window.installEventFilter(&changes);
    QElapsedTimer timer;
    timer.start();
    clickImport();
    const qint64 elapsed = timer.elapsed();
    window.removeEventFilter(&changes);
    ASSERT_GE(changes.captions.size(), 2);
    EXPECT_EQ(changes.captions.at(changes.captions.size() - 2), QString::number(kRows + 2));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("客戶資料導入"));
    // The rows' captions, and the window's own one at the end.
    EXPECT_LE(changes.captions.size(), 3 + elapsed / 100) << elapsed << " ms";
    EXPECT_EQ(memberIds().size(), kRows);
}

TEST_F(CustomerImportWindowTest, ControlsHaveTheirNames) {
    EXPECT_EQ(window.objectName(), QStringLiteral("FrmCustomerFromExcel"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("客戶資料導入"));
    auto* button = window.findChild<QPushButton*>(QStringLiteral("btnExcel"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("從Excel檔轉入資料到客戶管理"));
    auto* link = window.findChild<QLabel*>(QStringLiteral("Label25"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->text(), QStringLiteral("下載Excel樣本檔案"));
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(CustomerImportWindowTest, TenMembersFromRowTwoShowTwelveThenTheOwnCaption) {
    addMember(QStringLiteral("OLD"));
    QList<QStringList> rows;
    for (int i = 1; i <= 10; ++i)
        rows.append(memberRow(QStringLiteral("A%1").arg(i), QStringLiteral("會員%1").arg(i)));
    choose(workbook(rows));
    prompt.expect(kQuestion, false);
    prompt.expect(done(10));
    CaptionChanges changes;
    window.installEventFilter(&changes);
    clickImport();
    window.removeEventFilter(&changes);
    EXPECT_EQ(changes.captions,
              (QStringList{QStringLiteral("12"), QStringLiteral("客戶資料導入")}));
    QStringList expected{QStringLiteral("OLD")};
    for (int i = 1; i <= 10; ++i)
        expected.append(QStringLiteral("A%1").arg(i));
    EXPECT_EQ(memberIds(), expected);
    ASSERT_GE(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown().first().caption, QStringLiteral("提示"));
    EXPECT_TRUE(lastFilter().contains(QStringLiteral("*.xls")));
}

TEST_F(CustomerImportWindowTest, EveryColumnGoesToItsField) {
    QStringList row;
    for (int column = 1; column <= 22; ++column)
        row.append(QStringLiteral(" 值%1 ").arg(column));
    row[0] = QStringLiteral(" 007 ");
    row[8] = QStringLiteral(" 1976/12/31 ");
    row[21] = QStringLiteral(" 否 ");
    choose(workbook({row}));
    prompt.expect(kQuestion, false);
    prompt.expect(done(1));
    clickImport();
    const QVariantMap stored = member(QStringLiteral(" 007 "));
    ASSERT_FALSE(stored.isEmpty()) << "the number keeps its spaces";
    const char* const columns[] = {nullptr,    "name",      "name1",   "tel",   "cdtel",
                                   "hometel",  "fax",       "kind",    nullptr, "mgbirthday",
                                   "identity", "enterdate", "address", "memo",  "memo1",
                                   "memo2",    "memo3",     "memo4",   "date1"};
    for (int column = 2; column <= 19; ++column) {
        if (columns[column - 1]) {
            EXPECT_EQ(stored.value(QLatin1String(columns[column - 1])),
                      QStringLiteral("值%1").arg(column))
                << columns[column - 1];
        }
    }
    EXPECT_EQ(stored.value(QStringLiteral("birthday")), QStringLiteral("1976-12-31 00:00:00"));
    EXPECT_EQ(stored.value(QStringLiteral("isenabled")).toInt(), 0);
    EXPECT_TRUE(stored.value(QStringLiteral("memo5")).isNull());
    EXPECT_TRUE(stored.value(QStringLiteral("photo")).isNull());
}

TEST_F(CustomerImportWindowTest, EmptyFirstRowImportsNothingAndSucceeds) {
    for (const bool deleteOld : {false, true}) {
        db::run(QStringLiteral("delete from Cust"));
        addMember(QStringLiteral("OLD"));
        QStringList emptyNumber = memberRow(QString(), QStringLiteral("沒有編號"));
        choose(workbook({emptyNumber, memberRow(QStringLiteral("A3"), QStringLiteral("不讀"))}));
        prompt.expect(kQuestion, deleteOld);
        prompt.expect(done(0));
        clickImport();
        EXPECT_EQ(memberIds(), deleteOld ? QStringList() : QStringList{QStringLiteral("OLD")})
            << deleteOld;
        EXPECT_EQ(window.windowTitle(), QStringLiteral("客戶資料導入"));
    }
}

TEST_F(CustomerImportWindowTest, RefusedRowRollsBackEverythingWithTheDelete) {
    struct Case {
        const char* name;
        bool deleteOld;
        QList<QStringList> rows;
        const char* reason;
    };
    // The database refuses these once the preview is confirmed.
    const Case cases[] = {
        {"number already stored",
         false,
         {memberRow(QStringLiteral("A100"), QStringLiteral("新")),
          memberRow(QStringLiteral("A001"), QStringLiteral("重複"))},
         "第 3 列 A 欄「A001」已經有了，不能重複"},
        {"number twice after the delete",
         true,
         {memberRow(QStringLiteral("A100"), QStringLiteral("新")),
          memberRow(QStringLiteral("A100"), QStringLiteral("重複"))},
         "第 3 列 A 欄「A100」已經有了，不能重複"},
    };
    keepNumbersUnique();
    addMember(QStringLiteral("A001"));
    for (const Case& c : cases) {
        choose(workbook(c.rows));
        prompt.expect(kQuestion, c.deleteOld);
        prompt.expect(kFailed + '\n' + QString::fromUtf8(c.reason));
        clickImport();
        EXPECT_EQ(memberIds(), QStringList{QStringLiteral("A001")}) << c.name;
    }
    // The preview already tells a text longer than its column, and the
    // import cannot be confirmed.
    choose(workbook({memberRow(QStringLiteral("A100"), QStringLiteral("名字名字名字名字名字名"))}));
    prompt.expect(kQuestion, true);
    expectRefusedInPreview("第 2 列 B 欄「名字名字名字名字名字名」太長（最多 10 字）");
    clickImport(Preview::NotShown);
    EXPECT_EQ(memberIds(), QStringList{QStringLiteral("A001")});
}

TEST_F(CustomerImportWindowTest, ValuesThatDoNotConvertFailTheImport) {
    struct Case {
        int column;
        const char* value;
        const char* reason;
    };
    const Case cases[] = {
        {9, "1976/13/01", "第 3 列 I 欄「1976/13/01」不是有效的日期"},
        {9, "明天", "第 3 列 I 欄「明天」不是有效的日期"},
        {9, "28125", "第 3 列 I 欄「28125」是數字，不是日期"},
        {9, "65/13/31", "第 3 列 I 欄「65/13/31」不是有效的日期"},
        {9, "0065/12/31", "第 3 列 I 欄「0065/12/31」的年份不合理"},
        {22, "maybe", "第 3 列 V 欄「maybe」不是有效的是否值（應為 TRUE 或 FALSE）"},
        {22, "2", "第 3 列 V 欄「2」不是有效的是否值（應為 TRUE 或 FALSE）"},
    };
    addMember(QStringLiteral("OLD"));
    for (const Case& c : cases) {
        QStringList bad = memberRow(QStringLiteral("A2"), QStringLiteral("壞"));
        bad[c.column - 1] = QString::fromUtf8(c.value);
        choose(workbook({memberRow(QStringLiteral("A1"), QStringLiteral("好")), bad}));
        prompt.expect(kQuestion, true);
        expectRefusedInPreview(c.reason);
        clickImport(Preview::NotShown);
        EXPECT_EQ(memberIds(), QStringList{QStringLiteral("OLD")}) << c.value;
    }
}

TEST_F(CustomerImportWindowTest, DatesAndYesNoCellsConvert) {
    struct Case {
        Cell birthday;
        Cell enabled;
        QVariant storedBirthday;
        int storedEnabled;
    };
    const Case cases[] = {
        {Date{QDate(1976, 12, 31)}, Boolean{true}, QStringLiteral("1976-12-31 00:00:00"), 1},
        {BuiltInFormat{28125, 14}, Boolean{false}, QStringLiteral("1976-12-31 00:00:00"), 0},
        {QStringLiteral("1976-12-31"), QStringLiteral("N"), QStringLiteral("1976-12-31 00:00:00"),
         0},
        {QStringLiteral("1980/2/9"), QStringLiteral("是"), QStringLiteral("1980-02-09 00:00:00"),
         1},
        {QStringLiteral(""), QStringLiteral("無效"), QVariant(), 0},
        {QStringLiteral("2000/01/01"), QStringLiteral("有效"),
         QStringLiteral("2000-01-01 00:00:00"), 1},
        {QStringLiteral("2000/01/01"), Number{0}, QStringLiteral("2000-01-01 00:00:00"), 0},
        {QStringLiteral("2000/01/01"), QStringLiteral(""), QStringLiteral("2000-01-01 00:00:00"),
         1},
    };
    const QString path = file(QStringLiteral("conversions.xlsx"));
    {
        XlsxFile xlsx(path);
        for (int i = 0; i < int(std::size(cases)); ++i) {
            xlsx.put(i + 2, 1, QStringLiteral("C%1").arg(i));
            xlsx.put(i + 2, 9, cases[i].birthday);
            xlsx.put(i + 2, 22, cases[i].enabled);
        }
    }
    choose(path);
    prompt.expect(kQuestion, false);
    prompt.expect(done(int(std::size(cases))));
    clickImport();
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const QVariantMap stored = member(QStringLiteral("C%1").arg(i));
        ASSERT_FALSE(stored.isEmpty()) << i;
        EXPECT_EQ(stored.value(QStringLiteral("birthday")).isNull(),
                  cases[i].storedBirthday.isNull())
            << i;
        if (!cases[i].storedBirthday.isNull()) {
            EXPECT_EQ(stored.value(QStringLiteral("birthday")), cases[i].storedBirthday) << i;
        }
        EXPECT_EQ(stored.value(QStringLiteral("isenabled")).toInt(), cases[i].storedEnabled) << i;
    }
}

TEST_F(CustomerImportWindowTest, XlsWorkbookImports) {
    choose(QStringLiteral(MEMBER_IMPORT_DATA "/members.xls"));
    prompt.expect(kQuestion, false);
    prompt.expect(done(3));
    clickImport();
    EXPECT_EQ(memberIds(), (QStringList{QStringLiteral("A001"), QStringLiteral("123"),
                                        QStringLiteral(" 007 ")}));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("客戶資料導入"));
    const QVariantMap first = member(QStringLiteral("A001"));
    EXPECT_EQ(first.value(QStringLiteral("name")), QStringLiteral("王小明"));
    EXPECT_EQ(first.value(QStringLiteral("cdtel")), QStringLiteral("912345678"));
    EXPECT_EQ(first.value(QStringLiteral("birthday")), QStringLiteral("1976-12-31 00:00:00"));
    EXPECT_EQ(first.value(QStringLiteral("memo1")), QStringLiteral("1.5"));
    EXPECT_EQ(first.value(QStringLiteral("date1")), QStringLiteral("2020/01/02 13:45:00"));
    EXPECT_EQ(first.value(QStringLiteral("isenabled")).toInt(), 1);
    EXPECT_EQ(member(QStringLiteral("123")).value(QStringLiteral("isenabled")).toInt(), 0);
    EXPECT_EQ(member(QStringLiteral(" 007 ")).value(QStringLiteral("birthday")),
              QStringLiteral("1980-02-29 00:00:00"));
}

TEST_F(CustomerImportWindowTest, CsvInBig5OrUtf8Imports) {
    const QList<QStringList> rows = {
        {QStringLiteral("會員編號"), QStringLiteral("姓名")},
        memberRow(QStringLiteral("B1"), QStringLiteral("陳美玲")),
        memberRow(QStringLiteral("B2"), QStringLiteral("林, 志豪")),
    };
    const QString text = csvText(rows);
    const std::pair<const char*, QByteArray> files[] = {
        {"big5.csv", big5::encode(text)},
        {"utf8.csv", "\xEF\xBB\xBF" + text.toUtf8()},
    };
    for (const auto& [name, bytes] : files) {
        db::run(QStringLiteral("delete from Cust"));
        writeFile(file(QLatin1String(name)), bytes);
        choose(file(QLatin1String(name)));
        prompt.expect(kQuestion, false);
        prompt.expect(done(2));
        clickImport();
        EXPECT_EQ(member(QStringLiteral("B1")).value(QStringLiteral("name")),
                  QStringLiteral("陳美玲"))
            << name;
        EXPECT_EQ(member(QStringLiteral("B2")).value(QStringLiteral("name")),
                  QStringLiteral("林, 志豪"))
            << name;
    }
}

TEST_F(CustomerImportWindowTest, CancelledDialogChangesNothing) {
    addMember(QStringLiteral("OLD"));
    choose(QString());
    clickImport(Preview::NotShown);
    EXPECT_EQ(dialogsShown(), 1);
    EXPECT_TRUE(prompt.shown().isEmpty());
    EXPECT_EQ(memberIds(), QStringList{QStringLiteral("OLD")});
}

TEST_F(CustomerImportWindowTest, UnreadableFileIsReportedBeforeAnythingChanges) {
    addMember(QStringLiteral("OLD"));
    const QString path = file(QStringLiteral("members.xls"));
    writeFile(path, QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(600, '\x01'));
    choose(path);
    prompt.expect(path, true, true); // the general error report, naming the file
    clickImport(Preview::NotShown);
    EXPECT_EQ(memberIds(), QStringList{QStringLiteral("OLD")});
}

TEST_F(CustomerImportWindowTest, SampleLinkOpensTheShippedWorkbook) {
    QStandardPaths::setTestModeEnabled(true);
    QList<QUrl> opened;
    members::setDocumentOpener([&opened](const QUrl& url) { opened.append(url); });
    QTest::mouseClick(window.findChild<QLabel*>(QStringLiteral("Label25")), Qt::LeftButton);
    members::setDocumentOpener({});
    ASSERT_EQ(opened.size(), 1);
    ASSERT_TRUE(opened.first().isLocalFile());
    const QString sample = opened.first().toLocalFile();
    EXPECT_TRUE(sample.endsWith(QStringLiteral("lunmarkcust.xls")));
    // The sample is a workbook the import window reads: one example member.
    choose(sample);
    prompt.expect(kQuestion, false);
    prompt.expect(done(1));
    clickImport();
    EXPECT_EQ(memberIds(), QStringList{QStringLiteral("0001")});
    QFile::remove(sample);
}

TEST(ImportProgressTest, OnlyLargeImportsShowTheDialog) {
    EXPECT_FALSE(members::ImportProgress(nullptr, 2, 11).shown());
    EXPECT_FALSE(members::ImportProgress(nullptr, 2, 0).shown());
    EXPECT_FALSE(
        members::ImportProgress(nullptr, 2, 2 + members::ImportProgress::kQuietRows - 1).shown());
    members::ImportProgress large(nullptr, 2, 5000);
    ASSERT_TRUE(large.shown());
    large.update(2000);
    auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->maximum(), 4999);
}

} // namespace
