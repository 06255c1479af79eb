#include "documents/copy_memo_window.h"

#include "base/keyboard_navigation.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmCopyFileMemo::TFrmCopyFileMemo(const QString& memo, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmCopyFileMemo"));
    setWindowTitle(QStringLiteral("複製摘要"));
    Memo1 = new QPlainTextEdit(memo, this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox2 = new QListWidget(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    BtnCopy = new QPushButton(QStringLiteral("複製"), this);
    BtnCopy->setObjectName(QStringLiteral("BtnCopy"));
    BtnCopy->setAutoDefault(false);
    BtnExit = new QPushButton(QStringLiteral("退出"), this);
    BtnExit->setObjectName(QStringLiteral("BtnExit"));
    BtnExit->setAutoDefault(false);
    keyboard::setEscapeButton(BtnExit);
    connect(BtnCopy, &QPushButton::clicked, this, &TFrmCopyFileMemo::copyMemo);
    connect(BtnExit, &QPushButton::clicked, this, &QDialog::accept);
    buildLayout();
    keyboard::install(this);
}

void TFrmCopyFileMemo::buildLayout() {
    auto* lists = new QHBoxLayout;
    lists->addWidget(ListBox1);
    lists->addWidget(ListBox2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnCopy);
    buttons->addWidget(BtnExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("摘要內容"), this));
    layout->addWidget(Memo1, 1);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    resize(480, 400);
}

void TFrmCopyFileMemo::copyMemo() {
    QGuiApplication::clipboard()->setText(Memo1->toPlainText());
}
