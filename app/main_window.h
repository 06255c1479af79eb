#pragma once

#include <QMainWindow>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;

// The main window: a frame for child windows with the program's menu. The
// sign-in runs before it first shows; closing it asks for confirmation.
class TFrmMain : public QMainWindow {
public:
    explicit TFrmMain(QWidget* parent = nullptr);

    // Runs the sign-in modally; false when it was cancelled. On success the
    // caption and the members item are taken from the settings.
    bool signIn();

    // Sets the caption and the members item from the first settings row.
    void applySystemSet();

    // Shows the items the delivered menu hides (the text import, the second
    // workbook import and the document register) when lunmark.ini beside
    // the register says [Menu] ShowHidden=1; hides them otherwise.
    void applyMenuSettings();

    QMdiArea* mdiArea() const { return m_mdiArea; }
    QLabel* statusPanel() const { return m_statusPanel; }
    // Says in the status bar who is signed in.
    void showSignedInUser();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    QAction* addItem(QMenu* menu, const char* name, const QString& caption,
                     void (TFrmMain::*slot)());
    QMenu* addSubmenu(const char* name, const QString& caption);

    // Menu actions.
    void importText();
    void importWorkbook();
    void openMembers();
    void openKinds();
    void openSalutations();
    void openChangeHistory();
    void openPhrases();
    void openSendMessage();
    void openSmsAccount();
    void openDocuments();
    void openSystemSettings();
    void openUsers();
    void openChangePassword();
    void openCustomerImport();
    void undoLastImport();
    void openRestore();
    void openGuide();
    void openAbout();
    void exitProgram();

    QMdiArea* m_mdiArea;
    QLabel* m_statusPanel;
    QLabel* m_userPanel;
};
