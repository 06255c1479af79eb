#include "admin/login_window.h"

#include "admin/keypad_window.h"
#include "admin/passwords.h"
#include "admin/user_combo_box.h"
#include "base/byte_limit_validator.h"
#include "base/errors.h"
#include "base/keyboard_navigation.h"
#include "base/message_table.h"
#include "base/password_echo.h"
#include "base/program_title.h"
#include "base/prompt.h"
#include "base/text_helpers.h"
#include "db/connection.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSqlQuery>
#include <QTextStream>
#include <cmath>

namespace {

QPixmap bannerPicture() {
    QPixmap picture(300, 50);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 300, 0);
    gradient.setColorAt(0, QColor(0xF4, 0xF8, 0xFC));
    gradient.setColorAt(1, QColor(0xB8, 0xD0, 0xEA));
    painter.fillRect(picture.rect(), gradient);
    return picture;
}

} // namespace

QString lastUserFilePath() {
    return QDir::current().filePath(QStringLiteral("ServerIP.txt"));
}

TFrmLogin::TFrmLogin(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmLogin"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    buildWindow();
    keyboard::install(this);
    keyboard::setEscapeButton(BtnCancel);
}

void TFrmLogin::buildWindow() {
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(300, 50);
    Image1->setPixmap(bannerPicture());
    Label8 = new QLabel(Image1);
    Label8->setObjectName(QStringLiteral("Label8"));
    QFont bannerFont = Label8->font();
    bannerFont.setBold(true);
    bannerFont.setPointSize(16);
    Label8->setFont(bannerFont);
    Label8->setStyleSheet(QStringLiteral("color: blue;"));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DBComboBoxEh2 = new UserComboBox(this);
    DBComboBoxEh2->setObjectName(QStringLiteral("DBComboBoxEh2"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    hidePasswordTyping(Edit2);
    ByteLimitValidator::apply(Edit2, 18);
    BitBtn2 = new QPushButton(QStringLiteral("..."), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    BitBtn2->setFixedWidth(30);
    BtnOK = new QPushButton(this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Image1, 0, 0, 1, 4, Qt::AlignHCenter);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(DBComboBoxEh2, 1, 1, 1, 2);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(Edit2, 2, 1, 1, 2);
    grid->addWidget(BitBtn2, 2, 3);
    grid->addWidget(BtnOK, 3, 1);
    grid->addWidget(BtnCancel, 3, 2);
    setTabOrder(DBComboBoxEh2, Edit2);
    setTabOrder(Edit2, BtnOK);
    setTabOrder(BtnOK, BtnCancel);

    connect(DBComboBoxEh2, &UserComboBox::aboutToShowPopup, this,
            [this] { DBComboBoxEh2->replaceItems(userList()); });
    connect(DBComboBoxEh2, &QComboBox::editTextChanged, this, &TFrmLogin::userTextChanged);
    connect(BitBtn2, &QPushButton::clicked, this, &TFrmLogin::openKeypad);
    connect(BtnOK, &QPushButton::clicked, this, &TFrmLogin::ok);
    connect(BtnCancel, &QPushButton::clicked, this, &TFrmLogin::reject);
}

void TFrmLogin::showEvent(QShowEvent* event) {
    prepare();
    adjustSize();
    if (QScreen* display = screen())
        move(display->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

// Clears the entries, sets the texts and puts the last user in the user field.
void TFrmLogin::prepare() {
    setFixedHeight(219);
    Edit2->clear();
    DBComboBoxEh2->setEditText(QString());
    const MessageTable& texts = MessageTable::current();
    setWindowTitle(texts.LoginTitle);
    Label1->setText(texts.LoginUserIdLabel);
    Label2->setText(texts.LoginPasswordLabel);
    BtnOK->setText(texts.ButtonOk);
    BtnCancel->setText(texts.ButtonCancel);
    LoginSession::current().Cancelled = false;
    placeBanner();
    QFile lastUser(lastUserFilePath());
    if (lastUser.open(QIODevice::ReadOnly | QIODevice::Text))
        DBComboBoxEh2->setEditText(QTextStream(&lastUser).readLine());
    if (DBComboBoxEh2->currentText().isEmpty())
        DBComboBoxEh2->setFocus();
    else
        Edit2->setFocus();
}

void TFrmLogin::placeBanner() {
    Label8->setText(programTitle());
    Label8->adjustSize();
    const int left = static_cast<int>(std::lround((Image1->width() - Label8->width()) / 2.0));
    const int top = static_cast<int>(std::lround((Image1->height() - Label8->height()) / 2.0)) + 3;
    Label8->move(left, top);
}

QStringList TFrmLogin::userList() {
    QSqlQuery query =
        db::run(QStringList{QStringLiteral("select UserId||'.'||UserName as UserIdName from Users"),
                            QStringLiteral(" Where UserID<>'Admin'")});
    QStringList users;
    while (query.next())
        users << query.value(0).toString();
    return users;
}

// The user field keeps only the part before the first ".".
void TFrmLogin::userTextChanged(const QString& text) {
    const QString before = StrBefore(text, QStringLiteral("."));
    if (before != text)
        DBComboBoxEh2->setEditText(before);
}

void TFrmLogin::openKeypad() {
    const QPoint buttonPos = BitBtn2->mapTo(this, QPoint(0, 0));
    const QPoint at(x() + buttonPos.x() + BitBtn2->width() + 7, y() + buttonPos.y() + 30);
    TFrmInputString::open(Edit2, BtnOK, this, at);
}

void TFrmLogin::ok() {
    if (!checkEntries())
        return;
    signIn();
}

// The checks before the database is asked; false after showing a refusal.
bool TFrmLogin::checkEntries() {
    const MessageTable& texts = MessageTable::current();
    if (DBComboBoxEh2->currentText().isEmpty()) {
        InfoBox(texts.MsgUserIdEmpty);
        DBComboBoxEh2->setFocus();
        return false;
    }
    // Only an administrator without a password yet (the first sign-in of a
    // new register) may sign in with an empty one.
    if (Edit2->text().isEmpty() &&
        (DBComboBoxEh2->currentText().trimmed() != QLatin1String("Admin") ||
         !passwords::hasNoPassword(QStringLiteral("Admin")))) {
        InfoBox(texts.MsgPasswordEmpty);
        Edit2->setFocus();
        return false;
    }
    return true;
}

void TFrmLogin::signIn() {
    passwords::makeRoomForHashes();
    QSqlQuery count =
        db::run(QStringList{QStringLiteral("Select Count(UserID) as Cnt_UserID from Users"),
                            QStringLiteral(" Where UserID='Admin'")});
    if (!count.next() || count.value(0).toInt() < 1)
        db::run(QStringLiteral(
            "Insert into Users(UserID,UserName,UserPwd) values('Admin','Admin','')"));

    const QString user = DBComboBoxEh2->currentText();
    if (!passwords::checkSignIn(user, Edit2->text())) {
        InfoBox(MessageTable::current().MsgLoginFailed);
        DBComboBoxEh2->setFocus();
        return;
    }

    LoginSession& session = LoginSession::current();
    session.UserID = user;
    session.readGatewayCredentials();
    session.AppPath = QDir(QCoreApplication::applicationDirPath()).absolutePath() + '/';

    QFile lastUser(lastUserFilePath());
    if (!lastUser.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text) ||
        lastUser.write((StrBefore(user, QStringLiteral(".")).trimmed() + '\n').toUtf8()) < 0)
        throw FileError(
            QStringLiteral("無法寫入檔案 %1: %2").arg(lastUserFilePath(), lastUser.errorString()));
    lastUser.close();

    accept();
    TFrmInputString::closeIfOpen();
}

// Cancel, Esc or any other way of closing the window without signing in.
void TFrmLogin::reject() {
    LoginSession::current().Cancelled = true;
    QDialog::reject();
}
