#include "sms/send_history_window.h"

#include "base/keyboard_navigation.h"
#include "base/prompt.h"
#include "db/dataset.h"
#include "db/dataset_grid.h"
#include "db/dataset_model.h"
#include "sms/current_send_window.h"
#include "sms/message_history.h"
#include "sms/recipient_line.h"
#include "sms/send_message_window.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QDateEdit* dateField(const char* name, QWidget* parent) {
    auto* field = new QDateEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    field->setCalendarPopup(true);
    return field;
}

} // namespace

TFrmSendHistory::TFrmSendHistory(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmSendHistory"));
    setWindowTitle(QStringLiteral("發送歷史簡訊(雙擊﹐可以重發選中列的簡訊)"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    DBDateTimeEditEh1 = dateField("DBDateTimeEditEh1", this);
    DBDateTimeEditEh2 = dateField("DBDateTimeEditEh2", this);
    BitBtn1 = new QPushButton(QStringLiteral("查詢"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &TFrmSendHistory::search);
    buildGrid();

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("收訊人"), this));
    filters->addWidget(Edit1);
    filters->addWidget(new QLabel(QStringLiteral("發訊時間"), this));
    filters->addWidget(DBDateTimeEditEh1);
    filters->addWidget(new QLabel(QStringLiteral("~"), this));
    filters->addWidget(DBDateTimeEditEh2);
    filters->addWidget(BitBtn1);
    filters->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(DBGridEh1, 1);
    keyboard::install(this);
    resize(1000, 480);
}

void TFrmSendHistory::buildGrid() {
    Qry_MsgHistory = new db::Dataset(this);
    Qry_MsgHistory->setObjectName(QStringLiteral("Qry_MsgHistory"));
    DataSource1 = new db::DatasetModel(Qry_MsgHistory, this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setColumns({{QStringLiteral("CustName"), QStringLiteral("姓名")},
                             {QStringLiteral("Salutation"), QStringLiteral("稱謂")},
                             {QStringLiteral("Tel"), QStringLiteral("電話")},
                             {QStringLiteral("Message"), QStringLiteral("簡訊內容")},
                             {QStringLiteral("SendDate"), QStringLiteral("發送日期")},
                             {QStringLiteral("Sign"), QStringLiteral("署名")},
                             // The gateway's answer, or 未確認 when none came.
                             {QStringLiteral("Memo"), QStringLiteral("閘道回應")}});
    DBGridEh1 = db::newDatasetGrid(DataSource1, this);
    DBGridEh1->setColumnWidth(DataSource1->columnOf(QStringLiteral("Message")), 260);
    DBGridEh1->setColumnWidth(DataSource1->columnOf(QStringLiteral("SendDate")), 140);
    DBGridEh1->setColumnWidth(DataSource1->columnOf(QStringLiteral("Salutation")), 60);
    DBGridEh1->setColumnWidth(DataSource1->columnOf(QStringLiteral("Memo")), 170);
    connect(DBGridEh1, &QAbstractItemView::doubleClicked, this, &TFrmSendHistory::resend);
}

// The recipient box empty, from the first of this month to today.
void TFrmSendHistory::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Edit1->clear();
    const QDate today = QDate::currentDate();
    DBDateTimeEditEh1->setDate(sms::history::firstOfMonth(today));
    DBDateTimeEditEh2->setDate(today);
}

// A failed search leaves the result closed.
void TFrmSendHistory::search() {
    Qry_MsgHistory->close();
    Qry_MsgHistory->open(sms::history::searchLines(),
                         sms::history::searchParams({Edit1->text(), DBDateTimeEditEh1->date(),
                                                     DBDateTimeEditEh2->date()}));
}

// Nothing happens while the result is closed or empty. A recipient whose
// telephone is already listed is not added twice, nor one whose telephone
// belongs to a member marked 不接收簡訊; the message and the signature are
// taken all the same.
void TFrmSendHistory::resend() {
    TFrmSendMessage* sendWindow = sms::currentSendWindow();
    if (sendWindow == nullptr || Qry_MsgHistory->currentRow() < 0)
        return;
    auto text = [this](const char* field) {
        return Qry_MsgHistory->value(QLatin1String(field)).toString();
    };
    const sms::Recipient recipient{text("CustName"), text("Tel")};
    const TFrmSendMessage::Added added = sendWindow->addLines({recipient});
    sendWindow->appendMessageLine(text("Message"));
    sendWindow->setSignatureText(text("Sign"));
    if (added.optedOut > 0)
        InfoBox(QStringLiteral("「%1」的電話屬於不接收簡訊的會員﹐沒有加入。")
                    .arg(sms::recipientLine(recipient)));
    else if (added.repeated > 0)
        InfoBox(QStringLiteral("「%1」的電話已在接收人清單中﹐略過1位﹐沒有再加入。")
                    .arg(sms::recipientLine(recipient)));
}
