#pragma once

#include <QString>
#include <QStringList>

// The signatures offered under a message, table Sign. The send window lists
// them and adds a new one after each send run; nothing edits or deletes one.
namespace sms::signatures {

// Every signature, trimmed, newest first.
QStringList list();

// Adds text, untrimmed, unless it is blank or stored already (letter case
// aside, as the database compares texts).
void saveIfNew(const QString& text);

} // namespace sms::signatures
