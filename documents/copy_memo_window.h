#pragma once

#include <QDialog>

class QListWidget;
class QPlainTextEdit;
class QPushButton;

// Shows a document's summary under "摘要內容" so it can be copied: "複製"
// puts the whole summary on the clipboard and "退出" closes the window. It
// changes no record. The two lists below the summary are part of the layout
// and have no use yet.
class TFrmCopyFileMemo : public QDialog {
public:
    explicit TFrmCopyFileMemo(const QString& memo, QWidget* parent = nullptr);

private:
    void buildLayout();
    void copyMemo();

    QPlainTextEdit* Memo1;
    QListWidget* ListBox1;
    QListWidget* ListBox2;
    QPushButton* BtnCopy;
    QPushButton* BtnExit;
};
