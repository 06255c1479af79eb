#include "sms/quiet_hours.h"

#include "base/errors.h"

#include <QRegularExpression>
#include <QSettings>

namespace sms {
namespace {

constexpr int kDay = 24 * 60;

std::optional<int> minuteOf(const QString& hours, const QString& minutes) {
    const int h = hours.toInt();
    const int m = minutes.toInt();
    if (m > 59 || h > 24 || (h == 24 && m != 0))
        return std::nullopt;
    return h * 60 + m;
}

} // namespace

std::optional<QuietHours> QuietHours::parse(const QString& text) {
    static const QRegularExpression range(
        QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})\\s*-\\s*(\\d{1,2}):(\\d{2})\\s*$"));
    QuietHours hours;
    hours.m_text = text.trimmed();
    if (hours.m_text.isEmpty())
        return hours;
    for (const QString& part : hours.m_text.split(QLatin1Char(','))) {
        const QRegularExpressionMatch match = range.match(part);
        if (!match.hasMatch())
            return std::nullopt;
        const std::optional<int> from = minuteOf(match.captured(1), match.captured(2));
        const std::optional<int> to = minuteOf(match.captured(3), match.captured(4));
        if (!from || !to || *from == kDay)
            return std::nullopt;
        if (*from < *to) {
            hours.m_ranges.append({*from, *to});
        } else if (*from > *to) { // over midnight
            hours.m_ranges.append({*from, kDay});
            if (*to > 0)
                hours.m_ranges.append({0, *to});
        }
    }
    return hours;
}

QuietHours QuietHours::load(const QString& iniPath) {
    const QSettings settings(iniPath, QSettings::IniFormat);
    const QVariant value = settings.value(QStringLiteral("Sms/QuietHours"));
    if (!value.isValid())
        return *parse(kDefaultQuietHours);
    // QSettings reads a value holding commas as a list.
    const QString text = value.typeId() == QMetaType::QStringList
                             ? value.toStringList().join(QLatin1Char(','))
                             : value.toString();
    if (std::optional<QuietHours> hours = parse(text))
        return *hours;
    throw ConversionError(QStringLiteral("lunmark.ini 的 [Sms] QuietHours「%1」無法讀取﹕"
                                         "請寫成像 %2 的時段(以逗號分隔)")
                              .arg(text, kDefaultQuietHours));
}

bool QuietHours::containsMinute(int minute) const {
    for (const Range& range : m_ranges) {
        if (minute >= range.from && minute < range.to)
            return true;
    }
    return false;
}

bool QuietHours::contains(const QDateTime& when) const {
    const QTime time = when.time();
    return containsMinute(time.hour() * 60 + time.minute());
}

std::optional<QDateTime> QuietHours::nextAllowed(const QDateTime& when) const {
    if (!contains(when))
        return when;
    const QTime time = when.time();
    const QDateTime minuteStart(when.date(), QTime(time.hour(), time.minute()));
    for (int step = 1; step <= kDay; ++step) {
        const QDateTime next = minuteStart.addSecs(qint64(step) * 60);
        if (!contains(next))
            return next;
    }
    return std::nullopt;
}

} // namespace sms
