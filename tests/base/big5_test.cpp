#include "base/big5.h"
#include "base/byte_limit_validator.h"

#include <gtest/gtest.h>

namespace {

TEST(Big5Test, EncodesAndDecodesChineseText) {
    const QString text = QStringLiteral("會員管理 ABC﹐１２３");
    const QByteArray bytes = big5::encode(text);
    EXPECT_EQ(bytes.left(2), QByteArray("\xB7\x7C")); // 會
    EXPECT_EQ(big5::decode(bytes), text);
}

TEST(Big5Test, NamesCharactersBig5CannotCarry) {
    QString missing;
    const QByteArray bytes = big5::encode(QStringLiteral("我们们😀好"), &missing);
    EXPECT_EQ(missing, QStringLiteral("们😀"));
    EXPECT_EQ(big5::decode(bytes), QStringLiteral("我好"));
    EXPECT_TRUE(big5::unmappable(QStringLiteral("會員")).isEmpty());
}

TEST(Big5Test, DecodeMarksBrokenBytes) {
    EXPECT_EQ(big5::decode(QByteArray("A\xB7")), QStringLiteral("A\uFFFD"));
}

TEST(Big5Test, ByteLengthCountsChineseAsTwo) {
    EXPECT_EQ(big5::byteLength(QString()), 0);
    EXPECT_EQ(big5::byteLength(QStringLiteral("abc")), 3);
    EXPECT_EQ(big5::byteLength(QStringLiteral("王a")), 3);
    EXPECT_EQ(big5::byteLength(QStringLiteral("中文字")), 6);
}

TEST(ByteLimitValidatorTest, RefusesTextPastTheLimit) {
    ByteLimitValidator validator(4);
    int pos = 0;
    QString fits = QStringLiteral("中文");
    QString tooLong = QStringLiteral("中文a");
    QString ascii = QStringLiteral("abcd");
    EXPECT_EQ(validator.validate(fits, pos), QValidator::Acceptable);
    EXPECT_EQ(validator.validate(ascii, pos), QValidator::Acceptable);
    EXPECT_EQ(validator.validate(tooLong, pos), QValidator::Invalid);
}

} // namespace
