#include "admin/system_settings_window.h"

#include "admin/login_session.h"
#include "base/byte_limit_validator.h"
#include "base/keyboard_navigation.h"
#include "base/prompt.h"
#include "base/readable_fields.h"
#include "base/window_opener.h"
#include "db/dataset.h"
#include "db/field_binder.h"
#include "db/record_buttons.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TFrmSystemSet::TFrmSystemSet(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FrmSystemSet"));
    setWindowTitle(QStringLiteral("系統參數設定"));
    Qry_Query = new db::Dataset(this);
    Qry_Query->setObjectName(QStringLiteral("Qry_Query"));
    Qry_Query->setBaseTable(QStringLiteral("SystemSet"));
    DataSource1 = new db::FieldBinder(Qry_Query, this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = buildSettingsPage();
    TabSheet2 = buildAdvancedPage();
    PageControl1->addTab(TabSheet1, QStringLiteral("系統參數設定"));
    PageControl1->addTab(TabSheet2, QStringLiteral("高級設置"));
    keepDisabledFieldsReadable(PageControl1);

    m_buttons = new RecordButtons(Qry_Query, this,
                                  RecordButtons::Edit | RecordButtons::Save |
                                      RecordButtons::Cancel | RecordButtons::Exit);
    m_buttons->connectActions({.edit = [this] { startEditing(); },
                               .save = [this] { save(); },
                               .cancel = [this] { cancelEditing(); }});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(m_buttons->layout());
    keyboard::install(this);

    Qry_Query->open(QStringLiteral("select * from Systemset"));
    PageControl1->setTabVisible(1, LoginSession::current().UserID == QLatin1String("Admin"));
}

QLineEdit* TFrmSystemSet::addEditor(const char* name, const QString& field, int maxBytes) {
    auto* editor = new QLineEdit(this);
    editor->setObjectName(QLatin1String(name));
    ByteLimitValidator::apply(editor, maxBytes);
    DataSource1->bind(editor, field);
    return editor;
}

QWidget* TFrmSystemSet::buildSettingsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* layout = new QVBoxLayout(page);
    auto* title = new QFormLayout;
    DBEdit7 = addEditor("DBEdit7", QStringLiteral("ReportTitle"), 30);
    title->addRow(QStringLiteral("報表抬頭﹕"), DBEdit7);
    layout->addLayout(title);

    auto* company = new QGroupBox(QStringLiteral("公司資料"), page);
    company->setObjectName(QStringLiteral("GroupBox1"));
    auto* companyForm = new QFormLayout(company);
    companyForm->addRow(QStringLiteral("公司名稱﹕"),
                        addEditor("DBEdit1", QStringLiteral("Name"), 30));
    companyForm->addRow(QStringLiteral("公司電話﹕"),
                        addEditor("DBEdit3", QStringLiteral("Tel"), 15));
    companyForm->addRow(QStringLiteral("傳真﹕"), addEditor("DBEdit11", QStringLiteral("Fax"), 15));
    companyForm->addRow(QStringLiteral("公司地址﹕"),
                        addEditor("DBEdit2", QStringLiteral("Address"), 50));
    layout->addWidget(company);

    auto* captions = new QGroupBox(QStringLiteral("欄位修改"), page);
    captions->setObjectName(QStringLiteral("GroupBox2"));
    auto* captionForm = new QFormLayout(captions);
    // The category caption takes 8 bytes of typing though its column holds 6
    // characters: a longer caption is refused when the row is saved.
    captionForm->addRow(QStringLiteral("類別"), addEditor("DBEdit9", QStringLiteral("CW"), 8));
    captionForm->addRow(QStringLiteral("入會日期"),
                        addEditor("DBEdit10", QStringLiteral("EnterDate"), 8));
    captionForm->addRow(QStringLiteral("見習日期"),
                        addEditor("DBEdit20", QStringLiteral("Date1"), 50));
    captionForm->addRow(QStringLiteral("備註一"),
                        addEditor("DBEdit4", QStringLiteral("Memo1"), 20));
    captionForm->addRow(QStringLiteral("備註二"),
                        addEditor("DBEdit5", QStringLiteral("Memo2"), 20));
    captionForm->addRow(QStringLiteral("備註三"), addEditor("DBEdit8", QStringLiteral("Memo3"), 8));
    captionForm->addRow(QStringLiteral("備註四"),
                        addEditor("DBEdit13", QStringLiteral("Memo4"), 50));
    captionForm->addRow(QStringLiteral("備註五"),
                        addEditor("DBEdit14", QStringLiteral("Memo5"), 50));
    layout->addWidget(captions);

    auto* heading = new QGroupBox(QStringLiteral("標題名稱修改"), page);
    heading->setObjectName(QStringLiteral("GroupBox3"));
    auto* headingLayout = new QVBoxLayout(heading);
    headingLayout->addWidget(addEditor("DBEdit6", QStringLiteral("Cust"), 10));
    layout->addWidget(heading);
    layout->addStretch();
    return page;
}

QWidget* TFrmSystemSet::buildAdvancedPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("系統代號"), addEditor("DBEdit15", QStringLiteral("SystemID"), 50));
    form->addRow(QStringLiteral("經銷商代號"), addEditor("DBEdit16", QStringLiteral("SuppID"), 50));
    return page;
}

bool TFrmSystemSet::advancedPageVisible() const {
    return PageControl1->isTabVisible(1);
}

// Edits the settings row, or starts one when the table is empty.
void TFrmSystemSet::startEditing() {
    Qry_Query->edit();
    if (DBEdit7->isEnabled() && DBEdit7->isVisible())
        DBEdit7->setFocus();
}

void TFrmSystemSet::save() {
    if (Qry_Query->post())
        emit saved();
}

void TFrmSystemSet::cancelEditing() {
    if (Prompt::current().question(QStringLiteral("會員管理"), QStringLiteral("要取消嗎﹖")))
        Qry_Query->cancel();
}

void TFrmSystemSet::closeEvent(QCloseEvent* event) {
    if (Qry_Query->isEditing()) {
        Prompt::current().message(Prompt::Icon::Warning, QStringLiteral("提示"),
                                  QStringLiteral("請保存後再離開"));
        event->ignore();
        return;
    }
    event->accept();
}
