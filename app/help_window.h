#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

// The user's guide inside the program: its contents (pages and their
// sections), a search over every page and the page itself. It reads the
// guide's files and needs neither network nor web browser.
class TFrmHelp : public QWidget {
public:
    explicit TFrmHelp(QWidget* parent = nullptr);

    // Shows a page of the guide (a file name such as members.md).
    void showPage(const QString& file);
    QString currentPage() const;

    // Opens the guide at the page about the window holding focus, in the
    // help window of the window in front: the modal window being shown (so
    // that it is not blocked by it) or else mainWindow.
    static TFrmHelp* openFor(QWidget* focus, QWidget* mainWindow);

private:
    void fillContents();
    void contentsClicked(QTreeWidgetItem* item);
    void searchChanged(const QString& words);
    void resultChosen();

    QString m_folder;
    QLineEdit* m_search;
    QTreeWidget* m_contents;
    QListWidget* m_results;
    QTextBrowser* m_page;
};

// F1 anywhere in the program opens the guide at the page about the window
// holding the focus. Lives as long as mainWindow.
void installHelpKey(QWidget* mainWindow);
