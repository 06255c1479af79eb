// The send window's send run: the checks before it, the run over the whole
// list or over the lines no run reached, the states it leaves on the lines,
// the credit afterwards and the report. It reads the recipient list and
// marks its lines; it never changes which lines are listed.
#include "base/errors.h"
#include "base/message_table.h"
#include "base/prompt.h"
#include "sms/gateway_config.h"
#include "sms/register_phones.h"
#include "sms/send_checks.h"
#include "sms/send_message_window.h"
#include "sms/sms_parts.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>

namespace {

// A run this large is confirmed whatever the credit.
constexpr int kLargeRun = 100;

} // namespace

// Asks when the credit box holds a number and the run needs more, or when
// the run takes more than a hundred messages.
bool TFrmSendMessage::confirmCredit(const QList<sms::Recipient>& recipients,
                                    const sms::Composition& composition) {
    const std::optional<long long> credit = sms::plainNumber(Edit3->text());
    const int needed = sms::countParts(recipients, composition, CheckBox3->isChecked()).totalParts;
    if (credit && needed > *credit)
        return ConfirmBox(
            QStringLiteral("本次發送共需%1則簡訊﹐簡訊剩餘通數只有%2則﹐確定要發送嗎﹖")
                .arg(needed)
                .arg(*credit));
    if (needed > kLargeRun)
        return ConfirmBox(QStringLiteral("本次發送給%1位接收人﹐共需%2則簡訊﹐確定要發送嗎﹖")
                              .arg(recipients.size())
                              .arg(needed));
    return true;
}

void TFrmSendMessage::dropOptedOut() {
    const QSet<QString> optedOut = sms::optedOutPhones();
    if (optedOut.isEmpty())
        return;
    int dropped = 0;
    for (int row = m_recipients->size() - 1; row >= 0; --row) {
        if (!sms::splitOptedOut({m_recipients->at(row)}, optedOut).left.isEmpty()) {
            m_recipients->removeAt(row);
            ++dropped;
        }
    }
    if (dropped > 0)
        InfoBox(QStringLiteral("%1位接收人已標記為不接收簡訊﹐已從清單刪除﹐不會發送給他們。")
                    .arg(dropped));
}

// The scheduled time when one is set, else now.
bool TFrmSendMessage::confirmQuietHours() {
    const sms::QuietHours quiet = sms::QuietHours::load(GatewayConfig::iniPath());
    const QDateTime when = scheduledAt().value_or(m_clock());
    if (!quiet.contains(when))
        return true;
    const std::optional<QDateTime> next = quiet.nextAllowed(when);
    const QString later = next ? QStringLiteral("\n按「否」改為預約在 %1 發送。")
                                     .arg(next->toString(QStringLiteral("yyyy/MM/dd HH:mm")))
                               : QString();
    if (ConfirmBox(QStringLiteral("%1 在簡訊靜默時段(%2)內﹐確定要在這時發送嗎﹖%3")
                       .arg(when.toString(QStringLiteral("yyyy/MM/dd HH:mm")), quiet.text(), later),
                   Prompt::No))
        return true;
    if (next) {
        CheckBox3->setChecked(true);
        DBDateTimeEditEh1->setDateTime(*next);
        DBDateTimeEditEh1->setFocus();
    }
    return false;
}

// After any earlier run, sending the whole list again would pay twice for
// those already reached.
bool TFrmSendMessage::confirmSendingAgain() {
    const int reached = m_recipients->reached();
    if (reached == 0)
        return true;
    return ConfirmBox(QStringLiteral("清單中有%1位接收人已發送或可能已收到﹐"
                                     "全部重新發送會再傳給他們。\n確定要全部重新發送嗎﹖"
                                     "(只發給尚未發送的接收人﹐請按「繼續發送」)")
                          .arg(reached),
                      Prompt::No);
}

// Lines left unsent after a run would be lost by closing.
bool TFrmSendMessage::confirmClosing() {
    if (!afterRun())
        return true;
    const int left = m_recipients->left();
    if (left == 0)
        return true;
    return ConfirmBox(QStringLiteral("清單中還有%1位接收人尚未發送﹐關閉後不會發送給他們。\n"
                                     "確定要關閉嗎﹖")
                          .arg(left),
                      Prompt::No);
}

void TFrmSendMessage::done(int result) {
    if (confirmClosing())
        QDialog::done(result);
}

bool TFrmSendMessage::afterRun() const {
    return m_recipients->reached() + m_recipients->count(sms::Delivery::Refused) > 0;
}

void TFrmSendMessage::send() {
    dropOptedOut();
    const QList<sms::Recipient> recipients = m_recipients->all();
    const sms::Composition message = composition();
    if (const std::optional<QString> refusal = sms::sendRefusal(recipients, message)) {
        InfoBox(*refusal);
        return;
    }
    if (!confirmQuietHours() || !confirmSendingAgain() || !confirmCredit(recipients, message))
        return;
    m_recipients->forgetStates();
    QList<int> rows;
    for (int i = 0; i < recipients.size(); ++i)
        rows << i;
    runOver(rows, message);
}

// Only the lines no run reached (refused ones among them), and lines added
// since.
void TFrmSendMessage::continueSending() {
    dropOptedOut();
    const QList<int> rows = m_recipients->leftRows();
    QList<sms::Recipient> recipients;
    for (const int row : rows)
        recipients << m_recipients->at(row);
    const sms::Composition message = composition();
    if (const std::optional<QString> refusal = sms::sendRefusal(recipients, message)) {
        InfoBox(*refusal);
        return;
    }
    if (!confirmQuietHours() || !confirmCredit(recipients, message))
        return;
    runOver(rows, message);
}

// The run reports every failure in its result, so the states, the credit
// and the report always follow it.
void TFrmSendMessage::runOver(const QList<int>& rows, const sms::Composition& composition) {
    QList<sms::Recipient> recipients;
    for (const int row : rows)
        recipients << m_recipients->at(row);
    std::optional<sms::RunResult> result;
    {
        // The progress shows only while the run lasts, also when it fails.
        const auto restoreCaption =
            qScopeGuard([this] { setWindowTitle(QStringLiteral("發送簡訊")); });
        result = sms::sendToAll(
            m_gateway, recipients, composition, scheduledAt(),
            [this](int index, int count) {
                setWindowTitle(QStringLiteral("正在發送第%1條﹐共%2條﹗").arg(index).arg(count));
            },
            &m_recipients->delivered());
    }
    m_recipients->keepStates(rows, result->states);
    refreshCreditAfterRun();
    reportRun(*result);
}

// Only after a run that reached or was refused by someone is there a rest
// to send.
void TFrmSendMessage::updateContinueButton() {
    BtnContinue->setEnabled(afterRun() && m_recipients->left() > 0);
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
    QString notes;
    if (repeated > 0)
        notes += QStringLiteral("\n相同號碼的相同簡訊略過:%1筆").arg(repeated);
    for (const QString& refusal : result.refused)
        notes += QStringLiteral("\n%1 被拒").arg(refusal);
    if (result.signatureFailure)
        notes += QStringLiteral("\n新署名沒有儲存﹕") + *result.signatureFailure;
    if (!result.stopped()) {
        const QString text =
            QStringLiteral("發送完畢﹗\n共:%1筆﹗").arg(result.count(sms::Delivery::Sent)) +
            (result.refused.isEmpty()
                 ? QString()
                 : QStringLiteral("  被拒:%1筆").arg(result.count(sms::Delivery::Refused))) +
            notes;
        if (result.refused.isEmpty() && !result.signatureFailure)
            InfoBox(text);
        else
            Prompt::current().message(Prompt::Icon::Warning, MessageTable::current().CaptionHint,
                                      text);
        return;
    }
    const int left = m_recipients->left();
    QString text = QStringLiteral("發送中斷﹗\n已發送:%1筆  未確認:%2筆  未發送:%3筆")
                       .arg(result.count(sms::Delivery::Sent))
                       .arg(result.count(sms::Delivery::Unconfirmed))
                       .arg(left);
    for (const QString& recipient : result.unconfirmed)
        text += QStringLiteral("\n%1 可能已收到").arg(recipient);
    text += notes + QStringLiteral("\n原因﹕") + *result.stopReason;
    if (left > 0)
        text += QStringLiteral("\n尚未發送的%1位接收人留在清單中﹐按「繼續發送」即可發送給他們。")
                    .arg(left);
    Prompt::current().message(Prompt::Icon::Warning, MessageTable::current().CaptionHint, text);
}
