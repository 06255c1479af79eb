#include "base/phone_number.h"
#include "sms/message_composer.h"
#include "sms/recipient_line.h"
#include "sms/recipient_totals.h"
#include "sms/sms_parts.h"

#include <gtest/gtest.h>

namespace {

TEST(SmsComposition, EachRecipientGivesNamePhoneAndComposedText) {
    const struct {
        const char* title;
        sms::Recipient recipient;
        bool prefix;
        bool signature;
        QString name;
        QString phone;
        QString text;
        QString listed;
    } cases[] = {
        {"prefix and signature",
         {"林先生", "0900000000"},
         true,
         true,
         "林先生:",
         "0900000000",
         "林先生: 週末特價  小店",
         "林先生"},
        {"neither",
         {"林先生", "0900000000"},
         false,
         false,
         "",
         "0900000000",
         " 週末特價  ",
         "林先生"},
        {"prefix only",
         {"林先生", "0900000000"},
         true,
         false,
         "林先生:",
         "0900000000",
         "林先生: 週末特價  ",
         "林先生"},
        {"signature only",
         {"林先生", "0900000000"},
         false,
         true,
         "",
         "0900000000",
         " 週末特價  小店",
         "林先生"},
        // A name holding brackets is a name, not the start of a number.
        {"name holding (",
         {"陳大文(Peter)先生", "0912345678"},
         true,
         true,
         "陳大文(Peter)先生:",
         "0912345678",
         "陳大文(Peter)先生: 週末特價  小店",
         "陳大文(Peter)先生"},
        {"empty", {}, true, false, ":", "", ": 週末特價  ", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const sms::Composition composition{c.prefix, "週末特價", c.signature, "小店"};
        const sms::ComposedMessage composed = sms::compose(c.recipient, composition);
        EXPECT_EQ(composed.name, c.name);
        EXPECT_EQ(composed.phone, c.phone);
        EXPECT_EQ(composed.text, c.text);
        EXPECT_EQ(composed.listedName, c.listed);
    }
}

TEST(SmsComposition, MessageLineBreaksAndBlanksAreKept) {
    const sms::Composition composition{false, " 第一行\r\n第二行 ", true, " 署名 "};
    EXPECT_EQ(sms::compose({"王", "09"}, composition).text, "  第一行\r\n第二行    署名 ");
}

TEST(SmsComposition, ARecipientShowsAsNameAndPhoneInBrackets) {
    EXPECT_EQ(sms::recipientLine({"陳小姐", "0911222333"}), "陳小姐(0911222333)");
    // Nothing is trimmed.
    EXPECT_EQ(sms::recipientLine({" 陳 ", " 09 "}), " 陳 ( 09 )");
}

TEST(SmsParts, SeventyCharactersAreOneMessageLongerTextsGoInPartsOf67) {
    const struct {
        int characters;
        int parts;
    } cases[] = {{0, 0}, {1, 1}, {70, 1}, {71, 2}, {134, 2}, {135, 3}, {201, 3}, {202, 4}};
    for (const auto& c : cases)
        EXPECT_EQ(sms::partCount(c.characters), c.parts) << c.characters;
}

TEST(SmsParts, ChineseCharactersCountOneEach) {
    EXPECT_EQ(sms::characterCount("許功蓋ab"), 5);
    EXPECT_EQ(sms::characterCount(QString(70, QChar(0x6797))), 70);
}

TEST(SmsParts, TrailingBlanksCountOnlyWhenAScheduledTimeKeepsThem) {
    EXPECT_EQ(sms::deliveredText(" 你好  \r\n", false), " 你好");
    EXPECT_EQ(sms::deliveredText(" 你好  \r\n", true), " 你好  \r\n");
}

TEST(SmsParts, TotalCountsEveryRecipientsOwnText) {
    // 66 characters of message: " " + 66 = 67 without a signature.
    sms::Composition composition{false, QString(66, QChar(0x6797)), false, "簽名"};
    const QList<sms::Recipient> lines{{"王", "0911"}, {"歐陽先生", "0922"}};
    struct Case {
        bool prefix;
        int characters;
        int parts;
        int total;
    };
    // With the prefix, "王:" makes 69 characters (one part) and "歐陽先生:"
    // 72 (two parts); the single count leaves the prefix out.
    for (const Case& c : {Case{false, 67, 1, 2}, Case{true, 67, 1, 3}}) {
        composition.namePrefix = c.prefix;
        const sms::PartsCount count = sms::countParts(lines, composition, false);
        EXPECT_EQ(count.characters, c.characters) << c.prefix;
        EXPECT_EQ(count.parts, c.parts) << c.prefix;
        EXPECT_EQ(count.totalParts, c.total) << c.prefix;
    }
    composition.namePrefix = false;
    composition.withSignature = true; // + "  簽名" = 71 characters
    EXPECT_EQ(sms::countParts(lines, composition, false).totalParts, 4);
    EXPECT_EQ(sms::countParts({}, composition, false).totalParts, 0);
}

// The totals kept line by line agree with composing every line's own text
// as the send run does, through adds and removes, for every composition.
TEST(SmsParts, KeptTotalsAgreeWithEveryLinesOwnText) {
    const QList<sms::Recipient> lines{{"王", "0911"},
                                      {"歐陽先生", "0922"},
                                      {"沒有電話", ""},
                                      {"", "0944"},
                                      {},
                                      {"林(小)先生", "0955"},
                                      {"𠀀𠀀", "0966"},
                                      {"歐陽先生", "0922"},
                                      {QString(66, 'a'), "0977"}};
    const QList<sms::Composition> compositions{
        {false, QString(66, QChar(0x6797)), false, "簽名"},
        {true, QString(66, QChar(0x6797)), false, "簽名"},
        {true, QString(66, QChar(0x6797)), true, "簽名"},
        {true, "  \r\n ", false, ""},
        {false, "  \r\n ", true, " "},
        {true, "", false, ""},
        {true, QString(130, 'x'), true, "店"},
    };
    const auto byEachLine = [](const QList<sms::Recipient>& list, const sms::Composition& c,
                               bool later) {
        int total = 0;
        for (const sms::Recipient& line : list)
            total += sms::partCount(
                sms::characterCount(sms::deliveredText(sms::compose(line, c).text, later)));
        return total;
    };
    sms::RecipientTotals totals;
    QList<sms::Recipient> listed;
    const auto check = [&] {
        for (const sms::Composition& c : compositions) {
            for (const bool later : {false, true}) {
                SCOPED_TRACE(c.message.toStdString() + (later ? " scheduled" : ""));
                EXPECT_EQ(sms::countKeptParts(totals, c, later).totalParts,
                          byEachLine(listed, c, later));
            }
        }
        EXPECT_EQ(totals.lineCount(), listed.size());
    };
    for (const sms::Recipient& line : lines) {
        totals.add(line);
        listed << line;
        check();
    }
    for (const int at : {3, 0, 5, 1}) {
        totals.remove(listed.takeAt(at));
        check();
    }
    totals.clear();
    listed.clear();
    check();
}

TEST(SmsParts, AListedHandsetIsKnownHoweverItsNumberIsWritten) {
    sms::RecipientTotals totals;
    totals.add({"王", "0912-345 678"});
    totals.add({"無號碼", ""});
    for (const char* same : {"0912345678", " 0912-345-678", "0912.345.678", "+886 912 345 678",
                             "886912345678", "+886-912-345-678"})
        EXPECT_TRUE(totals.hasPhone(same)) << same;
    for (const char* other : {"0912345679", "+886 2 2345 6789", "912345678"})
        EXPECT_FALSE(totals.hasPhone(other)) << other;
    EXPECT_FALSE(totals.hasPhone("")); // no number is never a duplicate
    totals.add({"林", "0912345678"});
    totals.remove({"王", "0912-345 678"});
    EXPECT_TRUE(totals.hasPhone("0912345678")); // the second line still has it
    totals.remove({"林", "0912345678"});
    EXPECT_FALSE(totals.hasPhone("0912345678"));
}

TEST(PhoneNumber, OneRuleReadsEveryWayOfWritingANumber) {
    const struct {
        QString typed;
        QString key;
        bool dialable;
    } cases[] = {
        {"0912345678", "0912345678", true},
        {"0912-345 678", "0912345678", true},
        {"0912.345.678", "0912345678", true},
        {"+886 912 345 678", "0912345678", true},
        {"886912345678", "0912345678", true},
        {"+886-912-345-678", "0912345678", true},
        {"+886 2 2345 6789", "+886223456789", true}, // not a mobile: kept as written
        {"+1 555 123 4567", "+15551234567", true},
        {"", "", false},
        {"   ", "", false},
        {"0912", "0912", false},
        {"0912-ABC-678", "0912ABC678", false},
        {"0912345678#1", "0912345678#1", false},
        {"Peter)先生(0912345678", "Peter)先生(0912345678", false},
        {"++886912345678", "++886912345678", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        EXPECT_EQ(phone::key(c.typed), c.key);
        EXPECT_EQ(phone::isDialable(c.typed), c.dialable);
    }
}

TEST(SmsParts, OnlyAPlainNumberIsACredit) {
    const struct {
        QString text;
        std::optional<long long> credit;
    } cases[] = {
        {"100", 100},
        {" 7\r\n", 7},
        {"0", 0},
        {"", std::nullopt},
        {"帳號或密碼錯誤", std::nullopt},
        {"-3", std::nullopt},
        {"1.5", std::nullopt},
        {"１２", std::nullopt},
        {"12 34", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sms::plainNumber(c.text), c.credit) << c.text.toStdString();
}

} // namespace
