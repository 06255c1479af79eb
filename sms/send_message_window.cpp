// The send window: its areas, its opening and the composition. The member
// search and what adds to the recipient list are in
// send_message_recipients.cpp, the send run in send_message_sending.cpp;
// both meet only in the list (sms/recipient_list.h).
#include "sms/send_message_window.h"

#include "admin/login_session.h"
#include "base/keyboard_navigation.h"
#include "base/named_button.h"
#include "base/prompt.h"
#include "members/criterion_row.h"
#include "members/drop_down_box.h"
#include "members/member_search.h"
#include "sms/current_send_window.h"
#include "sms/gateway_config.h"
#include "sms/merge_fields.h"
#include "sms/merge_preview.h"
#include "sms/merge_preview_window.h"
#include "sms/normal_window.h"
#include "sms/send_history_window.h"
#include "sms/signatures.h"
#include "sms/sms_parts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

// The vendor's service line comes from lunmark.ini; without one the
// sentence goes on without a number.
QString missingAccountNotice() {
    return QStringLiteral("請先申請簡訊帳號與密碼,否則無法發送簡訊!\n請於上班時間撥打服務專線") +
           GatewayConfig::load(GatewayConfig::iniPath()).servicePhone +
           QStringLiteral(",告知你要申請簡訊帳號與密碼,本公司立即為您服務!!");
}

QCheckBox* makeCheckBox(const char* name, const QString& caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

TFrmSendMessage::TFrmSendMessage(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmSendMessage"));
    setWindowTitle(QStringLiteral("發送簡訊"));
    sms::setCurrentSendWindow(this);

    auto* left = new QVBoxLayout;
    left->addWidget(buildCreditArea());
    left->addWidget(buildRecipientArea(), 1);
    left->addWidget(buildContentArea(), 1);
    auto* areas = new QHBoxLayout;
    areas->addLayout(left, 1);
    areas->addWidget(buildSearchArea(), 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(areas, 1);
    layout->addWidget(buildBottomButtons());
    keyboard::install(this);
    resize(900, 640);
}

TFrmSendMessage::~TFrmSendMessage() {
    if (sms::currentSendWindow() == this)
        sms::setCurrentSendWindow(nullptr);
}

QWidget* TFrmSendMessage::buildCreditArea() {
    auto* area = new QWidget(this);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(QStringLiteral("簡訊剩餘通數"), area);
    label->setObjectName(QStringLiteral("Label3"));
    Edit3 = new QLineEdit(area);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setFrame(false);
    Edit3->setReadOnly(true); // it shows the gateway's answer, nothing to type
    BitBtn2 = namedButton("BitBtn2", QStringLiteral("取得簡訊剩餘通數"), area);
    BitBtn3 = namedButton("BitBtn3", QStringLiteral("查詢簡訊發送結果"), area);
    BitBtn5 = namedButton("BitBtn5", QStringLiteral("購買點數"), area);
    connect(BitBtn2, &QPushButton::clicked, this, &TFrmSendMessage::custRegister);
    connect(BitBtn3, &QPushButton::clicked, this, &TFrmSendMessage::openResultsPage);
    connect(BitBtn5, &QPushButton::clicked, this, [this] { m_gateway.openPurchasePage(); });
    grid->addWidget(label, 0, 0);
    grid->addWidget(Edit3, 0, 1);
    grid->addWidget(BitBtn2, 1, 0);
    grid->addWidget(BitBtn3, 1, 1);
    grid->addWidget(BitBtn5, 1, 2);
    return area;
}

QGroupBox* TFrmSendMessage::buildRecipientArea() {
    auto* group = new QGroupBox(QStringLiteral("簡訊接收人﹕"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    ListBox1 = new QListWidget(group);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    // A long list lays out in batches: after a deletion, selecting or
    // painting a line need not wait for ten thousand lines to be placed.
    ListBox1->setUniformItemSizes(true);
    ListBox1->setLayoutMode(QListView::Batched);
    ListBox1->setBatchSize(200);
    m_recipients = std::make_unique<sms::RecipientList>(ListBox1);
    m_recipients->setChanged([this] { recipientsChanged(); });
    BtnSelectSingle = namedButton("BtnSelectSingle", QStringLiteral("自定接收人"), group);
    btnSendHistory = namedButton("btnSendHistory", QStringLiteral("發歷史簡訊"), group);
    BtnDel = namedButton("BtnDel", QStringLiteral("刪除接收人"), group);
    BtnDelAll = namedButton("BtnDelAll", QStringLiteral("刪除全部接收人"), group);
    lblTotal = new QLabel(group);
    lblTotal->setObjectName(QStringLiteral("lblTotal"));
    lblTotal->setStyleSheet(QStringLiteral("color: red;"));
    connect(BtnSelectSingle, &QPushButton::clicked, this, &TFrmSendMessage::addCustomRecipient);
    connect(btnSendHistory, &QPushButton::clicked, this, &TFrmSendMessage::openHistory);
    connect(BtnDel, &QPushButton::clicked, this, &TFrmSendMessage::deleteRecipient);
    connect(BtnDelAll, &QPushButton::clicked, this, &TFrmSendMessage::deleteAllRecipients);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {BtnSelectSingle, btnSendHistory, BtnDel, BtnDelAll})
        buttons->addWidget(button);
    buttons->addWidget(lblTotal);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(ListBox1, 1);
    layout->addLayout(buttons);
    return group;
}

QGroupBox* TFrmSendMessage::buildContentArea() {
    auto* group = new QGroupBox(QStringLiteral("簡訊內容﹕"), this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    Memo1 = new QPlainTextEdit(group);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    lblParts = new QLabel(group);
    lblParts->setObjectName(QStringLiteral("lblParts"));
    lblCost = new QLabel(group);
    lblCost->setObjectName(QStringLiteral("lblCost"));
    cbInsertField = new QComboBox(group);
    cbInsertField->setObjectName(QStringLiteral("cbInsertField"));
    cbInsertField->setToolTip(QStringLiteral("在游標處插入欄位﹐每位接收人收到自己的資料"));
    CheckBoxBlank = makeCheckBox("CheckBoxBlank", QStringLiteral("欄位無資料時留空"), group);
    BtnPreview = namedButton("BtnPreview", QStringLiteral("預覽"), group);
    BtnNormal = namedButton("BtnNormal", QStringLiteral("選擇常用片語"), group);
    BitBtn4 = namedButton("BitBtn4", QStringLiteral("清除簡訊內容"), group);
    CheckBox1 = makeCheckBox("CheckBox1", QStringLiteral("名字+稱謂"), group);
    CheckBox2 = makeCheckBox("CheckBox2", QStringLiteral("署名﹕"), group);
    DBComboBoxEh1 = new QComboBox(group);
    DBComboBoxEh1->setObjectName(QStringLiteral("DBComboBoxEh1"));
    DBComboBoxEh1->setEditable(true);
    DBComboBoxEh1->setInsertPolicy(QComboBox::NoInsert);
    DBComboBoxEh1->setCompleter(nullptr);
    DBComboBoxEh1->setEnabled(false);
    CheckBox3 = makeCheckBox("CheckBox3", QStringLiteral("預約發送﹕"), group);
    DBDateTimeEditEh1 = new QDateTimeEdit(group);
    DBDateTimeEditEh1->setObjectName(QStringLiteral("DBDateTimeEditEh1"));
    DBDateTimeEditEh1->setDisplayFormat(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    DBDateTimeEditEh1->setCalendarPopup(true);
    DBDateTimeEditEh1->setDateTime(QDateTime::currentDateTime());
    DBDateTimeEditEh1->setEnabled(false);

    connect(BtnNormal, &QPushButton::clicked, this, &TFrmSendMessage::pickPhrase);
    connect(BitBtn4, &QPushButton::clicked, Memo1, &QPlainTextEdit::clear);
    connect(cbInsertField, &QComboBox::activated, this, &TFrmSendMessage::insertField);
    connect(BtnPreview, &QPushButton::clicked, this, &TFrmSendMessage::showPreview);
    connect(Edit3, &QLineEdit::textChanged, this, &TFrmSendMessage::updatePartsCount);
    connect(CheckBox2, &QCheckBox::toggled, DBComboBoxEh1, &QWidget::setEnabled);
    connect(CheckBox3, &QCheckBox::toggled, this, &TFrmSendMessage::scheduleToggled);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TFrmSendMessage::updatePartsCount);
    connect(DBComboBoxEh1, &QComboBox::editTextChanged, this, &TFrmSendMessage::updatePartsCount);
    connect(DBComboBoxEh1, &QComboBox::currentTextChanged, this,
            &TFrmSendMessage::updatePartsCount);
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3})
        connect(box, &QCheckBox::toggled, this, &TFrmSendMessage::updatePartsCount);

    auto* grid = new QGridLayout(group);
    grid->addWidget(Memo1, 0, 0, 1, 4);
    grid->addWidget(lblParts, 1, 0, 1, 4);
    grid->addWidget(lblCost, 2, 0, 1, 4);
    grid->addWidget(BtnNormal, 3, 0);
    grid->addWidget(BitBtn4, 3, 1);
    grid->addWidget(cbInsertField, 3, 2);
    grid->addWidget(BtnPreview, 3, 3);
    grid->addWidget(CheckBox1, 4, 0);
    grid->addWidget(CheckBoxBlank, 4, 1, 1, 3);
    grid->addWidget(CheckBox2, 5, 0);
    grid->addWidget(DBComboBoxEh1, 5, 1, 1, 3);
    grid->addWidget(CheckBox3, 6, 0);
    grid->addWidget(DBDateTimeEditEh1, 6, 1, 1, 3);
    return group;
}

QWidget* TFrmSendMessage::buildBottomButtons() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    BtnSend = namedButton("BtnSend", QStringLiteral("發送簡訊"), bar);
    BtnContinue = namedButton("BtnContinue", QStringLiteral("繼續發送"), bar);
    BtnContinue->setToolTip(QStringLiteral("發送中斷後﹐只發給尚未發送的接收人"));
    BtnContinue->setEnabled(false);
    BtnCancel = namedButton("BtnCancel", QStringLiteral("關閉"), bar);
    keyboard::setEscapeButton(BtnCancel);
    connect(BtnSend, &QPushButton::clicked, this, &TFrmSendMessage::send);
    connect(BtnContinue, &QPushButton::clicked, this, &TFrmSendMessage::continueSending);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    row->addStretch();
    row->addWidget(BtnSend);
    row->addWidget(BtnContinue);
    row->addWidget(BtnCancel);
    return bar;
}

void TFrmSendMessage::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        prepareOnShow();
}

// The missing-account notice, the empty areas, the criterion list, the
// signatures newest first, and the remaining credit.
void TFrmSendMessage::prepareOnShow() {
    if (LoginSession::current().CustID.isEmpty())
        InfoBox(missingAccountNotice());
    Memo1->clear();
    lblTotal->clear();
    Edit3->clear();
    DBComboBoxEh1->clearEditText();

    const members::search::Captions captions = members::search::readCaptions();
    m_criteria->reset(members::search::criterionNames(captions));
    m_criteria->choose(0);
    m_fieldNames = sms::fieldNames(sms::mergeFields(captions));
    cbInsertField->clear();
    cbInsertField->addItem(QStringLiteral("插入欄位"));
    for (const QString& name : m_fieldNames)
        cbInsertField->addItem(QLatin1Char('{') + name + QLatin1Char('}'));
    CheckBoxBlank->setChecked(false);

    // The newest signature shows; none when there is none.
    DBComboBoxEh1->clear();
    DBComboBoxEh1->addItems(sms::signatures::list());
    DBComboBoxEh1->setCurrentIndex(DBComboBoxEh1->count() > 0 ? 0 : -1);
    CheckBox2->setChecked(true);
    DBComboBoxEh1->setEnabled(true);
    updatePartsCount();
    custRegister();
}

// The credit box shows the gateway's answer as it comes; after a failure it
// keeps what it had.
void TFrmSendMessage::custRegister() {
    Edit3->setText(m_gateway.remainingCredit());
}

// The credit is brought up to date first, so a gateway that does not answer
// keeps the page from opening.
void TFrmSendMessage::openResultsPage() {
    custRegister();
    m_gateway.openResultsPage();
}

void TFrmSendMessage::setSignatureText(const QString& text) {
    DBComboBoxEh1->setEditText(text);
}

// The message box keeps line breaks as "\n"; the message goes out and is
// recorded with the "\r\n" of a Windows text box, as the gateway has always
// received it.
sms::Composition TFrmSendMessage::composition() const {
    sms::Composition composition;
    composition.namePrefix = CheckBox1->isChecked();
    composition.message = Memo1->toPlainText().replace('\n', QStringLiteral("\r\n"));
    composition.withSignature = CheckBox2->isChecked();
    composition.signature = DBComboBoxEh1->currentText();
    composition.fieldNames = m_fieldNames;
    composition.blankEmptyFields = CheckBoxBlank->isChecked();
    return composition;
}

void TFrmSendMessage::appendMessageLine(const QString& text) {
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Memo1->appendPlainText(line);
}

void TFrmSendMessage::pickPhrase() {
    TFrmNormal phrases(TFrmNormal::Picking, this);
    if (phrases.exec() == QDialog::Accepted)
        appendMessageLine(m_pickedPhrase);
}

void TFrmSendMessage::openHistory() {
    TFrmSendHistory history(this);
    history.exec();
}

// Ticking sets the field to now; unticking keeps its value.
void TFrmSendMessage::scheduleToggled(bool on) {
    DBDateTimeEditEh1->setEnabled(on);
    if (on)
        DBDateTimeEditEh1->setDateTime(QDateTime::currentDateTime());
}

std::optional<QDateTime> TFrmSendMessage::scheduledAt() const {
    if (!CheckBox3->isChecked())
        return std::nullopt;
    return DBDateTimeEditEh1->dateTime();
}

// A message with fields is merged for every line; one without is counted
// from the kept totals. The cost line sets the total against the credit.
void TFrmSendMessage::updatePartsCount() {
    const sms::Composition message = composition();
    const bool scheduled = CheckBox3->isChecked();
    const sms::PartsCount count =
        sms::hasFields(message.message)
            ? sms::countParts(m_recipients->all(), message, scheduled)
            : sms::countKeptParts(m_recipients->totals(), message, scheduled);
    lblParts->setText(QStringLiteral("字數﹕%1  則數﹕%2  全部接收人共﹕%3則")
                          .arg(count.characters)
                          .arg(count.parts)
                          .arg(count.totalParts));
    const std::optional<long long> credit = sms::plainNumber(Edit3->text());
    if (!credit) {
        lblCost->setText(QStringLiteral("簡訊剩餘通數﹕(未取得)"));
        lblCost->setStyleSheet(QString());
        return;
    }
    const long long after = *credit - count.totalParts;
    lblCost->setText(after >= 0
                         ? QStringLiteral("簡訊剩餘通數﹕%1  發送後剩﹕%2").arg(*credit).arg(after)
                         : QStringLiteral("簡訊剩餘通數﹕%1  不足﹕%2則").arg(*credit).arg(-after));
    lblCost->setStyleSheet(after >= 0 ? QString() : QStringLiteral("color: red;"));
}

// The chosen field goes in at the cursor; the box shows its title again.
void TFrmSendMessage::insertField(int index) {
    if (index > 0) {
        Memo1->insertPlainText(cbInsertField->itemText(index));
        Memo1->setFocus();
    }
    cbInsertField->setCurrentIndex(0);
}

void TFrmSendMessage::showPreview() {
    const sms::Composition message = composition();
    if (const QStringList unknown = sms::unknownFields(message.message, message.fieldNames);
        !unknown.isEmpty()) {
        InfoBox(QStringLiteral("簡訊內容有不認得的欄位﹕{%1}")
                    .arg(unknown.join(QStringLiteral("}、{"))));
        return;
    }
    TFrmSmsPreview preview(sms::previewLines(m_recipients->all(), message, CheckBox3->isChecked()),
                           this);
    preview.exec();
}

QStringList TFrmSendMessage::recipientLines() const {
    return m_recipients->texts();
}

QList<sms::Recipient> TFrmSendMessage::recipients() const {
    return m_recipients->all();
}

void TFrmSendMessage::recipientsChanged() {
    lblTotal->setText(QStringLiteral("共﹕%1人").arg(m_recipients->size()));
    updatePartsCount();
    updateContinueButton();
}
