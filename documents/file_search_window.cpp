#include "documents/file_search_window.h"

#include "base/keyboard_navigation.h"
#include "db/dataset.h"
#include "documents/date_editor.h"
#include "documents/document_statements.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TFrmFileSearch::TFrmFileSearch(db::Dataset* files, QWidget* parent)
    : QDialog(parent), m_files(files) {
    setObjectName(QStringLiteral("FrmFileSearch"));
    setWindowTitle(QStringLiteral("檔案查詢"));
    Edit1 = addEditor("Edit1");
    Edit2 = addEditor("Edit2");
    Edit3 = addEditor("Edit3");
    Edit4 = addEditor("Edit4");
    DBDateTimeEditEh1 = addDateEditor("DBDateTimeEditEh1");
    DBDateTimeEditEh2 = addDateEditor("DBDateTimeEditEh2");
    Edit5 = addEditor("Edit5");
    BitBtn1 = new QPushButton(QStringLiteral("查詢"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    BitBtn2 = new QPushButton(QStringLiteral("關閉"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    keyboard::setEscapeButton(BitBtn2);
    connect(BitBtn1, &QPushButton::clicked, this, &TFrmFileSearch::search);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
    buildLayout();
    keyboard::install(this);
}

QLineEdit* TFrmFileSearch::addEditor(const char* name) {
    auto* editor = new QLineEdit(this);
    editor->setObjectName(QLatin1String(name));
    return editor;
}

DateEditor* TFrmFileSearch::addDateEditor(const char* name) {
    auto* editor = new DateEditor(this);
    editor->setObjectName(QLatin1String(name));
    return editor;
}

void TFrmFileSearch::buildLayout() {
    auto* dates = new QHBoxLayout;
    dates->addWidget(DBDateTimeEditEh1, 1);
    dates->addWidget(new QLabel(QStringLiteral("~~"), this));
    dates->addWidget(DBDateTimeEditEh2, 1);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("檔案名稱"), Edit1);
    form->addRow(QStringLiteral("檔案類別"), Edit2);
    form->addRow(QStringLiteral("檔案字號"), Edit3);
    form->addRow(QStringLiteral("活動名稱"), Edit4);
    form->addRow(QStringLiteral("建檔日期"), dates);
    form->addRow(QStringLiteral("摘要"), Edit5);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(460, 280);
}

void TFrmFileSearch::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        setDefaults();
    QDialog::showEvent(event);
}

// Empty texts, and the dates from the first of the current month to today.
void TFrmFileSearch::setDefaults() {
    for (QLineEdit* editor : {Edit1, Edit2, Edit3, Edit4, Edit5})
        editor->clear();
    const QDate today = QDate::currentDate();
    DBDateTimeEditEh1->setValue(QDate(today.year(), today.month(), 1));
    DBDateTimeEditEh2->setValue(today);
}

// The values are made before the document window's query is touched, so an
// emptied date box stops the search with the document window's result still
// in place.
void TFrmFileSearch::search() {
    documents::DetailedSearch criteria;
    criteria.name = Edit1->text();
    criteria.kind = Edit2->text();
    criteria.contentNo = Edit3->text();
    criteria.contentName = Edit4->text();
    criteria.memo = Edit5->text();
    criteria.from = DBDateTimeEditEh1->value();
    criteria.to = DBDateTimeEditEh2->value();
    const QVariantMap params = documents::detailedSearchParams(criteria);
    m_files->open(documents::detailedSearchStatement(), params);
}
