#pragma once

#include "sms/message_composer.h"
#include "sms/recipient_line.h"

#include <QString>
#include <QStringList>
#include <optional>

// How many SMS a text costs: one message carries 70 characters; a longer
// text goes out in parts of 67 characters each (the rest of a part holds the
// header that joins the parts again on the telephone).
namespace sms {

class RecipientTotals;

inline constexpr int kSingleMessageLength = 70;
inline constexpr int kPartLength = 67;

// Characters as the telephone counts them (one for each Chinese character).
int characterCount(const QString& text);

// The messages a text of that many characters takes; none for an empty one.
int partCount(int characters);

// The composed text as the gateway receives it: the send request drops the
// blanks and line breaks at its end unless a scheduled time follows it.
QString deliveredText(const QString& composed, bool scheduled);

// The characters of the composed text without its name prefix, as the
// gateway receives it.
int bodyCharacters(const Composition& composition, bool scheduled);

struct PartsCount {
    int characters = 0; // of the composed text without a name prefix; with
                        // fields in the message, of the longest merged one
    int parts = 0;      // of the same
    int totalParts = 0; // over all lines, each with its own name prefix
};

// The count shown under the message box. The name prefix differs from one
// recipient to the next, so the single count leaves it out and the total
// counts every recipient's own text. A message with fields is merged for
// every recipient.
PartsCount countParts(const QList<Recipient>& recipients, const Composition& composition,
                      bool scheduled);
// The same for the lines the totals were kept for, without walking them;
// only for a message without fields.
PartsCount countKeptParts(const RecipientTotals& totals, const Composition& composition,
                          bool scheduled);

// The credit box's text as a number, when it is one (digits only, blanks
// around allowed); the gateway may also answer with an error text.
std::optional<long long> plainNumber(const QString& text);

} // namespace sms
