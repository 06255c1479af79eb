#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The About window: a fixed notice and a button that closes it.
class TFrmAbout : public QDialog {
public:
    explicit TFrmAbout(QWidget* parent = nullptr);

private:
    QPlainTextEdit* mmo1;
    QPushButton* btnOK;
};
