#include "sms/gateway_config.h"

#include "base/errors.h"
#include "db/database_target.h"
#include "sms/query_encoding.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

// QSettings turns a value holding a comma into a list; put it back together.
QString text(const QSettings& settings, const QString& key, const QString& fallback) {
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return fallback;
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", ")).trimmed();
    return value.toString().trimmed();
}

std::chrono::milliseconds seconds(const QSettings& settings, const QString& key,
                                  std::chrono::milliseconds fallback) {
    bool ok = false;
    const double value = text(settings, key, QString()).toDouble(&ok);
    if (!ok || value <= 0)
        return fallback;
    return std::chrono::milliseconds(static_cast<long long>(value * 1000));
}

} // namespace

QString GatewayConfig::hostFor(GatewayHost host) const {
    const bool send = host == GatewayHost::Send;
    const QString& name = send ? sendHost : accountHost;
    const QString key = send ? QStringLiteral("SendHost") : QStringLiteral("AccountHost");
    if (name.contains(QStringLiteral("://")) && !gateway::hasWebScheme(name))
        throw TransferError(QStringLiteral("%1 的 [Gateway] %2=%3 無法使用：簡訊閘道的位址只能以 "
                                           "http:// 或 https:// 開頭，或只寫主機名稱。")
                                .arg(QDir::toNativeSeparators(source), key, name));
    if (!name.isEmpty())
        return name;
    throw TransferError(
        QStringLiteral("尚未設定簡訊閘道的%1。請在 %2 的 [Gateway] 區段設定 %3"
                       "（主機名稱，可加上 :埠號），例如 %3=sms.example.com")
            .arg(send ? QStringLiteral("傳送主機") : QStringLiteral("帳號主機"),
                 QDir::toNativeSeparators(source),
                 send ? QStringLiteral("SendHost") : QStringLiteral("AccountHost")));
}

std::optional<QRegularExpression> GatewayConfig::refusal() const {
    if (refusedAnswer.isEmpty())
        return std::nullopt;
    QRegularExpression expression(refusedAnswer);
    if (!expression.isValid())
        throw TransferError(QStringLiteral("%1 的 [Gateway] RefusedAnswer=%2 不是有效的規則運算式"
                                           "（第 %3 個字附近有誤），簡訊沒有送出。請修正後再發送。")
                                .arg(QDir::toNativeSeparators(source), refusedAnswer)
                                .arg(expression.patternErrorOffset() + 1));
    return expression;
}

QString GatewayConfig::iniPath() {
    return db::settingsFilePath();
}

GatewayConfig GatewayConfig::load(const QString& path) {
    GatewayConfig config;
    config.source = path;
    const QSettings settings(path, QSettings::IniFormat);
    const QString section = QStringLiteral("Gateway/");
    config.sendHost = text(settings, section + "SendHost", QString());
    config.accountHost = text(settings, section + "AccountHost", QString());
    config.scheduleDateFormat =
        text(settings, section + "ScheduleDateFormat", config.scheduleDateFormat);
    config.scheduleTimeFormat =
        text(settings, section + "ScheduleTimeFormat", config.scheduleTimeFormat);
    config.connectTimeout = seconds(settings, section + "ConnectTimeout", config.connectTimeout);
    config.timeout = seconds(settings, section + "Timeout", config.timeout);
    config.servicePhone = text(settings, section + "ServicePhone", QString());
    // Kept untrimmed, as blanks may belong to the expression; a value QSettings
    // split at its commas is put back together as written.
    const QVariant refused = settings.value(section + "RefusedAnswer");
    config.refusedAnswer = refused.typeId() == QMetaType::QStringList
                               ? refused.toStringList().join(QLatin1Char(','))
                               : refused.toString();
    return config;
}
