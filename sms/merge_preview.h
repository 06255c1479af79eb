#pragma once

#include "sms/message_composer.h"
#include "sms/recipient_line.h"

#include <QList>
#include <QString>

// What each recipient will receive: the merged text as the gateway gets it,
// its characters and parts, and what keeps it from going out.
namespace sms {

struct PreviewLine {
    QString recipient; // as the list shows it
    QString text;      // the whole text, name prefix and signature included
    int characters = 0;
    int parts = 0;
    QString problem; // fields without a value, characters Big5 lacks; or empty
};

QList<PreviewLine> previewLines(const QList<Recipient>& recipients, const Composition& composition,
                                bool scheduled);

} // namespace sms
