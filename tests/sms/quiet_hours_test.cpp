// The quiet hours of [Sms] QuietHours: which minutes they hold, the next
// minute outside them, and how the setting is read.
#include "base/errors.h"
#include "sms/quiet_hours.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDate kDay(2026, 12, 11);

QDateTime at(const char* time, int dayOffset = 0) {
    return QDateTime(kDay.addDays(dayOffset), QTime::fromString(QLatin1String(time), "HH:mm:ss"));
}

TEST(SmsQuietHours, TheDefaultHoldsItsMinutesUpToTheEndOfEachRange) {
    const sms::QuietHours quiet = *sms::QuietHours::parse(sms::kDefaultQuietHours);
    const struct {
        const char* time;
        bool inside;
        const char* next; // the next allowed time on the same day, or the next morning
        int nextDay;
    } cases[] = {
        {"20:59:59", false, "20:59:59", 0}, {"21:00:00", true, "09:00:00", 1},
        {"23:59:59", true, "09:00:00", 1},  {"00:00:00", true, "09:00:00", 0},
        {"08:59:59", true, "09:00:00", 0},  {"09:00:00", false, "09:00:00", 0},
        {"12:29:59", false, "12:29:59", 0}, {"12:30:00", true, "13:30:00", 0},
        {"13:29:30", true, "13:30:00", 0},  {"13:30:00", false, "13:30:00", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        EXPECT_EQ(quiet.contains(at(c.time)), c.inside);
        EXPECT_EQ(quiet.nextAllowed(at(c.time)), at(c.next, c.nextDay));
    }
}

TEST(SmsQuietHours, TheSettingIsReadOrRefusedSayingHowToWriteIt) {
    const struct {
        const char* text;
        bool readable;
        const char* quietAt; // a time inside, or nothing
        const char* freeAt;  // a time outside, or nothing
    } cases[] = {
        {"", true, nullptr, "03:00:00"},
        {" 22:00 - 23:00 ", true, "22:30:00", "23:00:00"},
        {"8:00-8:30,23:00-24:00", true, "23:59:00", "08:30:00"},
        {"10:00-10:00", true, nullptr, "10:00:00"}, // an empty range
        {"21:00-9:00", true, "08:59:00", "09:00:00"},
        {"21:00", false, nullptr, nullptr},
        {"25:00-09:00", false, nullptr, nullptr},
        {"21:60-09:00", false, nullptr, nullptr},
        {"24:00-09:00", false, nullptr, nullptr},
        {"21:00-09:00;12:30-13:30", false, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<sms::QuietHours> quiet = sms::QuietHours::parse(c.text);
        ASSERT_EQ(quiet.has_value(), c.readable);
        if (c.quietAt) {
            EXPECT_TRUE(quiet->contains(at(c.quietAt)));
        }
        if (c.freeAt) {
            EXPECT_FALSE(quiet->contains(at(c.freeAt)));
        }
    }
    // Round the clock there is no next allowed time.
    EXPECT_EQ(sms::QuietHours::parse("00:00-24:00")->nextAllowed(at("10:00:00")), std::nullopt);
}

TEST(SmsQuietHours, TheFileGivesTheRangesOrTheDefault) {
    QTemporaryDir folder;
    const QString path = folder.filePath("lunmark.ini");
    const auto write = [&](const QByteArray& text) {
        QFile ini(path);
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(text);
    };
    write("[Gateway]\nSendHost=x\n");
    EXPECT_EQ(sms::QuietHours::load(path).text(), sms::kDefaultQuietHours);
    EXPECT_TRUE(sms::QuietHours::load(path).contains(at("21:00:00")));
    write("[Sms]\nQuietHours=22:00-06:00,12:00-12:15\n");
    EXPECT_TRUE(sms::QuietHours::load(path).contains(at("12:10:00")));
    EXPECT_FALSE(sms::QuietHours::load(path).contains(at("21:30:00")));
    write("[Sms]\nQuietHours=\n");
    EXPECT_FALSE(sms::QuietHours::load(path).contains(at("23:00:00")));
    write("[Sms]\nQuietHours=晚上\n");
    try {
        sms::QuietHours::load(path);
        FAIL() << "read";
    } catch (const ConversionError& error) {
        EXPECT_TRUE(error.text().contains("[Sms] QuietHours「晚上」無法讀取"))
            << error.text().toStdString();
        EXPECT_TRUE(error.text().contains(sms::kDefaultQuietHours));
    }
}

} // namespace
