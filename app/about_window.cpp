#include "app/about_window.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmAbout::TFrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("關於"));
    mmo1 = new QPlainTextEdit(this);
    mmo1->setObjectName(QStringLiteral("mmo1"));
    mmo1->setReadOnly(true);
    mmo1->setPlainText(QStringLiteral("本系統由製作者免費提供使用。\n"
                                      "使用本系統不需支付任何費用，只有發送的簡訊需要付費。\n"
                                      "本系統不得出售。"));
    btnOK = new QPushButton(QStringLiteral("確定"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mmo1);
    layout->addWidget(btnOK, 0, Qt::AlignHCenter);
    setFixedSize(360, 220);
}
