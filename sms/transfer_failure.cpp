#include "sms/transfer_failure.h"

#include <QtGlobal>

namespace gateway {
namespace {

struct Wording {
    QString text;
    QString cause;
};

Wording wording(CURLcode code, const QString& host, bool sent) {
    switch (code) {
    case CURLE_COULDNT_CONNECT:
        return {QStringLiteral("無法連線到簡訊閘道 %1").arg(host), QStringLiteral("無法連線")};
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return {QStringLiteral("找不到簡訊閘道的主機 %1，請檢查主機名稱與網路").arg(host),
                QStringLiteral("找不到主機")};
    case CURLE_OPERATION_TIMEDOUT:
        if (sent)
            return {QStringLiteral("簡訊閘道 %1 在時限內沒有回應").arg(host),
                    QStringLiteral("等候回應逾時")};
        return {QStringLiteral("連線到簡訊閘道 %1 逾時").arg(host), QStringLiteral("連線逾時")};
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
        return {QStringLiteral("無法與簡訊閘道 %1 建立加密連線").arg(host),
                QStringLiteral("加密連線失敗")};
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
        return {QStringLiteral("與簡訊閘道 %1 的連線在回應完成前中斷").arg(host),
                QStringLiteral("連線中斷")};
    case CURLE_TOO_MANY_REDIRECTS:
        return {QStringLiteral("簡訊閘道 %1 的轉址次數過多").arg(host), QStringLiteral("轉址過多")};
    default:
        return {QStringLiteral("與簡訊閘道 %1 的連線失敗").arg(host), QStringLiteral("連線失敗")};
    }
}

} // namespace

GatewayError transferFailure(CURLcode code, const QString& host, const QString& detail,
                             bool requestSent) {
    // Once a byte of the request was written, on whichever connection, the
    // gateway may have it, whatever the transfer ended with.
    const bool sent = requestSent;
    const Wording said = wording(code, host, sent);
    QString text = said.text + QStringLiteral("。");
    if (sent)
        text += QStringLiteral("請求已經送出，閘道可能已經收到。");
    // The library's English goes to the log only.
    qWarning("lunmark: gateway %s: %s", qUtf8Printable(host), qUtf8Printable(detail));
    return GatewayError(text, sent, said.cause, detail);
}

GatewayError statusFailure(long status, const QString& host) {
    return GatewayError(
        QStringLiteral("簡訊閘道 %1 回應錯誤狀態 HTTP %2，請求沒有完成。").arg(host).arg(status),
        true, QStringLiteral("HTTP %1").arg(status));
}

GatewayError repeatedRequest(const QString& host, int times) {
    return GatewayError(QStringLiteral("給簡訊閘道 %1 的請求被送出了 %2 次，閘道可能已經收到，"
                                       "請到發送結果頁確認。")
                            .arg(host)
                            .arg(times),
                        true, QStringLiteral("請求重複送出"));
}

} // namespace gateway
