#pragma once

#include "base/errors.h"

#include <QString>

// A request to the SMS gateway that did not end with an answer the program
// could read. Whether the request had already gone out matters to a send
// run: a message that may have reached the gateway may have been delivered
// and charged, so it is recorded as unconfirmed and never sent again
// unasked.
class GatewayError : public TransferError {
public:
    GatewayError(const QString& text, bool requestSent, const QString& cause,
                 const QString& detail = QString())
        : TransferError(text), m_requestSent(requestSent), m_cause(cause), m_detail(detail) {}

    // True when the request, or a part of it, had been sent when the
    // transfer failed (a time-out or a dropped connection while waiting for
    // the answer, an error status); false when nothing went out (a refused
    // connection, an unknown host).
    bool requestSent() const { return m_requestSent; }

    // A few words on the cause, short enough for the history's Memo column.
    const QString& cause() const { return m_cause; }

    // The transfer library's own words, in English, for whoever looks into
    // the failure; never part of the text the user is shown.
    const QString& detail() const { return m_detail; }

private:
    bool m_requestSent;
    QString m_cause;
    QString m_detail;
};
