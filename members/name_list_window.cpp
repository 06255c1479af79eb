#include "members/name_list_window.h"

#include "base/byte_limit_validator.h"
#include "base/keyboard_navigation.h"
#include "base/prompt.h"
#include "base/window_opener.h"
#include "db/connection.h"
#include "db/dataset.h"
#include "db/dataset_grid.h"
#include "db/dataset_model.h"
#include "db/field_binder.h"
#include "db/record_buttons.h"
#include "members/movement_buttons.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlQuery>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const int kNameBytes = 16;

} // namespace

NameListWindow::NameListWindow(const Setup& setup, QWidget* parent)
    : QWidget(parent), m_emptyMessage(setup.emptyMessage), m_field(setup.field),
      m_missingNames(setup.missingNames) {
    setObjectName(QLatin1String(setup.objectName));
    setWindowTitle(setup.caption);
    ADOQuery1 = new db::Dataset(this);
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery1->setBaseTable(setup.table);
    ADOQuery1->setStatement(setup.statement);
    ADOQuery1->addBeforePost([this] { return checkName(); });
    buildGrid(setup);

    m_binder = new db::FieldBinder(ADOQuery1, this);
    DBEdit1 = new QLineEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    ByteLimitValidator::apply(DBEdit1, kNameBytes);
    m_binder->bind(DBEdit1, setup.field);
    auto* editorRow = new QHBoxLayout;
    editorRow->addWidget(new QLabel(setup.label, this));
    editorRow->addWidget(DBEdit1);
    editorRow->addStretch();
    if (!m_missingNames.isEmpty()) {
        m_addMissing = new QPushButton(setup.addMissingButton, this);
        m_addMissing->setObjectName(QStringLiteral("BtnAddMissing"));
        connect(m_addMissing, &QPushButton::clicked, this, &NameListWindow::addMissingNames);
        editorRow->addWidget(m_addMissing);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGridEh1, 1);
    layout->addLayout(editorRow);
    buildButtons();
    connect(ADOQuery1, &db::Dataset::stateChanged, this, &NameListWindow::onStateChanged);
    connect(ADOQuery1, &db::Dataset::movedTo, this, &NameListWindow::onStateChanged);
    onStateChanged();
    keyboard::install(this);
}

NameListWindow::~NameListWindow() = default;

void NameListWindow::buildGrid(const Setup& setup) {
    DataSource1 = new db::DatasetModel(ADOQuery1, this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    QList<db::DatasetModel::Column> columns;
    if (!setup.hiddenField.isEmpty())
        columns.append({setup.hiddenField, QString()});
    columns.append({setup.field, setup.title});
    DataSource1->setColumns(columns);
    DBGridEh1 = db::newDatasetGrid(DataSource1, this);
    if (!setup.hiddenField.isEmpty())
        DBGridEh1->setColumnHidden(DataSource1->columnOf(setup.hiddenField), true);
    DBGridEh1->setColumnWidth(DataSource1->columnOf(setup.field), setup.width);
    // As wide as the name column and a vertical scroll bar, no wider.
    DBGridEh1->setMinimumWidth(setup.width + DBGridEh1->verticalHeader()->sizeHint().width() +
                               DBGridEh1->verticalScrollBar()->sizeHint().width() +
                               2 * DBGridEh1->frameWidth());
}

void NameListWindow::buildButtons() {
    auto* bar = new QHBoxLayout;
    m_movement = std::make_unique<MovementButtons>(ADOQuery1, this, bar);
    m_buttons = new RecordButtons(ADOQuery1, this);
    bar->addLayout(m_buttons->layout(), 1);
    m_buttons->connectActions({.add =
                                   [this] {
                                       ADOQuery1->append();
                                       focusEditor();
                                   },
                               .edit =
                                   [this] {
                                       ADOQuery1->edit();
                                       focusEditor();
                                   },
                               .save = [this] { save(); },
                               .cancel = [this] { cancel(); }});
    static_cast<QVBoxLayout*>(layout())->addLayout(bar);
}

void NameListWindow::focusEditor() {
    if (DBEdit1->isEnabled() && DBEdit1->isVisible())
        DBEdit1->setFocus();
}

void NameListWindow::save() {
    if (!ADOQuery1->post())
        return;
    ADOQuery1->append();
    focusEditor();
}

void NameListWindow::cancel() {
    if (Prompt::current().question(QStringLiteral("會員管理"), QStringLiteral("要取消嗎﹖")))
        ADOQuery1->cancel();
}

bool NameListWindow::checkName() {
    if (!DBEdit1->text().trimmed().isEmpty())
        return true;
    Prompt::current().message(Prompt::Icon::Warning, QStringLiteral("提示"), m_emptyMessage);
    return false;
}

// The movement buttons, like add, edit, delete and exit, only while no row is
// being edited.
void NameListWindow::onStateChanged() {
    const bool editing = ADOQuery1->isEditing();
    m_movement->setEnabled(!editing, !editing);
    if (m_addMissing != nullptr)
        m_addMissing->setEnabled(!editing && ADOQuery1->isOpen() && !missingNames().isEmpty());
}

QStringList NameListWindow::missingNames() const {
    QStringList names;
    QSqlQuery query = db::run(m_missingNames);
    while (query.next())
        names << query.value(0).toString();
    return names;
}

// Adds every missing name as its own row, then shows the list again; the
// button stays off until a name is missing again (another desk may have added
// them meanwhile, so there may be none left).
void NameListWindow::addMissingNames() {
    const QStringList names = missingNames();
    const QString insert =
        QStringLiteral("insert into %1(%2) values(:name)").arg(ADOQuery1->baseTable(), m_field);
    for (const QString& name : names)
        db::run(insert, {{QStringLiteral("name"), name}});
    ADOQuery1->refresh();
    onStateChanged();
}

void NameListWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!ADOQuery1->isOpen())
        ADOQuery1->open();
}

void NameListWindow::closeEvent(QCloseEvent* event) {
    if (ADOQuery1->isEditing()) {
        Prompt::current().message(Prompt::Icon::Warning, QStringLiteral("提示"),
                                  QStringLiteral("請保存後再離開"));
        event->ignore();
        return;
    }
    event->accept();
}

TFrmKind::TFrmKind(QWidget* parent)
    : NameListWindow({"FrmKind", QStringLiteral("類別建檔"), QStringLiteral("select * from Kinds"),
                      QStringLiteral("Kinds"), QStringLiteral("KindName"), QString(),
                      QStringLiteral("類別名稱"), 219, QStringLiteral("類別名稱﹕"),
                      QStringLiteral("類別名稱不能為空"),
                      QStringLiteral("select distinct Kind from Cust where Kind is not null and "
                                     "trim(Kind) <> '' and Kind not in "
                                     "(select KindName from Kinds where KindName is not null) "
                                     "order by Kind"),
                      QStringLiteral("加入會員已使用的類別")},
                     parent) {}

TFrmName::TFrmName(QWidget* parent)
    : NameListWindow({"FrmName", QStringLiteral("稱謂建檔"),
                      QStringLiteral("select * from CWNames"), QStringLiteral("CWNames"),
                      QStringLiteral("Name"), QStringLiteral("Id"), QStringLiteral("稱謂名稱"), 220,
                      QStringLiteral("稱謂名稱﹕"), QStringLiteral("稱謂名稱不能為空"), QString(),
                      QString()},
                     parent) {}
