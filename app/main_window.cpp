#include "app/main_window.h"

#include "admin/change_password_window.h"
#include "admin/login_session.h"
#include "admin/login_window.h"
#include "admin/system_settings_window.h"
#include "admin/users_window.h"
#include "app/about_window.h"
#include "app/help_window.h"
#include "app/restore_window.h"
#include "base/prompt.h"
#include "base/text_helpers.h"
#include "base/window_opener.h"
#include "db/backup.h"
#include "db/change_history.h"
#include "db/connection.h"
#include "db/database_target.h"
#include "db/default_settings.h"
#include "documents/file_manager_window.h"
#include "members/change_history_window.h"
#include "members/import/customer_import_window.h"
#include "members/import/import_log.h"
#include "members/import/import_undo.h"
#include "members/import/text_import.h"
#include "members/import/workbook_import_flow.h"
#include "members/member_window.h"
#include "members/name_list_window.h"
#include "sms/cust_register_window.h"
#include "sms/normal_window.h"
#include "sms/send_message_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLinearGradient>
#include <QMdiArea>
#include <QMenuBar>
#include <QPainter>
#include <QSettings>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStatusBar>

namespace {

// The picture behind the child windows.
QBrush backgroundBrush() {
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0, QColor(0xDC, 0xE9, 0xF5));
    gradient.setColorAt(1, QColor(0x8F, 0xB3, 0xD9));
    return QBrush(gradient);
}

} // namespace

TFrmMain::TFrmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("會員管理"));
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("Image1"));
    m_mdiArea->setBackground(backgroundBrush());
    setCentralWidget(m_mdiArea);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    m_statusPanel = new QLabel(this);
    m_statusPanel->setFixedWidth(500);
    statusBar()->addWidget(m_statusPanel);
    m_userPanel = new QLabel(this);
    m_userPanel->setObjectName(QStringLiteral("StatusUser"));
    statusBar()->addPermanentWidget(m_userPanel);
    buildMenu();
}

QMenu* TFrmMain::addSubmenu(const char* name, const QString& caption) {
    QMenu* menu = menuBar()->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction* TFrmMain::addItem(QMenu* menu, const char* name, const QString& caption,
                           void (TFrmMain::*slot)()) {
    QAction* action = menu ? menu->addAction(caption) : menuBar()->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void TFrmMain::buildMenu() {
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    addItem(nullptr, "N1", QStringLiteral("文本導入 "), &TFrmMain::importText)->setVisible(false);
    addItem(nullptr, "Excel1", QStringLiteral("Excel 導入"), &TFrmMain::importWorkbook)
        ->setVisible(false);
    QMenu* basics = addSubmenu("N2", QStringLiteral("基本資料"));
    addItem(basics, "N7", QStringLiteral("會員資料"), &TFrmMain::openMembers);
    addItem(basics, "N8", QStringLiteral("類別建檔"), &TFrmMain::openKinds);
    addItem(basics, "N9", QStringLiteral("稱謂建檔"), &TFrmMain::openSalutations);
    addItem(basics, "N3", QStringLiteral("常用片語"), &TFrmMain::openPhrases);
    addItem(basics, "CustHistory", QStringLiteral("修改紀錄"), &TFrmMain::openChangeHistory);
    QMenu* sms = addSubmenu("N11", QStringLiteral("簡訊作業"));
    addItem(sms, "N14", QStringLiteral("發送簡訊"), &TFrmMain::openSendMessage);
    addItem(sms, "N15", QStringLiteral("簡訊註冊"), &TFrmMain::openSmsAccount);
    QMenu* files = addSubmenu("N5", QStringLiteral("檔案管理"));
    files->menuAction()->setVisible(false);
    addItem(files, "Office1", QStringLiteral("Office檔案管理"), &TFrmMain::openDocuments);
    QMenu* system = addSubmenu("N4", QStringLiteral("系統維護"));
    addItem(system, "N10", QStringLiteral("系統參數設定"), &TFrmMain::openSystemSettings);
    addItem(system, "N12", QStringLiteral("用戶資料管理"), &TFrmMain::openUsers);
    addItem(system, "N17", QStringLiteral("修改密碼"), &TFrmMain::openChangePassword);
    addItem(system, "N16", QStringLiteral("客戶資料導入"), &TFrmMain::openCustomerImport);
    addItem(system, "UndoImport", QStringLiteral("復原上次導入"), &TFrmMain::undoLastImport);
    addItem(system, "RestoreBackup", QStringLiteral("還原備份"), &TFrmMain::openRestore);
    addItem(nullptr, "N6", QStringLiteral("離開"), &TFrmMain::exitProgram);
    QMenu* help = addSubmenu("N13", QStringLiteral("說明"));
    addItem(help, "HelpGuide", QStringLiteral("使用說明"), &TFrmMain::openGuide)
        ->setShortcut(Qt::Key_F1);
    addItem(help, "About", QStringLiteral("關於"), &TFrmMain::openAbout);
    installHelpKey(this);
}

bool TFrmMain::signIn() {
    TFrmLogin login(this);
    login.exec();
    if (LoginSession::current().Cancelled)
        return false;
    applySystemSet();
    applyMenuSettings();
    showSignedInUser();
    return true;
}

void TFrmMain::showSignedInUser() {
    db::history::setUser(LoginSession::current().UserID);
    m_userPanel->setText(QStringLiteral("登入用戶﹕%1").arg(LoginSession::current().UserID));
}

void TFrmMain::applyMenuSettings() {
    const QSettings ini(db::settingsFilePath(), QSettings::IniFormat);
    const bool show = ini.value(QStringLiteral("Menu/ShowHidden")).toInt() == 1;
    for (const char* name : {"N1", "Excel1", "N5"})
        findChild<QAction*>(QLatin1String(name))->setVisible(show);
}

void TFrmMain::applySystemSet() {
    QSqlQuery ADOQuery1 = db::run(QStringLiteral("select * from systemset"));
    const bool found = ADOQuery1.next();
    const QString name = found ? ADOQuery1.value(QStringLiteral("name")).toString() : QString();
    const QString cust = found ? ADOQuery1.value(QStringLiteral("cust")).toString() : QString();
    setWindowTitle(QStringLiteral("會員管理(%1)").arg(trimBlanks(name)));
    // An empty members item could not be seen or chosen.
    findChild<QAction*>(QStringLiteral("N7"))
        ->setText(db::settingOrDefault(QStringLiteral("Cust"), cust));
}

void TFrmMain::closeEvent(QCloseEvent* event) {
    if (!m_mdiArea->subWindowList().isEmpty()) {
        Prompt::current().message(Prompt::Icon::Warning, QStringLiteral("提示"),
                                  QStringLiteral("請先關閉所有打開的視窗後﹐再退出系統"));
        event->ignore();
        return;
    }
    if (!Prompt::current().question(QStringLiteral("會員管理"), QStringLiteral("要退出系統嗎﹖"))) {
        event->ignore();
        return;
    }
    event->accept();
}

void TFrmMain::importText() {
    members::importMembersFromText(this, m_statusPanel);
}

void TFrmMain::importWorkbook() {
    members::setImportUser(LoginSession::current().UserID);
    members::importMembersFromWorkbook(this, members::WorkbookImportPath::Menu);
}

void TFrmMain::openMembers() {
    windows::openChild(m_mdiArea, QStringLiteral("FrmCust"), [] { return new TFrmCust; })
        ->parentWidget()
        ->showMaximized();
}

void TFrmMain::openKinds() {
    // One narrow column: sized to its content rather than the whole area.
    QWidget* frame = windows::openChild(m_mdiArea, QStringLiteral("FrmKind"), [] {
                         return new TFrmKind;
                     })->parentWidget();
    frame->showNormal();
    frame->adjustSize();
}

void TFrmMain::openSalutations() {
    windows::openChild(m_mdiArea, QStringLiteral("FrmName"), [] { return new TFrmName; })
        ->parentWidget()
        ->showMaximized();
}

void TFrmMain::openChangeHistory() {
    windows::openModal<TFrmCustHistory>(this, QString());
}

void TFrmMain::openPhrases() {
    windows::openModal<TFrmNormal>(this, TFrmNormal::Maintenance);
}

void TFrmMain::openSendMessage() {
    windows::openModal<TFrmSendMessage>(this);
}

void TFrmMain::openSmsAccount() {
    windows::openModal<TFrmCustRegister>(this);
}

void TFrmMain::openDocuments() {
    windows::openModal<TFrmFileMgr>(this);
}

void TFrmMain::openSystemSettings() {
    QWidget* settings = windows::openChild(m_mdiArea, QStringLiteral("FrmSystemSet"), [this] {
        auto* window = new TFrmSystemSet;
        // The caption and the members item follow a save at once.
        connect(window, &TFrmSystemSet::saved, this, &TFrmMain::applySystemSet);
        return window;
    });
    settings->parentWidget()->showMaximized();
}

void TFrmMain::openUsers() {
    windows::openModal<TFrmUsers>(this);
}

void TFrmMain::openChangePassword() {
    windows::openModal<TFrmChangePassword>(this);
}

void TFrmMain::openCustomerImport() {
    members::setImportUser(LoginSession::current().UserID);
    windows::openModal<TFrmCustomerFromExcel>(this);
}

void TFrmMain::undoLastImport() {
    members::undoLastImport();
}

// Restoring replaces what open windows show, so they are closed first. A
// server register is not restored from here.
void TFrmMain::openRestore() {
    if (const QString refusal = db::restoreRefusal(); !refusal.isEmpty()) {
        Prompt::current().message(Prompt::Icon::Warning, QStringLiteral("提示"), refusal);
        return;
    }
    if (!m_mdiArea->subWindowList().isEmpty()) {
        Prompt::current().message(Prompt::Icon::Warning, QStringLiteral("提示"),
                                  QStringLiteral("請先關閉所有打開的視窗後﹐再還原備份"));
        return;
    }
    windows::openModal<TFrmRestore>(this);
}

void TFrmMain::exitProgram() {
    close();
}

void TFrmMain::openGuide() {
    TFrmHelp::openFor(QApplication::focusWidget(), this);
}

void TFrmMain::openAbout() {
    windows::openModal<TFrmAbout>(this);
}
