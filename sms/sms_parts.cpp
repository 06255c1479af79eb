#include "sms/sms_parts.h"

#include "base/whole_number.h"
#include "sms/gateway_requests.h"
#include "sms/recipient_totals.h"

#include <QRegularExpression>

namespace sms {

int characterCount(const QString& text) {
    return int(text.toUcs4().size());
}

int partCount(int characters) {
    if (characters <= 0)
        return 0;
    if (characters <= kSingleMessageLength)
        return 1;
    return (characters + kPartLength - 1) / kPartLength;
}

// The request builder decides what reaches the gateway, so it is asked here
// rather than its trimming repeated.
QString deliveredText(const QString& composed, bool scheduled) {
    const std::optional<QString> when =
        scheduled ? std::optional<QString>(QStringLiteral("0")) : std::nullopt;
    const GatewayRequest request =
        gateway::sendMessageRequest(GatewayAccount{}, QString(), QString(), composed, when);
    for (const QueryField& field : request.fields) {
        if (field.key == QLatin1String("SB"))
            return field.value;
    }
    return composed;
}

int bodyCharacters(const Composition& composition, bool scheduled) {
    Composition withoutName = composition;
    withoutName.namePrefix = false;
    return characterCount(deliveredText(compose(Recipient{}, withoutName).text, scheduled));
}

namespace {

// Each recipient's own merged text: the longest body and the parts of every
// whole text.
PartsCount countMergedParts(const QList<Recipient>& recipients, const Composition& composition,
                            bool scheduled) {
    PartsCount count;
    Composition withoutName = composition;
    withoutName.namePrefix = false;
    for (const Recipient& recipient : recipients) {
        const ComposedMessage composed = compose(recipient, composition);
        const int whole = characterCount(deliveredText(composed.text, scheduled));
        int body = whole;
        if (composition.namePrefix)
            body = characterCount(deliveredText(compose(recipient, withoutName).text, scheduled));
        count.characters = std::max(count.characters, body);
        count.totalParts += partCount(whole);
    }
    if (recipients.isEmpty())
        count.characters = bodyCharacters(composition, scheduled);
    count.parts = partCount(count.characters);
    return count;
}

} // namespace

PartsCount countParts(const QList<Recipient>& recipients, const Composition& composition,
                      bool scheduled) {
    if (hasFields(composition.message))
        return countMergedParts(recipients, composition, scheduled);
    RecipientTotals totals;
    for (const Recipient& recipient : recipients)
        totals.add(recipient);
    return countKeptParts(totals, composition, scheduled);
}

PartsCount countKeptParts(const RecipientTotals& totals, const Composition& composition,
                          bool scheduled) {
    PartsCount count;
    count.characters = bodyCharacters(composition, scheduled);
    count.parts = partCount(count.characters);
    count.totalParts = totals.totalParts(composition, scheduled);
    return count;
}

std::optional<long long> plainNumber(const QString& text) {
    return wholeNumber(text.trimmed(), 15, Sign::Refused);
}

} // namespace sms
