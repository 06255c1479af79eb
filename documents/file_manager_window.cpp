#include "documents/file_manager_window.h"

#include "base/byte_limit_validator.h"
#include "base/keyboard_navigation.h"
#include "base/prompt.h"
#include "base/window_opener.h"
#include "db/dataset.h"
#include "db/dataset_grid.h"
#include "db/dataset_model.h"
#include "db/field_binder.h"
#include "db/record_buttons.h"
#include "documents/copy_memo_window.h"
#include "documents/date_editor.h"
#include "documents/date_field_binder.h"
#include "documents/desktop_hooks.h"
#include "documents/document_statements.h"
#include "documents/file_search_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

TFrmFileMgr::TFrmFileMgr(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmFileMgr"));
    setWindowTitle(QStringLiteral("Office檔案管理"));
    setSizeGripEnabled(true);
    buildQuery();
    buildEditors();
    buildButtons();
    buildLayout();
    keyboard::install(this);
}

QString TFrmFileMgr::documentFilter() {
    return QStringLiteral("Word 檔案 (*.doc);;Excel 檔案 (*.xls);;所有檔案 (*.*)");
}

void TFrmFileMgr::buildQuery() {
    Qry_File = new db::Dataset(this);
    Qry_File->setObjectName(QStringLiteral("Qry_File"));
    Qry_File->setBaseTable(QStringLiteral("File"));
    Qry_File->setStatement(documents::allFilesStatement());
    Dts_File = new db::DatasetModel(Qry_File, this);
    Dts_File->setObjectName(QStringLiteral("Dts_File"));
    Dts_File->setColumns({{QStringLiteral("Date1"), QStringLiteral("建檔日期")},
                          {QStringLiteral("Name"), QStringLiteral("檔案名稱")}});
}

// Created in the order the focus moves through them: the quick search, the
// list, then the fields top to bottom.
void TFrmFileMgr::buildEditors() {
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    BitBtn3 = addButton("BitBtn3", QStringLiteral("查詢"));
    connect(BitBtn3, &QPushButton::clicked, this, &TFrmFileMgr::quickSearch);

    DBGridEh1 = db::newDatasetGrid(Dts_File, this);
    DBGridEh1->horizontalHeader()->setStretchLastSection(true);

    m_binder = new db::FieldBinder(Qry_File, this);
    DBEdit1 = addEditor("DBEdit1", QStringLiteral("Name"), 200);
    DBEdit2 = addEditor("DBEdit2", QStringLiteral("Kind"), 50);
    DBEdit3 = addEditor("DBEdit3", QStringLiteral("ContentNo"), 200);
    DBEdit4 = addEditor("DBEdit4", QStringLiteral("ContentName"), 200);
    DBMemo1 = new QPlainTextEdit(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setTabChangesFocus(true);
    m_binder->bind(DBMemo1, QStringLiteral("Memo"));
    BtnCopyMemo = addButton("BtnCopyMemo", QStringLiteral("複製摘要"));
    connect(BtnCopyMemo, &QPushButton::clicked, this, &TFrmFileMgr::copyMemo);

    DBEdit5 = addEditor("DBEdit5", QStringLiteral("Path1"), 200);
    BtnBrowse = addButton("BtnBrowse", QStringLiteral("..."));
    connect(BtnBrowse, &QPushButton::clicked, this, &TFrmFileMgr::browseFile);
    BtnEdit = addButton("BtnEdit", QString());
    BtnEdit->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    BtnEdit->setToolTip(QStringLiteral("開啟檔案"));
    connect(BtnEdit, &QPushButton::clicked, this, &TFrmFileMgr::openFile);

    DBDateTimeEditEh1 = new DateEditor(this);
    DBDateTimeEditEh1->setObjectName(QStringLiteral("DBDateTimeEditEh1"));
    m_dateBinder = new DateFieldBinder(Qry_File, DBDateTimeEditEh1, QStringLiteral("Date1"), this);
}

void TFrmFileMgr::buildButtons() {
    m_buttons = new RecordButtons(Qry_File, this);
    SbSearch = addButton("SbSearch", QStringLiteral("詳細查詢"));
    // Between "刪除" and "保存" in the row of record buttons.
    m_buttons->layout()->insertWidget(3, SbSearch);
    m_buttons->connectActions({.remove = [this] { deleteRecord(); }, .exit = [this] { accept(); }});
    connect(SbSearch, &QPushButton::clicked, this, &TFrmFileMgr::detailedSearch);
    connect(Qry_File, &db::Dataset::stateChanged, this, &TFrmFileMgr::updateButtons);
    updateButtons();
}

QLineEdit* TFrmFileMgr::addEditor(const char* name, const QString& field, int maxBytes) {
    auto* editor = new QLineEdit(this);
    editor->setObjectName(QLatin1String(name));
    ByteLimitValidator::apply(editor, maxBytes);
    m_binder->bind(editor, field);
    return editor;
}

QPushButton* TFrmFileMgr::addButton(const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

void TFrmFileMgr::buildLayout() {
    auto* search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("檔案名稱"), this));
    search->addWidget(Edit1, 1);
    search->addWidget(new QLabel(QStringLiteral("檔案字號"), this));
    search->addWidget(Edit2, 1);
    search->addWidget(BitBtn3);
    auto* left = new QVBoxLayout;
    left->addLayout(search);
    left->addWidget(DBGridEh1, 1);

    auto* memo = new QVBoxLayout;
    memo->addWidget(DBMemo1, 1);
    memo->addWidget(BtnCopyMemo, 0, Qt::AlignRight);
    auto* path = new QHBoxLayout;
    path->addWidget(DBEdit5, 1);
    path->addWidget(BtnBrowse);
    path->addWidget(BtnEdit);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("檔案名稱"), DBEdit1);
    form->addRow(QStringLiteral("檔案類別"), DBEdit2);
    form->addRow(QStringLiteral("檔案字號"), DBEdit3);
    form->addRow(QStringLiteral("活動名稱"), DBEdit4);
    form->addRow(QStringLiteral("摘要"), memo);
    form->addRow(QStringLiteral("檔案路徑"), path);
    form->addRow(QStringLiteral("建檔日期"), DBDateTimeEditEh1);
    auto* right = new QVBoxLayout;
    right->addLayout(form, 1);
    right->addLayout(m_buttons->layout());

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 2);
    layout->addLayout(right, 3);
    resize(900, 520);
}

// While a record is edited or inserted only its fields, "保存", "取消" and
// "..." take input; the record buttons follow the dataset on their own. A
// search replaces the rows and would drop the record being edited, so the
// quick search waits for it like the detailed search does.
void TFrmFileMgr::updateButtons() {
    const bool editing = Qry_File->isEditing();
    SbSearch->setEnabled(!editing);
    BitBtn3->setEnabled(!editing);
    BtnBrowse->setEnabled(editing);
}

// Every opening reads the table afresh and starts with empty search boxes.
void TFrmFileMgr::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        Qry_File->close();
        Qry_File->open();
        Edit1->clear();
        Edit2->clear();
    }
    QDialog::showEvent(event);
}

void TFrmFileMgr::deleteRecord() {
    if (ConfirmBox(QStringLiteral("確定要刪除嗎﹖"), Prompt::No))
        Qry_File->remove();
}

void TFrmFileMgr::browseFile() {
    const QString path = documents::chooseFile(this, documentFilter(), DBEdit5->text());
    if (!path.isEmpty())
        DBEdit5->setText(path);
}

void TFrmFileMgr::openFile() {
    documents::openDocument(DBEdit5->text());
}

void TFrmFileMgr::quickSearch() {
    Qry_File->open(documents::quickSearchStatement(),
                   documents::quickSearchParams(Edit1->text(), Edit2->text()));
}

void TFrmFileMgr::detailedSearch() {
    windows::openModal<TFrmFileSearch>(this, Qry_File);
}

void TFrmFileMgr::copyMemo() {
    windows::openModal<TFrmCopyFileMemo>(this, DBMemo1->toPlainText());
}
