#include "app/big5.h"
#include "app/errors.h"
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

TEST(SmsAnswerText, Utf8StaysAndOtherBytesAreReadAsBig5) {
    const QString refusal = "帳號或密碼錯誤";
    EXPECT_EQ(gateway::answerText("100"), "100");
    EXPECT_EQ(gateway::answerText(QString("剩餘 100 通").toUtf8()), "剩餘 100 通");
    EXPECT_EQ(gateway::answerText(big5::encode(refusal)), refusal);
}

} // namespace
