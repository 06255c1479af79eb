#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The record of sent messages, table MessageHistory: one row per message the
// gateway accepted, and the search of the history window.
namespace sms::history {

// One sent message, stored with a single insert.
struct SentMessage {
    QString name;    // the recipient line's name part
    QString phone;   // the recipient's telephone
    QString message; // the message as this recipient got it (its fields filled
                     // in), without name prefix and signature
    QDateTime sentAt;
    QString sign; // the signature box's text, ticked or not
    QString memo; // the gateway's answer, or why delivery is unconfirmed
};
// The memo is cut to the width of the column. Returns the new row's ID.
qint64 record(const SentMessage& sent);

// The memo of a recorded row, cut to the width of the column.
void setMemo(qint64 id, const QString& memo);

// Takes back a row recorded for a message that never left.
void forget(qint64 id);

// The widest name, telephone, signature and memo the table keeps.
inline constexpr int kNameLength = 50;
inline constexpr int kPhoneLength = 50;
inline constexpr int kSignLength = 50;
inline constexpr int kMemoLength = 50;

// What Memo starts with for a message whose request went out but whose
// answer never came: it may have been delivered.
inline const QString kUnconfirmed = QStringLiteral("未確認");
// What Memo starts with for a message the gateway answered with a refusal;
// the answer follows.
inline const QString kRefused = QStringLiteral("被拒");
// The memo of a message while its request is out: what the history shows if
// the program never learns the answer.
inline const QString kBeingSent = QStringLiteral("未確認：送出中");

// text cut to at most length characters, never inside a surrogate pair.
QString cutToFit(const QString& text, int length);

// What the history window searches for.
struct Filter {
    QString recipient; // a part of the name; empty matches every row
    QDate from;
    QDate to; // included to its last second
};

// The 300 newest rows that match, newest first.
QStringList searchLines();
QVariantMap searchParams(const Filter& filter);

// The first day of the month of day.
QDate firstOfMonth(const QDate& day);

} // namespace sms::history
