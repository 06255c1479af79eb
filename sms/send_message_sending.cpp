// The send window's send run: the checks before it, the run over the whole
// list or over the lines a stopped run left, the states it leaves on the
// lines, the credit afterwards and the report.
#include "base/errors.h"
#include "base/message_table.h"
#include "base/prompt.h"
#include "sms/send_checks.h"
#include "sms/send_message_window.h"
#include "sms/sms_parts.h"

#include <QBrush>
#include <QCheckBox>
#include <QColor>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>

namespace {

// The state of a line after a stopped run, kept on its list item.
constexpr int kStateRole = Qt::UserRole + 1;

sms::Delivery stateOf(const QListWidgetItem* item) {
    const QVariant state = item->data(kStateRole);
    return state.isValid() ? sms::Delivery(state.toInt()) : sms::Delivery::Pending;
}

void setState(QListWidgetItem* item, sms::Delivery state) {
    item->setData(kStateRole, int(state));
    switch (state) {
    case sms::Delivery::Sent:
    case sms::Delivery::Repeated:
        item->setForeground(QBrush(Qt::darkGray));
        item->setToolTip(QStringLiteral("已發送"));
        break;
    case sms::Delivery::Unconfirmed:
        item->setForeground(QBrush(QColor(0xB3, 0x59, 0x00)));
        item->setToolTip(QStringLiteral("可能已收到(閘道沒有回應﹐未確認)"));
        break;
    case sms::Delivery::Pending:
        item->setData(kStateRole, QVariant());
        item->setData(Qt::ForegroundRole, QVariant());
        item->setToolTip(QString());
        break;
    }
}

} // namespace

// Asks only when the credit box holds a number and the run needs more.
bool TFrmSendMessage::confirmCredit(const QStringList& lines, const sms::Composition& composition) {
    const std::optional<long long> credit = sms::plainNumber(Edit3->text());
    if (!credit)
        return true;
    const int needed = sms::countParts(lines, composition, CheckBox3->isChecked()).totalParts;
    if (needed <= *credit)
        return true;
    return ConfirmBox(QStringLiteral("本次發送共需%1則簡訊﹐簡訊剩餘通數只有%2則﹐確定要發送嗎﹖")
                          .arg(needed)
                          .arg(*credit));
}

int TFrmSendMessage::linesIn(sms::Delivery state) const {
    int count = 0;
    for (int i = 0; i < ListBox1->count(); ++i)
        count += stateOf(ListBox1->item(i)) == state ? 1 : 0;
    return count;
}

// After a stopped run, sending the whole list again would pay twice for
// those already reached.
bool TFrmSendMessage::confirmSendingAgain() {
    const int reached = linesIn(sms::Delivery::Sent) + linesIn(sms::Delivery::Repeated) +
                        linesIn(sms::Delivery::Unconfirmed);
    if (reached == 0)
        return true;
    return ConfirmBox(QStringLiteral("清單中有%1位接收人在中斷的發送中已發送或可能已收到﹐"
                                     "全部重新發送會再傳給他們。\n確定要全部重新發送嗎﹖"
                                     "(只發給尚未發送的接收人﹐請按「繼續發送」)")
                          .arg(reached),
                      Prompt::No);
}

void TFrmSendMessage::send() {
    const QStringList lines = recipientLines();
    const sms::Composition message = composition();
    if (const std::optional<QString> refusal = sms::sendRefusal(lines, message)) {
        InfoBox(*refusal);
        return;
    }
    if (!confirmSendingAgain() || !confirmCredit(lines, message))
        return;
    forgetRunStates();
    QList<int> rows;
    for (int i = 0; i < lines.size(); ++i)
        rows << i;
    runOver(rows, message);
}

// Only the lines the stopped run did not reach, and lines added since.
void TFrmSendMessage::continueSending() {
    QList<int> rows;
    QStringList lines;
    for (int i = 0; i < ListBox1->count(); ++i) {
        if (stateOf(ListBox1->item(i)) == sms::Delivery::Pending) {
            rows << i;
            lines << ListBox1->item(i)->text();
        }
    }
    const sms::Composition message = composition();
    if (const std::optional<QString> refusal = sms::sendRefusal(lines, message)) {
        InfoBox(*refusal);
        return;
    }
    if (!confirmCredit(lines, message))
        return;
    runOver(rows, message);
}

void TFrmSendMessage::runOver(const QList<int>& rows, const sms::Composition& composition) {
    QStringList lines;
    for (const int row : rows)
        lines << ListBox1->item(row)->text();
    std::optional<sms::RunResult> result;
    {
        // The progress shows only while the run lasts, also when it fails.
        const auto restoreCaption =
            qScopeGuard([this] { setWindowTitle(QStringLiteral("發送簡訊")); });
        result = sms::sendToAll(
            m_gateway, lines, composition, scheduledAt(),
            [this](int index, int count) {
                setWindowTitle(QStringLiteral("正在發送第%1條﹐共%2條﹗").arg(index).arg(count));
            },
            &m_delivered);
    }
    keepRunStates(rows, *result);
    refreshCreditAfterRun();
    reportRun(*result);
}

// A run that went through leaves no states: the next run is a new one.
void TFrmSendMessage::keepRunStates(const QList<int>& rows, const sms::RunResult& result) {
    if (!result.stopped()) {
        forgetRunStates();
        return;
    }
    for (int k = 0; k < rows.size(); ++k)
        setState(ListBox1->item(rows[k]), result.states[k]);
    updateContinueButton();
}

void TFrmSendMessage::forgetRunStates() {
    for (int i = 0; i < ListBox1->count(); ++i)
        setState(ListBox1->item(i), sms::Delivery::Pending);
    m_delivered.clear();
    updateContinueButton();
}

// Only a stopped run that reached someone has lines to look at.
void TFrmSendMessage::updateContinueButton() {
    BtnContinue->setEnabled(!m_delivered.isEmpty() && linesIn(sms::Delivery::Pending) > 0);
}

// The credit fell with the run, also with a stopped one. A gateway that
// does not answer now leaves a box that says so rather than an old figure.
void TFrmSendMessage::refreshCreditAfterRun() {
    try {
        custRegister();
    } catch (const LunmarkError&) {
        Edit3->setText(QStringLiteral("(無法取得)"));
    }
}

void TFrmSendMessage::reportRun(const sms::RunResult& result) {
    const int repeated = result.count(sms::Delivery::Repeated);
    QString skipped;
    if (repeated > 0)
        skipped = QStringLiteral("\n相同號碼的相同簡訊略過:%1筆").arg(repeated);
    if (!result.stopped()) {
        InfoBox(QStringLiteral("發送完畢﹗\n共:%1筆﹗").arg(result.count(sms::Delivery::Sent)) +
                skipped);
        return;
    }
    const int pending = linesIn(sms::Delivery::Pending);
    QString text = QStringLiteral("發送中斷﹗\n已發送:%1筆  未確認:%2筆  未發送:%3筆")
                       .arg(linesIn(sms::Delivery::Sent))
                       .arg(linesIn(sms::Delivery::Unconfirmed))
                       .arg(pending);
    for (const QString& recipient : result.unconfirmed)
        text += QStringLiteral("\n%1 可能已收到").arg(recipient);
    text += skipped + QStringLiteral("\n原因﹕") + *result.stopReason;
    if (pending > 0)
        text += QStringLiteral("\n尚未發送的%1位接收人留在清單中﹐按「繼續發送」即可發送給他們。")
                    .arg(pending);
    Prompt::current().message(Prompt::Icon::Warning, MessageTable::current().CaptionHint, text);
}
