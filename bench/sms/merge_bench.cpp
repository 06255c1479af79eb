// Merging and counting a message with fields for 10,000 recipients, as the
// send window does at every keystroke (the live count) and before sending
// (the checks): each member's own text, its characters and parts, and the
// empty-field and Big5 checks.
#include "sms/merge_fields.h"
#include "sms/send_checks.h"
#include "sms/sms_parts.h"

#include <QElapsedTimer>
#include <cstdio>

namespace {

constexpr int kRecipients = 10000;

QList<sms::Recipient> recipients() {
    const QString families = QStringLiteral("陳林黃張李王吳劉蔡楊");
    const QList<sms::MergeField> fields = sms::mergeFields({});
    QList<sms::Recipient> list;
    list.reserve(kRecipients);
    for (int i = 0; i < kRecipients; ++i) {
        const QHash<QString, QString> columns{
            {QStringLiteral("name"), families.at(i % 10) + QStringLiteral("志明")},
            {QStringLiteral("Name1"), i % 2 ? QStringLiteral("先生") : QStringLiteral("小姐")},
            {QStringLiteral("id"), QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'))},
            {QStringLiteral("MGBirthday"), QStringLiteral("70/05/%1").arg(i % 28 + 1)},
            {QStringLiteral("Kind"), i % 3 ? QStringLiteral("一般") : QStringLiteral("VIP")}};
        list << sms::Recipient{
            columns.value(QStringLiteral("name")) + columns.value(QStringLiteral("Name1")),
            QStringLiteral("0912%1").arg(i, 6, 10, QLatin1Char('0')),
            sms::memberValues(fields,
                              [&](const QString& column) { return columns.value(column); })};
    }
    return list;
}

} // namespace

int main() {
    const QList<sms::Recipient> list = recipients();
    sms::Composition composition;
    composition.namePrefix = true;
    composition.message = QStringLiteral("{姓名}{稱謂}您好﹐會員編號{會員編號}的生日{生日}將到﹐"
                                         "{類別}會員本月消費滿千送百﹐歡迎光臨本店﹗");
    composition.withSignature = true;
    composition.signature = QStringLiteral("小店敬上");

    QElapsedTimer timer;
    timer.start();
    const sms::PartsCount count = sms::countParts(list, composition, false);
    const double countSeconds = double(timer.nsecsElapsed()) / 1e9;
    timer.restart();
    const std::optional<QString> refusal = sms::sendRefusal(list, composition);
    const double checkSeconds = double(timer.nsecsElapsed()) / 1e9;

    std::printf("merge and count %d recipients: %.3f s (longest %d characters, %d parts in all)\n",
                kRecipients, countSeconds, count.characters, count.totalParts);
    std::printf("merge and check %d recipients before sending: %.3f s (%s)\n", kRecipients,
                checkSeconds, refusal ? "refused" : "may go");
    std::printf("target: under 0.300 s each: %s\n",
                countSeconds < 0.3 && checkSeconds < 0.3 ? "met" : "NOT met");
    return refusal ? 1 : 0;
}
