#pragma once

#include "sms/gateway_requests.h"

#include <QRegularExpression>
#include <QString>
#include <chrono>
#include <optional>

// Where the gateway lives and how requests to it are made: the [Gateway]
// section of lunmark.ini, the settings file beside the database.
//
//   [Gateway]
//   SendHost=sms.example.com          ; host of the send request, may carry ":port"
//                                     ; and "https://" (plain hosts go over http://)
//   AccountHost=account.example.com   ; host of the credit request and the two pages
//   ScheduleDateFormat=yyyy/MM/dd     ; scheduled time text, date part
//   ScheduleTimeFormat=HH:mm:ss       ; time part, left out at exactly midnight
//   ConnectTimeout=10                 ; seconds to connect
//   Timeout=30                        ; seconds for the whole request
//   ServicePhone=(02)1234-5678        ; the vendor's service line, named in the
//                                     ; notice about a missing SMS account
//   RefusedAnswer=^(點數不足|帳號或密碼錯誤)  ; a regular expression: an answer to a
//                                     ; message that matches it is a refusal, not
//                                     ; a sent message; without it every answer
//                                     ; counts as sent
struct GatewayConfig {
    QString sendHost;
    QString accountHost;
    QString scheduleDateFormat = QStringLiteral("yyyy/MM/dd");
    QString scheduleTimeFormat = QStringLiteral("HH:mm:ss");
    std::chrono::milliseconds connectTimeout{10'000};
    std::chrono::milliseconds timeout{30'000};
    QString servicePhone;  // empty when the file names none
    QString refusedAnswer; // empty: no answer is a refusal
    QString source;        // the file the settings came from, named in messages

    // The host of the request, as configured (with "https://" when it was
    // given). Throws TransferError saying where to set it when it is not
    // configured, and when it names a scheme other than http:// or https://.
    QString hostFor(GatewayHost host) const;

    // RefusedAnswer as an expression; nothing when it is not set. Throws
    // TransferError saying where to correct it when it is no valid regular
    // expression.
    std::optional<QRegularExpression> refusal() const;

    // lunmark.ini beside the register (db::settingsFilePath()).
    static QString iniPath();

    // The settings in the file; missing keys keep their defaults and a missing
    // file leaves both hosts unset.
    static GatewayConfig load(const QString& path);
};
