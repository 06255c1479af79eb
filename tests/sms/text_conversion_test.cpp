#include "base/big5.h"
#include "base/errors.h"
#include "sms/answer_text.h"
#include "sms/query_encoding.h"
#include "sms/schedule_text.h"

#include <gtest/gtest.h>

namespace {

TEST(SmsQueryEncoding, BytesThatMayNotStandInAValueArePercentEncoded) {
    const struct {
        QByteArray bytes;
        QByteArray encoded;
    } cases[] = {
        {"AZaz09-._~/:", "AZaz09-._~/:"},
        {"a b\r\nc\t", "a%20b%0D%0Ac%09"},
        {"&=#%+?", "%26%3D%23%25%2B%3F"},
        // Big5 trail bytes may be ASCII: 許功蓋 all end in a backslash.
        {big5::encode("許功蓋"), "%B3%5C%A5%5C%BB%5C"},
        {big5::encode("林"), "%AAL"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gateway::percentEncode(c.bytes), c.encoded) << c.bytes.toHex().toStdString();
}

struct RefusalCase {
    QueryField field;
    QStringList named; // characters the message must name
};

TEST(SmsQueryEncoding, ACharacterBig5CannotCarryIsRefusedByNameAndField) {
    const RefusalCase cases[] = {
        {{"SB", "简讯 😀 简", "簡訊內容"}, {"简", "讯", "😀"}},
        {{"name", "José:", "名字+稱謂"}, {"é"}},
        {{"at", "① 公司", "客戶名稱"}, {"①"}},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.field.value.toStdString());
        try {
            gateway::big5Value(c.field);
            ADD_FAILURE() << "not refused";
        } catch (const ConversionError& error) {
            EXPECT_TRUE(error.text().startsWith(c.field.caption)) << error.text().toStdString();
            for (const QString& character : c.named)
                EXPECT_EQ(error.text().count("「" + character + "」"), 1)
                    << character.toStdString();
        }
    }
}

TEST(SmsQueryEncoding, TextsBig5CanCarryKeepEveryCharacter) {
    const QString text = "許功蓋 € Ω　100% & a+b=c #1\r\n第二行";
    const QByteArray bytes = gateway::big5Value({"SB", text, "簡訊內容"});
    EXPECT_EQ(big5::decode(bytes), text);
}

TEST(SmsScheduleText, DateAndTimeWithTheTimeLeftOutAtMidnight) {
    const QString date = "yyyy/MM/dd";
    const QString time = "HH:mm:ss";
    const struct {
        QDateTime when;
        QString dateFormat;
        QString text;
    } cases[] = {
        {QDateTime(QDate(2024, 5, 1), QTime(13, 5, 9)), date, "2024/05/01 13:05:09"},
        {QDateTime(QDate(2024, 12, 31), QTime(0, 0)), date, "2024/12/31"},
        {QDateTime(QDate(2024, 12, 31), QTime(0, 0, 1)), date, "2024/12/31 00:00:01"},
        {QDateTime(QDate(2024, 12, 31), QTime(0, 0, 0, 1)), date, "2024/12/31 00:00:00"},
        {QDateTime(QDate(2024, 1, 2), QTime(8, 30)), "dd-MM-yyyy", "02-01-2024 08:30:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(gateway::scheduleText(c.when, c.dateFormat, time), c.text)
            << c.when.toString(Qt::ISODateWithMs).toStdString();
    }
}

TEST(SmsAnswerText, TheContentTypeCharsetDecidesAndBig5IsTheDefault) {
    const QString refusal = "帳號或密碼錯誤";
    // Two Big5 characters whose bytes also happen to be valid UTF-8.
    const QByteArray ambiguous("\xC3\xA1\xC3\xA9");
    ASSERT_FALSE(big5::decode(ambiguous).contains(QChar(0xFFFD)));
    const struct {
        QByteArray body;
        QByteArray contentType;
        QString text;
    } cases[] = {
        {"100", "", "100"},
        {ambiguous, "", big5::decode(ambiguous)},
        {ambiguous, "text/plain", big5::decode(ambiguous)},
        {ambiguous, "text/plain; charset=big5", big5::decode(ambiguous)},
        {ambiguous, "text/plain; charset=UTF-8", QString::fromUtf8(ambiguous)},
        {ambiguous, "text/html;charset=\"utf-8\"", QString::fromUtf8(ambiguous)},
        {big5::encode(refusal), "text/plain; charset=Big5", refusal},
        {big5::encode(refusal), "text/plain; charset=cp950", refusal},
        {big5::encode(refusal), "text/plain; charset=no-such-charset", refusal},
        {QString("剩餘 100 通").toUtf8(), "text/plain; charset=utf-8", "剩餘 100 通"},
        {"caf\xE9", "text/plain; charset=ISO-8859-1", "café"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.contentType.toStdString());
        EXPECT_EQ(gateway::answerText(c.body, c.contentType), c.text);
    }
    EXPECT_NE(big5::decode(ambiguous), QString::fromUtf8(ambiguous));
}

TEST(SmsAnswerText, TheCharsetIsFoundAmongTheParameters) {
    const struct {
        QByteArray contentType;
        QByteArray charset;
    } cases[] = {
        {"", ""},
        {"text/plain", ""},
        {"text/plain; charset=big5", "big5"},
        {"text/plain;Charset = \"UTF-8\" ; format=flowed", "utf-8"},
        {"text/plain; format=flowed; charset=CP950", "cp950"},
        {"text/plain; charset=\"big5", "big5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gateway::charsetOf(c.contentType), c.charset) << c.contentType.toStdString();
}

} // namespace
