#include "sms/gateway_requests.h"

#include "base/text_helpers.h"

namespace gateway {
namespace {

// Captions of the values, as the SMS account window names them.
QueryField dealer(const GatewayAccount& a) {
    return {QStringLiteral("rvg2c"), a.SuppID, QStringLiteral("經銷商代號")};
}
QueryField systemCode(const GatewayAccount& a) {
    return {QStringLiteral("vw2a"), a.SystemID, QStringLiteral("系統代號")};
}
// The gateway spells the account key in upper case on some pages and in
// lower case on others; each request keeps the spelling it was given.
QueryField customer(const GatewayAccount& a, const QString& key) {
    return {key, a.CustID, QStringLiteral("客戶帳號")};
}
QueryField password(const GatewayAccount& a) {
    return {QStringLiteral("dc2a"), a.CustPwd, QStringLiteral("客戶密碼")};
}
QueryField customerName(const GatewayAccount& a) {
    return {QStringLiteral("at"), a.CustName, QStringLiteral("客戶名稱")};
}

} // namespace

GatewayRequest sendMessageRequest(const GatewayAccount& account, const QString& name,
                                  const QString& phone, const QString& message,
                                  const std::optional<QString>& scheduleText) {
    GatewayRequest request{GatewayHost::Send, QStringLiteral("/STANDARD/SMS.ASP"), {}};
    request.fields = {
        dealer(account),
        systemCode(account),
        customer(account, QStringLiteral("yhy")),
        password(account),
        {QStringLiteral("movetel"), phone, QStringLiteral("電話號碼")},
        {QStringLiteral("name"), name, QStringLiteral("名字+稱謂")},
        {QStringLiteral("sms_auto"), QStringLiteral("BIG5"), QString()},
        {QStringLiteral("SB"), message, QStringLiteral("簡訊內容")},
    };
    if (scheduleText)
        request.fields.append(
            {QStringLiteral("bf"), *scheduleText, QStringLiteral("預約發送時間")});
    // The whole address is trimmed at its end, and only the last value can
    // end it.
    QString& last = request.fields.last().value;
    last = trimBlanksAtEnd(last);
    return request;
}

GatewayRequest creditRequest(const GatewayAccount& account) {
    return {GatewayHost::Account,
            QStringLiteral("/STANDARD/SMS5H.ASP"),
            {dealer(account),
             systemCode(account),
             customer(account, QStringLiteral("YHY")),
             {QStringLiteral("cuvv"), QStringLiteral("1"), QString()},
             password(account),
             customerName(account)}};
}

GatewayRequest resultsPageRequest(const GatewayAccount& account) {
    return {GatewayHost::Account,
            QStringLiteral("/STANDARD/TVRVRE_A.ASP"),
            {dealer(account), systemCode(account), customer(account, QStringLiteral("YHY")),
             password(account), customerName(account)}};
}

GatewayRequest purchasePageRequest(const GatewayAccount& account) {
    return {GatewayHost::Account,
            QStringLiteral("/STANDARD/MTMK.asp"),
            {dealer(account), systemCode(account), customer(account, QStringLiteral("yhy")),
             password(account)}};
}

} // namespace gateway
