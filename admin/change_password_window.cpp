#include "admin/change_password_window.h"

#include "admin/login_session.h"
#include "admin/passwords.h"
#include "base/byte_limit_validator.h"
#include "base/keyboard_navigation.h"
#include "base/password_echo.h"
#include "base/prompt.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kHint = QStringLiteral("提示");
constexpr int kPasswordBytes = 16; // as the users window types them

} // namespace

TFrmChangePassword::TFrmChangePassword(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmChangePassword"));
    setWindowTitle(QStringLiteral("修改密碼"));
    Edit1 = addPasswordEditor("Edit1");
    Edit2 = addPasswordEditor("Edit2");
    Edit3 = addPasswordEditor("Edit3");
    BtnOK = new QPushButton(QStringLiteral("確定"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("取消"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setAutoDefault(false);
    connect(BtnOK, &QPushButton::clicked, this, &TFrmChangePassword::change);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("用戶編號﹕"), new QLabel(LoginSession::current().UserID, this));
    form->addRow(QStringLiteral("目前密碼﹕"), Edit1);
    form->addRow(QStringLiteral("新密碼﹕"), Edit2);
    form->addRow(QStringLiteral("確認新密碼﹕"), Edit3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    keyboard::install(this);
    keyboard::setEscapeButton(BtnCancel);
}

QLineEdit* TFrmChangePassword::addPasswordEditor(const char* name) {
    auto* editor = new QLineEdit(this);
    editor->setObjectName(QLatin1String(name));
    hidePasswordTyping(editor);
    ByteLimitValidator::apply(editor, kPasswordBytes);
    return editor;
}

bool TFrmChangePassword::refuse(const QString& text, QLineEdit* focus) {
    Prompt::current().message(Prompt::Icon::Information, kHint, text);
    focus->setFocus();
    return false;
}

void TFrmChangePassword::change() {
    const QString user = LoginSession::current().UserID;
    if (Edit2->text().isEmpty()) {
        refuse(QStringLiteral("新密碼不能為空!"), Edit2);
        return;
    }
    if (Edit2->text() != Edit3->text()) {
        refuse(QStringLiteral("兩次輸入的新密碼不一致﹐請重新輸入!"), Edit3);
        return;
    }
    if (!passwords::checkSignIn(user, Edit1->text())) {
        refuse(QStringLiteral("目前密碼輸入錯誤﹐請重新輸入!"), Edit1);
        return;
    }
    passwords::setPassword(user, Edit2->text());
    Prompt::current().message(Prompt::Icon::Information, kHint, QStringLiteral("密碼已修改!"));
    accept();
}
