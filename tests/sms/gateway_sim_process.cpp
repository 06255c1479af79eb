#include "tests/sms/gateway_sim_process.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QThread>
#include <stdexcept>

namespace {

QString logPath(const QTemporaryDir& dir) {
    return dir.filePath(QStringLiteral("messages.jsonl"));
}

} // namespace

GatewaySimProcess::GatewaySimProcess(const QStringList& options) {
    m_process.setProgram(QStringLiteral(LUNMARK_GATEWAY_SIM));
    m_process.setArguments(QStringList{QStringLiteral("--port"), QStringLiteral("0"),
                                       QStringLiteral("--log"), logPath(m_dir)} +
                           options);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    // The simulator names its port once it listens; connections made after
    // that wait in its queue, so it need not be polled.
    static const QRegularExpression ready(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    const QDeadlineTimer deadline(10'000);
    while (m_port == 0 && !deadline.hasExpired()) {
        if (!m_process.canReadLine() && !m_process.waitForReadyRead(deadline.remainingTime()))
            break;
        const QRegularExpressionMatch match = ready.match(QString::fromUtf8(m_process.readLine()));
        if (match.hasMatch())
            m_port = match.captured(1).toInt();
    }
    if (m_port == 0)
        throw std::runtime_error("lunmark-gateway-sim did not start: " +
                                 m_process.errorString().toStdString());
}

GatewaySimProcess::~GatewaySimProcess() {
    m_process.kill();
    m_process.waitForFinished(5'000);
}

QString GatewaySimProcess::host() const {
    return QStringLiteral("127.0.0.1:%1").arg(m_port);
}

GatewayConfig gatewayConfigFor(const QString& host, std::chrono::milliseconds timeout) {
    GatewayConfig config;
    config.sendHost = host;
    config.accountHost = host;
    config.connectTimeout = timeout;
    config.timeout = timeout;
    return config;
}

GatewayConfig GatewaySimProcess::config(std::chrono::milliseconds timeout) const {
    return gatewayConfigFor(host(), timeout);
}

QList<QJsonObject> GatewaySimProcess::loggedMessages() const {
    QList<QJsonObject> messages;
    QFile file(logPath(m_dir));
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (!line.isEmpty())
            messages << QJsonDocument::fromJson(line).object();
    }
    return messages;
}

QList<QJsonObject> GatewaySimProcess::waitForMessages(int count,
                                                      std::chrono::milliseconds timeout) const {
    const QDeadlineTimer deadline(timeout);
    QList<QJsonObject> messages = loggedMessages();
    while (messages.size() < count && !deadline.hasExpired()) {
        QThread::msleep(20);
        messages = loggedMessages();
    }
    return messages;
}
