#include "sms/cust_register_window.h"

#include "admin/login_session.h"
#include "base/byte_limit_validator.h"
#include "base/keyboard_navigation.h"
#include "base/password_echo.h"
#include "db/dataset.h"
#include "db/field_binder.h"
#include "db/record_buttons.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

const int kAccountBytes = 50;

} // namespace

TFrmCustRegister::TFrmCustRegister(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmCustRegister"));
    setWindowTitle(QStringLiteral("簡訊註冊"));
    Qry_Query = new db::Dataset(this);
    Qry_Query->setObjectName(QStringLiteral("Qry_Query"));
    Qry_Query->setBaseTable(QStringLiteral("SystemSet"));
    Qry_Query->setStatement(QStringLiteral("select * from Systemset"));
    DataSource1 = new db::FieldBinder(Qry_Query, this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DBEdit17 = addEditor("DBEdit17", QStringLiteral("CustID"));
    DBEdit18 = addEditor("DBEdit18", QStringLiteral("CustPwd"));
    hidePasswordTyping(DBEdit18);
    DBEdit19 = addEditor("DBEdit19", QStringLiteral("CustName"));

    m_buttons = new RecordButtons(Qry_Query, this,
                                  RecordButtons::Edit | RecordButtons::Save |
                                      RecordButtons::Cancel | RecordButtons::Exit);
    // Editing an empty table starts its first row.
    m_buttons->connectActions({.save = [this] { save(); }, .exit = [this] { reject(); }});

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("帳號"), DBEdit17);
    form->addRow(QStringLiteral("密碼"), DBEdit18);
    form->addRow(QStringLiteral("名稱"), DBEdit19);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(m_buttons->layout());
    keyboard::install(this);
}

QLineEdit* TFrmCustRegister::addEditor(const char* name, const QString& field) {
    auto* editor = new QLineEdit(this);
    editor->setObjectName(QLatin1String(name));
    ByteLimitValidator::apply(editor, kAccountBytes);
    DataSource1->bind(editor, field);
    return editor;
}

// The stored values show at every opening.
void TFrmCustRegister::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Qry_Query->close();
    Qry_Query->open();
}

// The one way the row is stored: Ctrl+S and Enter on 保存 press the button
// itself. The session takes the new values only once the row is stored; a
// refused row leaves the window editing and the session as it was.
void TFrmCustRegister::save() {
    if (!Qry_Query->post())
        return;
    LoginSession& session = LoginSession::current();
    session.CustID = DBEdit17->text();
    session.CustPwd = DBEdit18->text();
    session.CustName = DBEdit19->text();
}
