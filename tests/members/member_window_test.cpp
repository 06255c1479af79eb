#include "tests/members/member_window_fixture.h"

#include "db/connection.h"
#include "db/dataset.h"
#include "members/ini_file.h"
#include "members/report/report_preview.h"
#include "tests/support/modal.h"
#include "tests/support/typing.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace {

const QString kSaved = QStringLiteral("保存成功﹕共 1 筆");

void addSettings() {
    db::run(QStringLiteral(
        "insert into SystemSet(CW, EnterDate, Date1, Memo1, Memo2, Memo3, Memo4, Memo5) "
        "values('類別 ', '入會日期', '見習日期', '備一', '備二', '備三', '備四', '備五')"));
}

TEST_F(MemberWindowTest, ShowTakesCaptionsFromTheSettingsRowAsStored) {
    addSettings();
    open();
    EXPECT_EQ(child<QLabel>("LabelKind")->text(), QStringLiteral("類別 ﹕"));
    EXPECT_EQ(child<QLabel>("LabelEnterDate")->text(), QStringLiteral("入會日期﹕"));
    EXPECT_EQ(child<QLabel>("LabelDate1")->text(), QStringLiteral("見習日期﹕"));
    EXPECT_EQ(child<QLabel>("LabelMemo1")->text(), QStringLiteral("備一﹕"));
    EXPECT_EQ(child<QLabel>("LabelMemo5")->text(), QStringLiteral("備五﹕"));
    QAbstractItemModel* model = grid()->model();
    auto title = [&](const char* field) {
        return model->headerData(columnOf(QLatin1String(field)), Qt::Horizontal).toString();
    };
    EXPECT_EQ(title("id"), QStringLiteral("編號"));
    EXPECT_EQ(title("Kind"), QStringLiteral("類別 "));
    EXPECT_EQ(title("EnterDate"), QStringLiteral("入會日期"));
    EXPECT_EQ(title("Memo"), QStringLiteral("備一"));
    EXPECT_EQ(title("Memo4"), QStringLiteral("備五"));
    EXPECT_EQ(title("date1"), QStringLiteral("見習日期"));
    EXPECT_TRUE(header()->isSectionHidden(columnOf(QStringLiteral("birthday"))));

    auto* criteria = child<QComboBox>("ComboBox1");
    ASSERT_EQ(criteria->count(), 16);
    EXPECT_EQ(criteria->currentIndex(), 0);
    EXPECT_EQ(criteria->itemText(6), QStringLiteral("類別 "));
    EXPECT_EQ(criteria->itemText(15), QStringLiteral("備五"));
    EXPECT_EQ(child<QTabWidget>("PageControl1")->currentWidget(), child<QWidget>("TabSheet1"));
    EXPECT_EQ(child<QComboBox>("ComboBox2")->width(), 100);
    EXPECT_FALSE(window->memberQuery()->isOpen());
    EXPECT_EQ(grid()->model()->rowCount(), 0);
}

TEST_F(MemberWindowTest, AddedMemberStartsActiveAndIsStoredWithItsBirthday) {
    open();
    press("SbAdd");
    EXPECT_TRUE(window->isAppending());
    EXPECT_TRUE(child<QCheckBox>("DBCheckBox1")->isChecked());
    EXPECT_EQ(child<QTabWidget>("PageControl1")->currentWidget(), child<QWidget>("TabSheet2"));
    EXPECT_EQ(focused(), child<QWidget>("DBEdit1"));
    type("DBEdit1", QStringLiteral(" M001 "));
    type("DBEdit2", QStringLiteral("陳大文"));
    type("DBEdit6", QStringLiteral("65/12/31"));
    type("DBEdit10", QStringLiteral("96/05/01"));
    prompt.expect(kSaved);
    press("SbSave");
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("提示"));
    EXPECT_EQ(prompt.shown().last().icon, Prompt::Icon::Information);
    EXPECT_EQ(stored(" M001 ", "MGBirthday").toString(), QStringLiteral("65/12/31"));
    EXPECT_EQ(stored(" M001 ", "birthday").toString(), QStringLiteral("1976-12-31 00:00:00"));
    EXPECT_EQ(stored(" M001 ", "EnterDate").toString(), QStringLiteral("96/05/01"));
    EXPECT_EQ(stored(" M001 ", "isEnabled").toInt(), 1);
    EXPECT_FALSE(window->memberQuery()->isEditing());
    EXPECT_FALSE(window->isAppending());
    EXPECT_EQ(window->currentCustId(), QStringLiteral(" M001 "));

    // Saved just now: editing it again and saving is no duplicate.
    press("SbEdit");
    prompt.expect(kSaved);
    press("SbSave");
}

TEST_F(MemberWindowTest, BirthdayTableOnSave) {
    open();
    struct Case {
        const char* typed;
        QVariant stored;
    } cases[] = {{"100/2/3", QStringLiteral("2011-02-03 00:00:00")},
                 {"65/1/1", QStringLiteral("1976-01-01 00:00:00")},
                 {"", QVariant()}};
    int number = 0;
    for (const Case& c : cases) {
        const QString id = QString::number(++number);
        press("SbAdd");
        type("DBEdit1", id);
        type("DBEdit6", QString::fromUtf8(c.typed));
        prompt.expect(kSaved);
        press("SbSave");
        const QVariant birthday = stored(id, "birthday");
        EXPECT_EQ(birthday.isNull(), c.stored.isNull()) << c.typed;
        EXPECT_EQ(birthday.toString(), c.stored.toString()) << c.typed;
    }
}

TEST_F(MemberWindowTest, EmptyNumberIsRefusedWithTheFocusOnTheNumber) {
    open();
    press("SbAdd");
    type("DBEdit2", QStringLiteral("王"));
    type("DBEdit1", QStringLiteral("   "));
    child<QWidget>("DBEdit2")->setFocus();
    prompt.expect(QStringLiteral("編號不能為空﹐請重新輸入!"));
    press("SbSave");
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("會員管理"));
    EXPECT_TRUE(window->memberQuery()->isEditing());
    EXPECT_EQ(focused(), child<QWidget>("DBEdit1"));
    EXPECT_EQ(memberCount(), 0);
}

TEST_F(MemberWindowTest, DuplicateNumbers) {
    addMember("A001", "甲");
    addMember("A002", "乙");
    open();
    // Adding with an existing number (letter case ignored) is refused.
    press("SbAdd");
    type("DBEdit1", QStringLiteral("a001"));
    prompt.expect(QStringLiteral("編號重複﹐請重新輸入!"));
    press("SbSave");
    EXPECT_EQ(focused(), child<QWidget>("DBEdit1"));
    EXPECT_TRUE(window->memberQuery()->isEditing());
    prompt.expect(QStringLiteral("要取消嗎﹖"));
    press("SbCancel");
    EXPECT_FALSE(window->isAppending());

    // Editing without changing the number is not tested.
    searchAll();
    EXPECT_EQ(window->currentCustId(), QStringLiteral("A001"));
    press("SbEdit");
    type("DBEdit2", QStringLiteral("甲甲"));
    prompt.expect(kSaved);
    press("SbSave");
    EXPECT_EQ(stored("A001", "name").toString(), QStringLiteral("甲甲"));

    // Editing it to another member's number is refused.
    press("SbEdit");
    type("DBEdit1", QStringLiteral("A002"));
    prompt.expect(QStringLiteral("編號重複﹐請重新輸入!"));
    press("SbSave");
    EXPECT_TRUE(window->memberQuery()->isEditing());
    EXPECT_EQ(stored("A001", "name").toString(), QStringLiteral("甲甲"));
}

TEST_F(MemberWindowTest, UnreadableBirthdayIsRefusedWithTheFocusOnTheBirthday) {
    open();
    press("SbAdd");
    type("DBEdit1", QStringLiteral("1"));
    type("DBEdit6", QStringLiteral("65/02/30"));
    prompt.expect(QStringLiteral("生日格式輸入錯誤!"));
    press("SbSave");
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("提示"));
    EXPECT_EQ(focused(), child<QWidget>("DBEdit6"));
    EXPECT_TRUE(window->memberQuery()->isEditing());
    EXPECT_EQ(memberCount(), 0);
}

TEST_F(MemberWindowTest, JoiningDateNeedsTwoDigitMonthAndDay) {
    addSettings();
    open();
    press("SbAdd");
    type("DBEdit1", QStringLiteral("1"));
    type("DBEdit6", QStringLiteral("65/1/1"));
    type("DBEdit10", QStringLiteral("96/5/1"));
    prompt.expect(QStringLiteral("入會日期日期輸入錯誤!"));
    press("SbSave");
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("提示"));
    EXPECT_EQ(focused(), child<QWidget>("DBEdit10"));
    EXPECT_TRUE(window->isAppending());
    type("DBEdit10", QStringLiteral("096/05/01"));
    prompt.expect(kSaved);
    press("SbSave");
    EXPECT_EQ(stored("1", "EnterDate").toString(), QStringLiteral("096/05/01"));
}

TEST_F(MemberWindowTest, YearThatIsNotANumberEndsTheSaveWithTheConversionError) {
    open();
    press("SbAdd");
    type("DBEdit1", QStringLiteral("1"));
    type("DBEdit6", QStringLiteral("ab/1/1"));
    prompt.expect(QStringLiteral("'ab' 不是有效的整數值"));
    press("SbSave");
    EXPECT_EQ(prompt.shown().last().icon, Prompt::Icon::Error);
    EXPECT_TRUE(window->memberQuery()->isEditing());
    EXPECT_EQ(memberCount(), 0);
}

TEST_F(MemberWindowTest, DeleteAsksFirst) {
    addMember("A001", "甲");
    open();
    searchAll();
    prompt.expect(QStringLiteral("確實要刪除嗎﹖"), false);
    press("SbDel");
    EXPECT_EQ(memberCount(), 1);
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("會員管理"));
    prompt.expect(QStringLiteral("確實要刪除嗎﹖"), true);
    press("SbDel");
    EXPECT_EQ(memberCount(), 0);
    EXPECT_TRUE(listedIds().isEmpty());
}

// The database refuses the edited row when the user clicks another one: the
// grid must stay on the edited row, so that a delete afterwards takes the
// member the user sees highlighted.
TEST_F(MemberWindowTest, GridFollowsTheDatasetAfterTheDatabaseRefusesARowChange) {
    addMember("A001", "甲");
    addMember("A002", "乙");
    addMember("A003", "丙");
    open();
    searchAll();
    press("SbEdit");
    window->memberQuery()->setValue(QStringLiteral("name"), QString(11, QLatin1Char('x')));
    prompt.expectSaveQuestion(QStringLiteral("資料尚未儲存﹐是否儲存﹖"), Prompt::SaveAnswer::Save);
    prompt.expect(QStringLiteral("name"), true, true); // the database's own text
    const QRect third = grid()->visualRect(grid()->model()->index(2, 0));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, third.center());
    QCoreApplication::processEvents();
    EXPECT_EQ(prompt.shown().last().icon, Prompt::Icon::Error);
    EXPECT_EQ(window->memberQuery()->currentRow(), 0);
    EXPECT_EQ(grid()->currentIndex().row(), window->memberQuery()->currentRow());
    EXPECT_TRUE(grid()->selectionModel()->isRowSelected(0));
    EXPECT_FALSE(grid()->selectionModel()->isRowSelected(2));

    prompt.expect(QStringLiteral("要取消嗎﹖"));
    press("SbCancel");
    const QString highlighted = grid()->currentIndex().siblingAtColumn(0).data().toString();
    prompt.expect(QStringLiteral("確實要刪除嗎﹖"));
    press("SbDel");
    EXPECT_EQ(highlighted, QStringLiteral("A001"));
    EXPECT_FALSE(stored(highlighted, QStringLiteral("id")).isValid());
    EXPECT_EQ(memberCount(), 2);
}

// In browse mode the editors only show the member, in the normal colours.
TEST_F(MemberWindowTest, BrowsedValuesAreReadOnlyButReadable) {
    addMember("A001", "甲");
    open();
    searchAll();
    for (const char* name : {"DBEdit2", "DBComboBox1", "DBMemo1", "DBCheckBox1"}) {
        auto* editor = child<QWidget>(name);
        EXPECT_FALSE(editor->isEnabled()) << name;
        const QPalette palette = editor->palette();
        for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::Base})
            EXPECT_EQ(palette.color(QPalette::Disabled, role),
                      palette.color(QPalette::Active, role))
                << name << " " << role;
    }
    EXPECT_EQ(child<QLineEdit>("DBEdit2")->text(), QStringLiteral("甲"));
}

TEST_F(MemberWindowTest, CancelAnsweredNoKeepsEditing) {
    addMember("A001", "甲");
    open();
    searchAll();
    press("SbEdit");
    type("DBEdit2", QStringLiteral("乙"));
    prompt.expect(QStringLiteral("要取消嗎﹖"), false);
    press("SbCancel");
    EXPECT_TRUE(window->memberQuery()->isEditing());
    prompt.expect(QStringLiteral("要取消嗎﹖"), true);
    press("SbCancel");
    EXPECT_FALSE(window->memberQuery()->isEditing());
    EXPECT_EQ(child<QLineEdit>("DBEdit2")->text(), QStringLiteral("甲"));
}

TEST_F(MemberWindowTest, EditorsAndButtonsFollowTheEditingState) {
    addMember("A001", "甲");
    open();
    searchAll();
    const char* editors[] = {"DBEdit1",     "DBEdit6",     "DBEdit10",
                             "DBEdit13",    "DBComboBox1", "DBComboBox2",
                             "DBCheckBox1", "DBMemo1",     "BtnSelectPhoto"};
    for (bool editing : {false, true}) {
        if (editing)
            press("SbEdit");
        for (const char* name : editors)
            EXPECT_EQ(child<QWidget>(name)->isEnabled(), editing) << name;
        for (const char* name : {"SbAdd", "SbEdit", "SbDel"})
            EXPECT_EQ(child<QWidget>(name)->isEnabled(), !editing) << name;
        for (const char* name : {"SbSave", "SbCancel"})
            EXPECT_EQ(child<QWidget>(name)->isEnabled(), editing) << name;
        EXPECT_TRUE(child<QWidget>("SbExit")->isEnabled());
    }
}

TEST_F(MemberWindowTest, ClosingWhileAddingAsksAndAfterCancelWritesTheLayoutFile) {
    open();
    press("SbAdd");
    type("DBEdit1", QStringLiteral("N1"));
    prompt.expectSaveQuestion(QStringLiteral("資料尚未儲存﹐是否儲存﹖"),
                              Prompt::SaveAnswer::Cancel);
    press("SbExit");
    EXPECT_EQ(prompt.shown().last().caption, QStringLiteral("會員管理"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->memberQuery()->isEditing());
    EXPECT_EQ(child<QLineEdit>("DBEdit1")->text(), QStringLiteral("N1"));
    EXPECT_FALSE(QFile::exists(TFrmCust::gridLayoutPath()));
    prompt.expect(QStringLiteral("要取消嗎﹖"));
    press("SbCancel");
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("DBGRidEhStatus.ini"))));
    EXPECT_EQ(memberCount(), 0);
}

TEST_F(MemberWindowTest, MovementButtonsFollowThePosition) {
    addMember("A001", "甲");
    open();
    searchAll();
    for (const char* name : {"SbFirst", "SbPrevious", "SbNext", "SbLast"})
        EXPECT_FALSE(child<QWidget>(name)->isEnabled()) << name;
    addMember("A002", "乙");
    addMember("A003", "丙");
    searchAll();
    EXPECT_FALSE(child<QWidget>("SbFirst")->isEnabled());
    EXPECT_FALSE(child<QWidget>("SbPrevious")->isEnabled());
    EXPECT_TRUE(child<QWidget>("SbNext")->isEnabled());
    press("SbLast");
    EXPECT_EQ(window->currentCustId(), QStringLiteral("A003"));
    EXPECT_FALSE(child<QWidget>("SbNext")->isEnabled());
    EXPECT_TRUE(child<QWidget>("SbFirst")->isEnabled());
    press("SbPrevious");
    EXPECT_EQ(window->currentCustId(), QStringLiteral("A002"));
    EXPECT_TRUE(child<QWidget>("SbNext")->isEnabled());
}

TEST_F(MemberWindowTest, ChosenPhotoIsStoredAndShownAndAMissingFileShowsNothing) {
    const QString picture = folder.filePath(QStringLiteral("face.png"));
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(picture));
    addMember("A001", "甲", {{QStringLiteral("photo"), QStringLiteral("/no/such/file.png")}});
    open();
    searchAll();
    auto* photo = child<QLabel>("Image1");
    EXPECT_TRUE(photo->pixmap().isNull());
    window->setPictureChooser([&] { return picture; });
    press("SbEdit");
    press("BtnSelectPhoto");
    EXPECT_EQ(child<QLineEdit>("DBEdit13")->text(), picture);
    EXPECT_FALSE(photo->pixmap().isNull());
    prompt.expect(kSaved);
    press("SbSave");
    EXPECT_EQ(stored("A001", "photo").toString(), picture);
}

TEST_F(MemberWindowTest, WorkHistoryTakesCtrlEnterAsANewLineAndEnterMovesOn) {
    open();
    press("SbAdd");
    auto* history = child<QPlainTextEdit>("DBMemo1");
    history->setFocus();
    typeText(history, QStringLiteral("一"));
    QTest::keyClick(history, Qt::Key_Return, Qt::ControlModifier);
    typeText(history, QStringLiteral("二"));
    EXPECT_EQ(history->toPlainText(), QStringLiteral("一\n二"));
    EXPECT_EQ(window->memberQuery()->value(QStringLiteral("Memo5")).toString(),
              QStringLiteral("一\n二"));
    QTest::keyClick(history, Qt::Key_Return);
    EXPECT_NE(focused(), history);
}

TEST_F(MemberWindowTest, TypingLimitsCountBytes) {
    open();
    press("SbAdd");
    type("DBEdit2", QStringLiteral("一二三四五六"));
    EXPECT_EQ(child<QLineEdit>("DBEdit2")->text(), QStringLiteral("一二三四五"));
    type("DBComboBox1", QStringLiteral("一二三四五六七八九"));
    EXPECT_EQ(child<QComboBox>("DBComboBox1")->currentText(), QStringLiteral("一二三四五六七八"));
    auto* history = child<QPlainTextEdit>("DBMemo1");
    history->setFocus();
    typeText(history, QString(130, QChar(0x4E00)));
    EXPECT_EQ(history->toPlainText().size(), 127);
}

TEST_F(MemberWindowTest, EnterAndArrowsMoveBetweenEditors) {
    open();
    press("SbAdd");
    QTest::keyClick(child<QWidget>("DBEdit1"), Qt::Key_Return);
    EXPECT_EQ(focused(), child<QWidget>("DBEdit2"));
    QTest::keyClick(child<QWidget>("DBEdit2"), Qt::Key_Up);
    EXPECT_EQ(focused(), child<QWidget>("DBEdit1"));
    QTest::keyClick(child<QWidget>("DBEdit1"), Qt::Key_Down);
    EXPECT_EQ(focused(), child<QWidget>("DBEdit2"));
}

TEST_F(MemberWindowTest, DropDownListsAreReadWhenTheyOpen) {
    db::run(QStringLiteral("insert into Kinds(KindName) values(' 金卡 '), ('銀卡')"));
    db::run(QStringLiteral("insert into CWNames(Name) values('先生')"));
    open();
    press("SbAdd");
    type("DBComboBox1", QStringLiteral("自訂"));
    auto* kinds = child<QComboBox>("DBComboBox1");
    kinds->showPopup();
    kinds->hidePopup();
    ASSERT_EQ(kinds->count(), 2);
    EXPECT_EQ(kinds->itemText(0), QStringLiteral("金卡"));
    EXPECT_EQ(kinds->currentText(), QStringLiteral("自訂"));
    EXPECT_EQ(window->memberQuery()->value(QStringLiteral("Kind")).toString(),
              QStringLiteral("自訂"));
    auto* salutations = child<QComboBox>("DBComboBox2");
    salutations->showPopup();
    salutations->hidePopup();
    EXPECT_EQ(salutations->count(), 1);
}

TEST_F(MemberWindowTest, DoubleClickOnTheGridShowsTheDetails) {
    addMember("A001", "甲");
    open();
    searchAll();
    const QRect cell = grid()->visualRect(grid()->model()->index(0, 0));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    EXPECT_EQ(child<QTabWidget>("PageControl1")->currentWidget(), child<QWidget>("TabSheet2"));
}

TEST_F(MemberWindowTest, PreviewBeforeAnySearchListsEveryMemberAndPrintsThem) {
    addMember("A001", "甲");
    addMember("A002", "乙", {{QStringLiteral("isEnabled"), 0}});
    open();
    std::vector<members::report::Report> shown;
    const members::report::Presenter previous = members::report::setPresenter(
        [&](const members::report::Report& report, QWidget*) { shown.push_back(report); });
    press("SbPreview");
    members::report::setPresenter(previous);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(listedIds(), (QStringList{"A001", "A002"}));
}

TEST_F(MemberWindowTest, LabelsCancelledShowNothing) {
    open();
    bool asked = false;
    whenModalShows([&](QWidget*) { asked = true; }); // then closes the label-paper dialog
    press("BitBtn2");
    EXPECT_TRUE(asked);
    EXPECT_FALSE(window->memberQuery()->isOpen());
}

TEST_F(MemberWindowTest, LayoutFileRoundTrip) {
    addMember("A001", "甲");
    open();
    searchAll();
    const int name = columnOf(QStringLiteral("name"));
    const int address = columnOf(QStringLiteral("Address"));
    header()->moveSection(header()->visualIndex(address), 0);
    header()->resizeSection(name, 150);
    closeWindow();

    const auto entries =
        members::ini::readSection(TFrmCust::gridLayoutPath(), TFrmCust::gridLayoutSection());
    EXPECT_EQ(entries.size(), 20);
    EXPECT_EQ(members::ini::value(entries, QStringLiteral("DBGridEh1.Address")),
              QStringLiteral("0,220,0,1,0,7,0"));
    EXPECT_EQ(members::ini::value(entries, QStringLiteral("DBGridEh1.id")),
              QStringLiteral("1,90,0,1,0,7,0"));
    EXPECT_EQ(members::ini::value(entries, QStringLiteral("DBGridEh1.name")),
              QStringLiteral("2,150,0,1,0,7,0"));
    EXPECT_EQ(members::ini::value(entries, QStringLiteral("DBGridEh1.birthday")),
              QStringLiteral("9,80,0,0,0,7,0"));
    EXPECT_EQ(members::ini::value(entries, QStringLiteral("(Default)")), QStringLiteral("20,1"));

    open();
    EXPECT_EQ(header()->visualIndex(address), 0);
    EXPECT_EQ(header()->sectionSize(name), 150);
    EXPECT_TRUE(header()->isSectionHidden(columnOf(QStringLiteral("birthday"))));
    searchAll(); // a new list keeps the layout
    EXPECT_EQ(header()->visualIndex(address), 0);
    EXPECT_EQ(header()->sectionSize(name), 150);
    closeWindow();

    ASSERT_TRUE(QFile::remove(TFrmCust::gridLayoutPath()));
    open();
    EXPECT_EQ(header()->visualIndex(address), address);
    EXPECT_EQ(header()->sectionSize(name), 80);
}

TEST_F(MemberWindowTest, HandEditedLayoutFileIsReadAsFarAsItMakesSense) {
    QFile file(TFrmCust::gridLayoutPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[FrmCustDBGridEh1]\r\nDBGridEh1.Tel=0,x,1\r\nDBGridEh1.Fax=1,40,2,0,0,7,0\r\n"
               "Other=kept\r\n");
    file.close();
    open();
    const int tel = columnOf(QStringLiteral("Tel"));
    const int fax = columnOf(QStringLiteral("Fax"));
    EXPECT_EQ(header()->visualIndex(tel), 0);
    EXPECT_EQ(header()->sectionSize(tel), 100);
    EXPECT_TRUE(header()->isSectionHidden(fax));
    closeWindow();
    const auto entries =
        members::ini::readSection(TFrmCust::gridLayoutPath(), TFrmCust::gridLayoutSection());
    EXPECT_EQ(members::ini::value(entries, QStringLiteral("Other")), QStringLiteral("kept"));
    EXPECT_EQ(members::ini::value(entries, QStringLiteral("DBGridEh1.Tel")),
              QStringLiteral("0,100,1,1,0,7,0"));
    EXPECT_EQ(members::ini::value(entries, QStringLiteral("DBGridEh1.Fax")),
              QStringLiteral("1,40,2,0,0,7,0"));
}

} // namespace
