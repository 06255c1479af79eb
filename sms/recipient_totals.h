#pragma once

#include "sms/message_composer.h"
#include "sms/recipient_line.h"

#include <QHash>
#include <QMap>
#include <QString>

// What the send window needs to know about its recipient list at every
// change, kept up to date line by line so that neither adding nor deleting
// walks the whole list: which telephones are listed, and how many lines have
// a name of each length (the name prefix is the only part of a composed text
// that differs from one recipient to the next).
namespace sms {

class RecipientTotals {
public:
    void add(const Recipient& recipient);
    void remove(const Recipient& recipient);
    void clear();

    int lineCount() const { return m_lines; }

    // True when a line with this handset (compared by phone::key) is listed.
    // An empty telephone is never taken as listed.
    bool hasPhone(const QString& phone) const;

    // The messages every recipient's own composed text takes, as the gateway
    // receives it; the cost does not grow with the number of lines.
    int totalParts(const Composition& composition, bool scheduled) const;

private:
    QHash<QString, int> m_phones; // phone key -> lines
    QMap<int, int> m_nameLengths; // characters of the name part -> lines
    int m_lines = 0;
};

} // namespace sms
