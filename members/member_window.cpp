// The member window: building it, its editing states, the record buttons, the
// checks before a member is stored, the photo and closing.
#include "members/member_window.h"

#include "base/byte_limit_validator.h"
#include "base/data_changes.h"
#include "base/errors.h"
#include "base/keyboard_navigation.h"
#include "base/prompt.h"
#include "base/readable_fields.h"
#include "base/window_opener.h"
#include "db/connection.h"
#include "db/database_files.h"
#include "db/dataset.h"
#include "db/dataset_model.h"
#include "db/display_text.h"
#include "db/field_binder.h"
#include "db/file_dialog.h"
#include "db/record_buttons.h"
#include "members/criterion_row.h"
#include "members/drop_down_box.h"
#include "members/grid_footer.h"
#include "members/grid_layout.h"
#include "members/member_search.h"
#include "members/memo_edit.h"
#include "members/minguo_date.h"
#include "members/movement_buttons.h"
#include "members/report/member_reports.h"
#include "members/sort_marker_header.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("會員管理");
const QString kHint = QStringLiteral("提示");
const QString kDateHint = QStringLiteral("例:65/12/31");
const QString kUnsaved = QStringLiteral("資料尚未儲存﹐是否儲存﹖");

QString pictureFromDialog(QWidget* parent) {
    return filedialog::openFile(
        parent, QStringLiteral("圖片 (*.bmp *.jpg *.jpeg *.png *.gif *.ico);;所有檔案 (*)"));
}

// A save found the member deleted meanwhile and wrote nothing. Yes stores
// what is typed as a new member; No leaves it in the editors, to be saved
// again or given up with 取消. Nothing moves to another member.
bool offerAsNewMember(db::Dataset::DeletedBy by) {
    return Prompt::current().question(
        kCaption,
        db::Dataset::deletedText(by) +
            QStringLiteral("﹐此會員已不存在﹐這次的修改沒有寫入。\n"
                           "要把輸入的資料存為新會員嗎﹖\n"
                           "(選「否」時輸入的資料仍留在畫面上﹐按取消即放棄。)"),
        Prompt::No);
}

// The names the details tab gives the fields, for the list of typed values
// a conflict kept from being written. The stored calendar birthday is
// typed as 生日 (b) and not listed of its own.
QHash<QString, QString> fieldTitles(const members::search::Captions& captions) {
    const auto caption = [](const QString& set, const char* standard) {
        return set.trimmed().isEmpty() ? QString::fromUtf8(standard) : set.trimmed();
    };
    QHash<QString, QString> titles{
        {QStringLiteral("id"), QStringLiteral("編號")},
        {QStringLiteral("name"), QStringLiteral("姓名")},
        {QStringLiteral("Name1"), QStringLiteral("稱謂")},
        {QStringLiteral("Tel"), QStringLiteral("電話")},
        {QStringLiteral("CDTel"), QStringLiteral("行動電話")},
        {QStringLiteral("HomeTel"), QStringLiteral("家裡電話")},
        {QStringLiteral("Fax"), QStringLiteral("傳真")},
        {QStringLiteral("Kind"), caption(captions.category, "類別")},
        {QStringLiteral("b"), QStringLiteral("生日")},
        {QStringLiteral("Identity"), QStringLiteral("身份証號")},
        {QStringLiteral("date1"), caption(captions.date1, "日期")},
        {QStringLiteral("EnterDate"), caption(captions.enterDate, "入會日期")},
        {QStringLiteral("Address"), QStringLiteral("地址")},
        {QStringLiteral("Memo5"), QStringLiteral("經歷")},
        {QStringLiteral("photo"), QStringLiteral("照片路徑")},
        {QStringLiteral("isEnabled"), QStringLiteral("有效會員")}};
    const char* memoFields[] = {"Memo", "Memo1", "Memo2", "Memo3", "Memo4"};
    const char* memoTitles[] = {"備註一", "備註二", "備註三", "備註四", "備註五"};
    for (int i = 0; i < 5; ++i)
        titles.insert(QLatin1String(memoFields[i]),
                      caption(captions.memos.value(i), memoTitles[i]));
    return titles;
}

} // namespace

TFrmCust::TFrmCust(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FrmCust"));
    setWindowTitle(kCaption);
    m_choosePicture = [this] { return pictureFromDialog(this); };
    buildQueries();

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = buildSearchPage();
    TabSheet2 = buildDetailsPage();
    keepDisabledFieldsReadable(TabSheet2);
    PageControl1->addTab(TabSheet1, QStringLiteral("資料查詢"));
    PageControl1->addTab(TabSheet2, QStringLiteral("詳細資料"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    buildButtonBar();
    connect(Qry_Master, &db::Dataset::stateChanged, this, &TFrmCust::onStateChanged);
    connect(Qry_Master, &db::Dataset::movedTo, this, &TFrmCust::onMovedTo);
    connect(&DataChanges::instance(), &DataChanges::replaced, this, &TFrmCust::reloadMembers);
    // While editing, the birthday box shows what the user leaves or types.
    connect(Qry_Master, &db::Dataset::dataChanged, this, [this] {
        if (Qry_Master->state() != db::Dataset::State::Edit)
            showStoredBirthday();
    });
    connect(PageControl1, &QTabWidget::currentChanged, this, &TFrmCust::onPageChanged);
    onStateChanged();
    keyboard::install(this);
    resize(1000, 640);
}

TFrmCust::~TFrmCust() = default;

QStringList TFrmCust::designStatement() {
    return {QStringLiteral("SELECT id, name, Name1, Tel, CDTel, HomeTel,Fax,Kind"),
            QStringLiteral("             , birthday, MGBirthday AS b, Identity,EnterDate, Address"),
            QStringLiteral("             , Memo, Memo1,Memo2 ,Memo3,Memo4,Memo5"),
            QStringLiteral("             ,date1,photo,isEnabled"), QStringLiteral("FROM Cust;")};
}

QString TFrmCust::gridLayoutPath() {
    return QDir::current().filePath(QStringLiteral("DBGRidEhStatus.ini"));
}

void TFrmCust::buildQueries() {
    Qry_Master = new db::Dataset(this);
    Qry_Master->setObjectName(QStringLiteral("Qry_Master"));
    Qry_Master->setBaseTable(QStringLiteral("Cust"));
    Qry_Master->setStatement(designStatement());
    Qry_Master->setNewRowDefaults({{QStringLiteral("isEnabled"), true}});
    Qry_Master->addBeforePost([this] { return checkBeforeStoring(); });
    // Asked again where no other desk can store the same number meanwhile.
    Qry_Master->addWriteCheck([this] { return !numberTaken(); },
                              [this] { refuseDuplicateNumber(); });
    Qry_Master->addBeforeDelete([this] { return confirmDelete(); });
    Qry_Master->setLeaveRowQuestion([this] { return confirmLeaveRow(); });
    Qry_Master->setGoneRowQuestion([](db::Dataset::DeletedBy by) { return offerAsNewMember(by); });
    m_binder = new db::FieldBinder(Qry_Master, this);
}

QLineEdit* TFrmCust::addEditor(const char* name, const QString& field, int maxBytes) {
    auto* editor = new QLineEdit(this);
    editor->setObjectName(QLatin1String(name));
    ByteLimitValidator::apply(editor, maxBytes);
    m_binder->bind(editor, field);
    return editor;
}

QLabel* TFrmCust::addLabel(const char* name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    return label;
}

QWidget* TFrmCust::buildDetailsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* grid = new QGridLayout(page);
    int row = 0;
    auto place = [&](int column, QLabel* label, QWidget* editor, const QString& hint = {}) {
        grid->addWidget(label, row, column * 3);
        if (hint.isEmpty()) {
            grid->addWidget(editor, row, column * 3 + 1, 1, 2);
        } else {
            grid->addWidget(editor, row, column * 3 + 1);
            grid->addWidget(new QLabel(hint, page), row, column * 3 + 2);
        }
        if (column == 1)
            ++row;
    };
    auto* idLabel = addLabel("Label2", QStringLiteral("編       號﹕"));
    idLabel->setStyleSheet(QStringLiteral("font-weight: bold; color: blue;"));
    DBEdit1 = addEditor("DBEdit1", QStringLiteral("id"), 15);
    place(0, idLabel, DBEdit1);
    place(1, addLabel("Label3", QStringLiteral("姓          名﹕")),
          addEditor("DBEdit2", QStringLiteral("name"), 10));

    DBComboBox2 = new DropDownBox(this);
    DBComboBox2->setObjectName(QStringLiteral("DBComboBox2"));
    ByteLimitValidator::apply(DBComboBox2->lineEdit(), 10);
    DBComboBox2->setBeforeDropDown(
        [this] { DBComboBox2->setList(members::search::salutations()); });
    m_binder->bind(DBComboBox2, QStringLiteral("Name1"));
    place(0, addLabel("Label4", QStringLiteral("稱          謂﹕")), DBComboBox2);
    place(1, addLabel("Label5", QStringLiteral("電          話﹕")),
          addEditor("DBEdit3", QStringLiteral("Tel"), 15));
    place(0, addLabel("Label6", QStringLiteral("行動電話﹕")),
          addEditor("DBEdit4", QStringLiteral("CDTel"), 15));

    DBComboBox1 = new DropDownBox(this);
    DBComboBox1->setObjectName(QStringLiteral("DBComboBox1"));
    ByteLimitValidator::apply(DBComboBox1->lineEdit(), 16);
    DBComboBox1->setBeforeDropDown([this] { DBComboBox1->setList(members::search::categories()); });
    m_binder->bind(DBComboBox1, QStringLiteral("Kind"));
    m_kindLabel = addLabel("LabelKind", QStringLiteral("類          別﹕"));
    place(1, m_kindLabel, DBComboBox1);
    place(0, addLabel("Label8", QStringLiteral("家裡電話﹕")),
          addEditor("DBEdit5", QStringLiteral("HomeTel"), 15));
    place(1, addLabel("Label9", QStringLiteral("傳          真﹕")),
          addEditor("DBEdit7", QStringLiteral("Fax"), 15));
    DBEdit6 = addEditor("DBEdit6", QStringLiteral("b"), 10);
    place(0, addLabel("Label10", QStringLiteral("生          日﹕")), DBEdit6, kDateHint);
    place(1, addLabel("Label11", QStringLiteral("身份証號﹕")),
          addEditor("DBEdit8", QStringLiteral("Identity"), 20));
    m_date1Label = addLabel("LabelDate1", QStringLiteral("date1"));
    place(0, m_date1Label, addEditor("DBEdit9", QStringLiteral("date1"), 50), kDateHint);
    DBEdit10 = addEditor("DBEdit10", QStringLiteral("EnterDate"), 10);
    m_enterDateLabel = addLabel("LabelEnterDate", QStringLiteral("入會日期﹕"));
    place(1, m_enterDateLabel, DBEdit10, kDateHint);

    grid->addWidget(addLabel("Label13", QStringLiteral("地          址﹕")), row, 0);
    grid->addWidget(addEditor("DBEdit11", QStringLiteral("Address"), 80), row++, 1, 1, 5);
    const char* memoEditors[] = {"DBEdit12", "DBEdit14", "DBEdit15", "DBEdit16", "DBEdit17"};
    const char* memoFields[] = {"Memo", "Memo1", "Memo2", "Memo3", "Memo4"};
    const char* memoTitles[] = {"備   註   一", "備   註   二", "備   註   三", "備   註   四",
                                "備   註   五"};
    for (int i = 0; i < 5; ++i) {
        const QByteArray name = "LabelMemo" + QByteArray::number(i + 1);
        QLabel* label = addLabel(name.constData(), QString::fromUtf8(memoTitles[i]));
        m_memoLabels << label;
        grid->addWidget(label, row, 0);
        grid->addWidget(addEditor(memoEditors[i], QLatin1String(memoFields[i]), i < 3 ? 80 : 50),
                        row++, 1, 1, 5);
    }

    DBEdit13 = addEditor("DBEdit13", QStringLiteral("photo"), 254);
    BtnSelectPhoto = new QPushButton(QStringLiteral("..."), this);
    BtnSelectPhoto->setObjectName(QStringLiteral("BtnSelectPhoto"));
    BtnSelectPhoto->setAutoDefault(false);
    connect(BtnSelectPhoto, &QPushButton::clicked, this, &TFrmCust::choosePhoto);
    grid->addWidget(addLabel("Label20", QStringLiteral("照片路徑﹕")), row, 0);
    grid->addWidget(DBEdit13, row, 1, 1, 4);
    grid->addWidget(BtnSelectPhoto, row++, 5);

    DBCheckBox1 = new QCheckBox(QStringLiteral("有效會員"), this);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    m_binder->bind(DBCheckBox1, QStringLiteral("isEnabled"));
    grid->addWidget(DBCheckBox1, row++, 1);

    DBMemo1 = new MemoEdit(255, this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    m_binder->bind(DBMemo1, QStringLiteral("Memo5"));
    grid->addWidget(addLabel("Label21", QStringLiteral("經歷")), row, 0);
    grid->addWidget(DBMemo1, row, 1, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("(Ctrl+Enter換行)"), page), row + 1, 1);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFrameShape(QFrame::Box);
    Image1->setScaledContents(true);
    Image1->setFixedSize(160, 200);
    grid->addWidget(Image1, 0, 6, 8, 1, Qt::AlignTop);
    grid->setRowStretch(row + 2, 1);
    return page;
}

void TFrmCust::buildButtonBar() {
    auto* bar = new QHBoxLayout;
    m_movement = std::make_unique<MovementButtons>(Qry_Master, this, bar);
    BitBtn2 = new QPushButton(QStringLiteral("標籤列印"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    SbPreview = new QPushButton(QStringLiteral("預覽"), this);
    SbPreview->setObjectName(QStringLiteral("SbPreview"));
    bar->addWidget(BitBtn2);
    bar->addWidget(SbPreview);
    // Exit is made here: unlike the other record buttons it stays enabled
    // while editing (closing is then refused with a message).
    m_buttons = new RecordButtons(Qry_Master, this,
                                  RecordButtons::Add | RecordButtons::Edit | RecordButtons::Delete |
                                      RecordButtons::Save | RecordButtons::Cancel);
    QHBoxLayout* records = m_buttons->layout();
    SbExit = new QPushButton(QStringLiteral("離開"), this);
    SbExit->setObjectName(QStringLiteral("SbExit"));
    SbExit->setAutoDefault(false);
    keyboard::setEscapeButton(SbExit);
    records->insertWidget(records->count() - 1, SbExit);
    bar->addLayout(records, 1);
    for (QPushButton* button : {BitBtn2, SbPreview})
        button->setAutoDefault(false);
    connect(SbPreview, &QPushButton::clicked, this, &TFrmCust::printList);
    connect(BitBtn2, &QPushButton::clicked, this, &TFrmCust::printLabels);
    connect(m_buttons->SbAdd, &QPushButton::clicked, this, &TFrmCust::addMember);
    connect(m_buttons->SbEdit, &QPushButton::clicked, this, &TFrmCust::editMember);
    connect(m_buttons->SbDel, &QPushButton::clicked, this, &TFrmCust::deleteMember);
    connect(m_buttons->SbSave, &QPushButton::clicked, this, &TFrmCust::saveMember);
    connect(m_buttons->SbCancel, &QPushButton::clicked, this, &TFrmCust::cancelEditing);
    connect(SbExit, &QPushButton::clicked, this, [this] { windows::closeWindow(this); });
    static_cast<QVBoxLayout*>(layout())->addLayout(bar);
    addShortcuts();
}

// An import changed the stored members: the list, its count and the record
// counter show them as they are now. A member being typed stays as typed;
// saving it then meets the usual checks against the stored row, and one the
// import deleted is said to be deleted here. The list is read again once the
// member is stored or given up.
void TFrmCust::reloadMembers() {
    if (!Qry_Master->isOpen())
        return;
    m_reloadAfterEditing = Qry_Master->isEditing();
    if (m_reloadAfterEditing) {
        Qry_Master->noteRowsReplacedHere();
        return;
    }
    if (m_restateSearch)
        m_restateSearch();
    Qry_Master->refresh();
}

// The keys press the buttons themselves, so they ask what the buttons ask.
void TFrmCust::addShortcuts() {
    keyboard::setCancelButton(m_buttons->SbCancel);
    keyboard::addShortcut(BitBtn1, QKeySequence(Qt::Key_F5));
    keyboard::addShortcut(SbPreview, QKeySequence(Qt::CTRL | Qt::Key_P));
    const QKeySequence find(Qt::CTRL | Qt::Key_F);
    auto* toQuickSearch = new QShortcut(find, this);
    connect(toQuickSearch, &QShortcut::activated, this, [this] {
        PageControl1->setCurrentWidget(TabSheet1);
        EditQuick->setFocus(Qt::ShortcutFocusReason);
        EditQuick->selectAll();
    });
    EditQuick->setToolTip(
        QStringLiteral("快速查詢 (%1)").arg(find.toString(QKeySequence::NativeText)));
}

void TFrmCust::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        prepareOnShow();
}

void TFrmCust::prepareOnShow() {
    m_isAppending = false;
    const members::search::Captions captions = members::search::readCaptions();
    m_date1Caption = captions.date1;
    m_enterDateCaption = captions.enterDate;
    m_criteria->reset(members::search::criterionNames(captions));
    Dts_Master->setColumnTitle(QStringLiteral("Kind"), captions.category);
    Dts_Master->setColumnTitle(QStringLiteral("EnterDate"), captions.enterDate);
    Dts_Master->setColumnTitle(QStringLiteral("date1"), m_date1Caption);
    const char* memoColumns[] = {"Memo", "Memo1", "Memo2", "Memo3", "Memo4"};
    for (int i = 0; i < 5; ++i) {
        Dts_Master->setColumnTitle(QLatin1String(memoColumns[i]), captions.memos[i]);
        m_memoLabels[i]->setText(captions.memos[i] + QStringLiteral("﹕"));
    }
    m_date1Label->setText(m_date1Caption + QStringLiteral("﹕"));
    m_kindLabel->setText(captions.category + QStringLiteral("﹕"));
    m_enterDateLabel->setText(captions.enterDate + QStringLiteral("﹕"));
    Qry_Master->setFieldTitles(fieldTitles(captions));
    PageControl1->setCurrentWidget(TabSheet1);
    m_criteria->valueBox()->setPlain(true);
    m_criteria->valueBox()->clearEditText();
    m_gridLayout->restore(gridLayoutPath(), gridLayoutSection());
}

// The record buttons follow the state by themselves. Adding ends with the
// row stored or dropped, also when a search closes the list under it.
void TFrmCust::onStateChanged() {
    const bool editing = Qry_Master->isEditing();
    BtnSelectPhoto->setEnabled(editing);
    // A closed list (before a search, or a search that failed after the
    // old list went) shows no count and offers no movement.
    if (!Qry_Master->isOpen())
        onMovedTo(0, 0);
    if (editing)
        PageControl1->setCurrentWidget(TabSheet2);
    else
        m_isAppending = false;
    if (!editing && m_reloadAfterEditing) {
        m_reloadAfterEditing = false;
        // Once the dataset has finished the save or cancel that ended editing.
        QTimer::singleShot(0, this, &TFrmCust::reloadMembers);
    }
    showStoredBirthday();
}

// The list tab shows other members and the search: the member being edited
// is stored or given up first, or the details stay.
void TFrmCust::onPageChanged() {
    if (PageControl1->currentWidget() != TabSheet1 || !Qry_Master->isEditing())
        return;
    const auto stay = qScopeGuard([this] {
        if (Qry_Master->isEditing())
            PageControl1->setCurrentWidget(TabSheet2);
    });
    confirmLeaveRow();
}

bool TFrmCust::confirmLeaveRow() {
    if (!Qry_Master->isEditing())
        return true;
    switch (Prompt::current().askToSave(kCaption, kUnsaved)) {
    case Prompt::SaveAnswer::Save:
        return storeMember();
    case Prompt::SaveAnswer::Discard:
        Qry_Master->cancel();
        return true;
    case Prompt::SaveAnswer::Cancel:
        break;
    }
    return false;
}

// Members imported with only the calendar birthday have no typed one: the
// box shows the stored date as it would be typed, and nothing is written
// unless the user changes it (storeBirthday).
void TFrmCust::showStoredBirthday() {
    m_birthdayFromDate.clear();
    if (Qry_Master->state() == db::Dataset::State::Insert || Qry_Master->currentRow() < 0 ||
        !Qry_Master->value(QStringLiteral("b")).toString().trimmed().isEmpty())
        return;
    const std::optional<QDateTime> stored =
        db::storedDateTime(Qry_Master->value(QStringLiteral("birthday")));
    if (!stored)
        return;
    m_birthdayFromDate = members::minguoText(stored->date());
    const QSignalBlocker shownNotTyped(DBEdit6); // so the binder writes nothing
    DBEdit6->setText(m_birthdayFromDate);
}

void TFrmCust::onMovedTo(int rowNumber, int count) {
    m_footer->setText(Dts_Master->columnOf(QStringLiteral("name")), QString::number(count));
    if (count == 0) {
        m_movement->setEnabled(false, false);
        Image1->clear();
        return;
    }
    m_currentCustId = Qry_Master->value(QStringLiteral("id")).toString();
    m_movement->setEnabled(rowNumber != 1, rowNumber != count);
    showStoredBirthday();
    showPhoto(Qry_Master->value(QStringLiteral("photo")).toString());
}

// A missing file shows no picture; a file that is not a picture is an error.
void TFrmCust::showPhoto(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile() || db::isDatabaseFile(path)) {
        Image1->clear();
        return;
    }
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        throw FileError(QStringLiteral("無法讀取圖片 %1: %2").arg(path, reader.errorString()));
    Image1->setPixmap(QPixmap::fromImage(image));
}

void TFrmCust::openIfClosed() {
    if (!Qry_Master->isOpen())
        Qry_Master->open();
}

void TFrmCust::addMember() {
    openIfClosed();
    Qry_Master->append();
    m_isAppending = true;
    DBEdit1->setFocus();
}

void TFrmCust::editMember() {
    if (!Qry_Master->isOpen())
        return;
    Qry_Master->edit();
    DBEdit1->setFocus();
}

void TFrmCust::deleteMember() {
    if (Qry_Master->isOpen())
        Qry_Master->remove();
}

bool TFrmCust::confirmDelete() {
    return Prompt::current().question(kCaption, QStringLiteral("確實要刪除嗎﹖"), Prompt::No);
}

void TFrmCust::saveMember() {
    if (!Qry_Master->isEditing() || !storeMember())
        return;
    Prompt::current().message(Prompt::Icon::Information, kHint,
                              QStringLiteral("保存成功﹕共 1 筆"));
}

bool TFrmCust::storeMember() {
    if (!Qry_Master->post())
        return false;
    m_currentCustId = Qry_Master->value(QStringLiteral("id")).toString();
    return true;
}

void TFrmCust::cancelEditing() {
    if (!Prompt::current().question(kCaption, QStringLiteral("要取消嗎﹖")))
        return;
    Qry_Master->cancel();
}

bool TFrmCust::refuse(const QString& caption, const QString& text, QWidget* focus) {
    Prompt::current().message(Prompt::Icon::Information, caption, text);
    focus->setFocus();
    return false;
}

// In order: the number, duplicates, the birthday and the joining date. A
// year that is not a number ends the save with the conversion error. The
// duplicate test is made again with the row's write (numberTaken).
bool TFrmCust::checkBeforeStoring() {
    if (DBEdit1->text().trimmed().isEmpty())
        return refuse(kCaption, QStringLiteral("編號不能為空﹐請重新輸入!"), DBEdit1);
    if (numberTaken()) {
        refuseDuplicateNumber();
        return false;
    }
    if (!storeBirthday())
        return false;
    if (!members::isValidJoiningDate(DBEdit10->text()))
        return refuse(kHint, m_enterDateCaption + QStringLiteral("日期輸入錯誤!"), DBEdit10);
    m_isAppending = false;
    return true;
}

// Another member has the typed number. An existing member whose number did
// not change is not tested.
bool TFrmCust::numberTaken() const {
    const QString number = DBEdit1->text().trimmed();
    if (Qry_Master->state() == db::Dataset::State::Edit && number == m_currentCustId)
        return false;
    return numberInUse(number);
}

bool TFrmCust::numberInUse(const QString& number) {
    return db::run(QStringLiteral("select * from cust where id=:id"),
                   {{QStringLiteral("id"), number}})
        .next();
}

void TFrmCust::refuseDuplicateNumber() {
    m_isAppending = Qry_Master->state() == db::Dataset::State::Insert;
    refuse(kCaption, QStringLiteral("編號重複﹐請重新輸入!"), DBEdit1);
}

// The calendar birthday follows the typed one; a birthday shown from the
// stored date and left as shown keeps both stored columns as they are.
bool TFrmCust::storeBirthday() {
    if (!m_birthdayFromDate.isEmpty() && DBEdit6->text() == m_birthdayFromDate &&
        Qry_Master->value(QStringLiteral("b")).toString().trimmed().isEmpty())
        return true;
    const std::optional<QDate> birthday = members::birthdayDate(DBEdit6->text());
    if (!birthday)
        return refuse(kHint, QStringLiteral("生日格式輸入錯誤!"), DBEdit6);
    Qry_Master->setValue(QStringLiteral("birthday"),
                         birthday->isNull() ? QVariant() : QVariant(*birthday));
    return true;
}

// Printing shows the stored members only.
void TFrmCust::printList() {
    if (confirmLeaveRow())
        members::report::previewMemberList(*Qry_Master, this);
}

void TFrmCust::printLabels() {
    if (confirmLeaveRow())
        members::report::previewLabels(*Qry_Master, this);
}

void TFrmCust::choosePhoto() {
    const QString file = m_choosePicture();
    if (file.isEmpty())
        return;
    DBEdit13->setText(file);
    showPhoto(file);
}

// The window stays open unless the member being edited is stored or given
// up, also when storing it fails with an error.
void TFrmCust::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!confirmLeaveRow())
        return;
    m_gridLayout->save(gridLayoutPath(), gridLayoutSection());
    event->accept();
}
