#pragma once

#include "sms/message_composer.h"
#include "sms/recipient_line.h"

#include <QString>
#include <QStringList>
#include <optional>

// Checks made before the first message of a send run goes out, so that a run
// never stops half-way for a reason known beforehand: each message the
// gateway accepts must find its row in the history, every field of the
// message must be known and have a value for every recipient (unless empty
// ones are left blank), and every merged text must be one the gateway can
// be given in Big5.
namespace sms {

// The reason to refuse the run, as the text to show; nothing when it may go.
std::optional<QString> sendRefusal(const QList<Recipient>& recipients,
                                   const Composition& composition);

} // namespace sms
