#include "admin/users_window.h"

#include "admin/passwords.h"
#include "base/byte_limit_validator.h"
#include "base/keyboard_navigation.h"
#include "base/password_echo.h"
#include "base/prompt.h"
#include "base/readable_fields.h"
#include "db/dataset.h"
#include "db/dataset_grid.h"
#include "db/dataset_model.h"
#include "db/field_binder.h"
#include "db/record_buttons.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

QStringList TFrmUsers::statement() {
    return {
        QStringLiteral("Select UserID,UserName,UserPwd,Sex,ID,Tel1,MoveTel1,Address from Users"),
        QStringLiteral("  where Userid<>'Admin'")};
}

TFrmUsers::TFrmUsers(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmUsers"));
    setWindowTitle(QStringLiteral("用戶資料管理"));
    Qry_User = new db::Dataset(this);
    Qry_User->setObjectName(QStringLiteral("Qry_User"));
    Qry_User->setBaseTable(QStringLiteral("Users"));
    Qry_User->setStatement(statement());
    // A password typed here is stored as its hash, never as typed; an empty
    // password box keeps the stored password.
    Qry_User->addBeforePost([this] {
        if (!DBEdit3->text().isEmpty())
            Qry_User->setValue(QStringLiteral("UserPwd"), passwords::hash(DBEdit3->text()));
        return true;
    });
    Dts_User = new db::DatasetModel(Qry_User, this);
    Dts_User->setObjectName(QStringLiteral("Dts_User"));
    Dts_User->setColumns({{QStringLiteral("UserID"), QStringLiteral("用戶編號")},
                          {QStringLiteral("UserName"), QStringLiteral("姓名")}});
    DBGridEh1 = db::newDatasetGrid(Dts_User, this);

    m_binder = new db::FieldBinder(Qry_User, this);
    DBEdit1 = addEditor("DBEdit1", QStringLiteral("UserID"), 8);
    DBEdit2 = addEditor("DBEdit2", QStringLiteral("UserName"), 10);
    // The password box is not bound: the stored hash is never shown.
    DBEdit3 = new QLineEdit(this);
    DBEdit3->setObjectName(QStringLiteral("DBEdit3"));
    ByteLimitValidator::apply(DBEdit3, 16);
    hidePasswordTyping(DBEdit3);
    connect(Qry_User, &db::Dataset::stateChanged, this, &TFrmUsers::preparePasswordBox);
    connect(Qry_User, &db::Dataset::movedTo, this, &TFrmUsers::preparePasswordBox);
    preparePasswordBox();
    DBComboBoxEh1 = new QComboBox(this);
    DBComboBoxEh1->setObjectName(QStringLiteral("DBComboBoxEh1"));
    DBComboBoxEh1->addItems({QStringLiteral("男"), QStringLiteral("女")});
    m_binder->bind(DBComboBoxEh1, QStringLiteral("Sex"));
    DBEdit5 = addEditor("DBEdit5", QStringLiteral("ID"), 18);
    DBEdit6 = addEditor("DBEdit6", QStringLiteral("Tel1"), 20);
    DBEdit7 = addEditor("DBEdit7", QStringLiteral("MoveTel1"), 15);
    DBEdit8 = addEditor("DBEdit8", QStringLiteral("Address"), 50);

    m_buttons = new RecordButtons(Qry_User, this);
    // As in the member window, adding or editing starts at the first editor.
    m_buttons->connectActions({.add =
                                   [this] {
                                       Qry_User->append();
                                       DBEdit1->setFocus();
                                   },
                               .edit =
                                   [this] {
                                       // Editing nothing would start a new row.
                                       if (Qry_User->isEmpty()) {
                                           Prompt::current().message(
                                               Prompt::Icon::Warning, QStringLiteral("提示"),
                                               QStringLiteral("沒有選中的用戶﹐無法修改"));
                                           return;
                                       }
                                       Qry_User->edit();
                                       if (Qry_User->isEditing())
                                           DBEdit1->setFocus();
                                   },
                               .exit = [this] { accept(); }});
    buildLayout();
    keepDisabledFieldsReadable(this);
    keyboard::install(this);
}

// Empty at every row and every start of editing; it says whether the row
// has a password, which an empty box leaves as it is.
void TFrmUsers::preparePasswordBox() {
    DBEdit3->clear();
    DBEdit3->setEnabled(Qry_User->isEditing());
    const bool hasPassword = Qry_User->isOpen() && !Qry_User->isEmpty() &&
                             !Qry_User->value(QStringLiteral("UserPwd")).toString().isEmpty();
    DBEdit3->setPlaceholderText(hasPassword
                                    ? (Qry_User->isEditing() ? QStringLiteral("留空則不變更密碼")
                                                             : QStringLiteral("已設定密碼"))
                                    : QString());
}

QLineEdit* TFrmUsers::addEditor(const char* name, const QString& field, int maxBytes) {
    auto* editor = new QLineEdit(this);
    editor->setObjectName(QLatin1String(name));
    ByteLimitValidator::apply(editor, maxBytes);
    m_binder->bind(editor, field);
    return editor;
}

void TFrmUsers::buildLayout() {
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("用戶編號"), DBEdit1);
    form->addRow(QStringLiteral("用戶姓名"), DBEdit2);
    form->addRow(QStringLiteral("密碼"), DBEdit3);
    form->addRow(QStringLiteral("性別"), DBComboBoxEh1);
    form->addRow(QStringLiteral("身份証"), DBEdit5);
    form->addRow(QStringLiteral("電話"), DBEdit6);
    form->addRow(QStringLiteral("手機"), DBEdit7);
    form->addRow(QStringLiteral("地址"), DBEdit8);
    auto* top = new QHBoxLayout;
    top->addWidget(DBGridEh1, 1);
    top->addLayout(form, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(m_buttons->layout());
    resize(640, 360);
}

// The list is read afresh at every show.
void TFrmUsers::showEvent(QShowEvent* event) {
    Qry_User->close();
    Qry_User->open();
    QDialog::showEvent(event);
}
