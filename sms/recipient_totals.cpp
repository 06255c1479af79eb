#include "sms/recipient_totals.h"

#include "base/phone_number.h"
#include "sms/sms_parts.h"

namespace sms {
namespace {

void lower(auto& counts, const auto& key) {
    const auto found = counts.find(key);
    if (found == counts.end())
        return;
    if (--found.value() <= 0)
        counts.erase(found);
}

} // namespace

void RecipientTotals::add(const Recipient& recipient) {
    ++m_phones[phone::key(recipient.phone)];
    ++m_nameLengths[characterCount(recipient.name)];
    ++m_lines;
}

void RecipientTotals::remove(const Recipient& recipient) {
    lower(m_phones, phone::key(recipient.phone));
    lower(m_nameLengths, characterCount(recipient.name));
    --m_lines;
}

void RecipientTotals::clear() {
    m_phones.clear();
    m_nameLengths.clear();
    m_lines = 0;
}

bool RecipientTotals::hasPhone(const QString& phone) const {
    const QString key = phone::key(phone);
    return !key.isEmpty() && m_phones.contains(key);
}

// With the prefix, a line's text is its name, ":" and the shared body; the
// ":" stops the trimming at the end, so the body is trimmed on its own.
int RecipientTotals::totalParts(const Composition& composition, bool scheduled) const {
    const int body = bodyCharacters(composition, scheduled);
    if (!composition.namePrefix)
        return m_lines * partCount(body);
    int total = 0;
    for (auto it = m_nameLengths.cbegin(); it != m_nameLengths.cend(); ++it)
        total += it.value() * partCount(it.key() + 1 + body);
    return total;
}

} // namespace sms
