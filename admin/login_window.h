#pragma once

#include "admin/login_session.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class UserComboBox;

// The sign-in window: a user id from the users table and its password. On
// success it fills the LoginSession; on the first sign-in of a new database it
// creates the administrator "Admin" with an empty password.
class TFrmLogin : public QDialog {
public:
    explicit TFrmLogin(QWidget* parent = nullptr);

    // The user ids with names for the drop-down list, administrator left out.
    static QStringList userList();

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    void prepare();
    void placeBanner();
    void userTextChanged(const QString& text);
    void openKeypad();
    void ok();
    bool checkEntries();
    void signIn();

    QLabel* Image1;
    QLabel* Label8;
    QLabel* Label1;
    UserComboBox* DBComboBoxEh2;
    QLabel* Label2;
    QLineEdit* Edit2;
    QPushButton* BitBtn2;
    QPushButton* BtnOK;
    QPushButton* BtnCancel;
};

// The last-user file: "ServerIP.txt" in the working directory.
QString lastUserFilePath();
