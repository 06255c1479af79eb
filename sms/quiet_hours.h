#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTime>
#include <functional>
#include <optional>

// The hours in which no SMS should go out, [Sms] QuietHours in lunmark.ini:
// ranges "HH:mm-HH:mm" separated by commas, each from its first minute up to
// (not including) its last; a range whose end comes before its start runs
// over midnight, and 24:00 is the end of the day. An empty value means none.
namespace sms {

inline const QString kDefaultQuietHours = QStringLiteral("21:00-09:00,12:30-13:30");

// The time now as the send window and lunmark --send read it; tests give
// one of their own.
using Clock = std::function<QDateTime()>;

class QuietHours {
public:
    // Nothing when the text is not ranges as above.
    static std::optional<QuietHours> parse(const QString& text);
    // The setting of the file, the default when it has none; a value that
    // cannot be read is refused with ConversionError saying how to write it.
    static QuietHours load(const QString& iniPath);

    bool contains(const QDateTime& when) const;
    // The first minute at or after when that is outside every range;
    // nothing when the ranges cover the whole day.
    std::optional<QDateTime> nextAllowed(const QDateTime& when) const;
    // The ranges as written, for messages.
    QString text() const { return m_text; }

private:
    struct Range {
        int from = 0; // minutes since midnight
        int to = 0;   // the same, up to 24 * 60
    };
    bool containsMinute(int minute) const;

    QList<Range> m_ranges;
    QString m_text;
};

} // namespace sms
