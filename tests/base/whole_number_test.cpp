#include "base/whole_number.h"

#include <QString>
#include <gtest/gtest.h>

namespace {

TEST(WholeNumberTest, ReadsSignsAndDigitsOnly) {
    const struct {
        const char* text;
        int maxDigits;
        Sign sign;
        std::optional<long long> value;
    } cases[] = {
        {"65", 9, Sign::Allowed, 65},
        {"-12", 9, Sign::Allowed, -12},
        {"+7", 9, Sign::Allowed, 7},
        {"007", 9, Sign::Allowed, 7},
        {"123456789", 9, Sign::Allowed, 123456789},
        {"1234567890", 9, Sign::Allowed, std::nullopt},
        {"123456789012345", 15, Sign::Refused, 123456789012345},
        {"+7", 15, Sign::Refused, std::nullopt},
        {"-7", 15, Sign::Refused, std::nullopt},
        {"", 9, Sign::Allowed, std::nullopt},
        {"-", 9, Sign::Allowed, std::nullopt},
        {" 1", 9, Sign::Allowed, std::nullopt},
        {"1 ", 9, Sign::Allowed, std::nullopt},
        {"1.0", 9, Sign::Allowed, std::nullopt},
        {"6/", 9, Sign::Allowed, std::nullopt},
        {"\xef\xbc\x91", 9, Sign::Allowed, std::nullopt}, // a full-width digit
    };
    for (const auto& c : cases)
        EXPECT_EQ(wholeNumber(QString::fromUtf8(c.text), c.maxDigits, c.sign), c.value) << c.text;
}

} // namespace
