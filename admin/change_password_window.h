#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// Lets the signed-in user change their own password: the present one, the
// new one twice. The administrator, whose first password is empty, leaves
// the present one empty; once set, Admin's empty-password sign-in ends.
class TFrmChangePassword : public QDialog {
public:
    explicit TFrmChangePassword(QWidget* parent = nullptr);

private:
    QLineEdit* addPasswordEditor(const char* name);
    void change();
    bool refuse(const QString& text, QLineEdit* focus);

    QLineEdit* Edit1; // present password
    QLineEdit* Edit2; // new password
    QLineEdit* Edit3; // new password again
    QPushButton* BtnOK;
    QPushButton* BtnCancel;
};
