#include "base/whole_number.h"

std::optional<long long> wholeNumber(QStringView text, int maxDigits, Sign sign) {
    qsizetype at = 0;
    bool negative = false;
    if (sign == Sign::Allowed && !text.isEmpty() &&
        (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        ++at;
    }
    const qsizetype digits = text.size() - at;
    if (digits < 1 || digits > maxDigits)
        return std::nullopt;
    long long value = 0;
    for (; at < text.size(); ++at) {
        const char16_t c = text.at(at).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return negative ? -value : value;
}
