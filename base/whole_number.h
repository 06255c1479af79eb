#pragma once

#include <QStringView>
#include <optional>

// Reads a whole number the way the platform's integer conversion does: an
// optional sign (when signs are allowed), then one to maxDigits decimal
// digits, and nothing else, not even a blank. nullopt for any other text.
enum class Sign { Allowed, Refused };
std::optional<long long> wholeNumber(QStringView text, int maxDigits, Sign sign = Sign::Allowed);
