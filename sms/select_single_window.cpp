#include "sms/select_single_window.h"

#include "base/keyboard_navigation.h"
#include "base/phone_number.h"
#include "base/prompt.h"
#include "sms/current_send_window.h"
#include "sms/custom_recipient.h"
#include "sms/send_message_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TFrmSelectSingle::TFrmSelectSingle(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmSelectSingle"));
    setWindowTitle(QStringLiteral("加入接收人"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(sms::kMemberNameLength);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setMaxLength(sms::kMemberPhoneLength);
    BitBtn1 = new QPushButton(QStringLiteral("加入"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    BitBtn2 = new QPushButton(QStringLiteral("關閉"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    keyboard::setEscapeButton(BitBtn2);
    connect(BitBtn1, &QPushButton::clicked, this, &TFrmSelectSingle::add);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("姓名"), Edit1);
    form->addRow(QStringLiteral("電話"), Edit2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    keyboard::install(this);
}

void TFrmSelectSingle::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Edit1->clear();
    Edit2->clear();
    Edit1->setFocus();
}

// Blanks count as a name: only an empty one is refused. The number must be
// one a gateway can take. The line stays in the list even when registering
// the member fails. A handset already listed, or one of a member marked
// 不接收簡訊, is neither listed nor registered. The typed text stays in the
// boxes.
void TFrmSelectSingle::add() {
    const QString name = Edit1->text();
    const QString phone = Edit2->text().trimmed();
    if (name.isEmpty()) {
        InfoBox(QStringLiteral("請輸入姓名﹗"));
        return;
    }
    if (phone.isEmpty()) {
        InfoBox(QStringLiteral("請輸入手機號碼﹗"));
        return;
    }
    if (!phone::isDialable(phone)) {
        InfoBox(QStringLiteral("手機號碼「%1」無法發送簡訊﹕只能有數字(可用空白、-、. 分隔﹐"
                               "開頭可有 +)﹐至少8位﹗")
                    .arg(phone));
        return;
    }
    if (TFrmSendMessage* sendWindow = sms::currentSendWindow()) {
        const TFrmSendMessage::Added added = sendWindow->addLines({{name, phone}});
        if (added.optedOut > 0) {
            InfoBox(QStringLiteral("電話 %1 屬於不接收簡訊的會員﹐沒有加入。").arg(phone));
            return;
        }
        if (added.repeated > 0) {
            InfoBox(QStringLiteral("電話 %1 已在接收人清單中﹐沒有再加入。").arg(phone));
            return;
        }
    }
    sms::registerMember(name, phone, m_clock());
}
