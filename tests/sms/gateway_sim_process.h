#pragma once

#include "sms/gateway_config.h"

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// Settings that send every request to host, with one time-out for both the
// connection and the whole request.
GatewayConfig gatewayConfigFor(const QString& host, std::chrono::milliseconds timeout);

// lunmark-gateway-sim running as a child process on a free port of
// 127.0.0.1, with its message log in a temporary folder. The constructor
// returns once the simulator listens; the destructor stops it.
class GatewaySimProcess {
public:
    // options: further command-line switches, such as {"--status", "500"}.
    explicit GatewaySimProcess(const QStringList& options = {});
    ~GatewaySimProcess();
    GatewaySimProcess(const GatewaySimProcess&) = delete;
    GatewaySimProcess& operator=(const GatewaySimProcess&) = delete;

    // "127.0.0.1:PORT"
    QString host() const;

    // Settings that send every request to this simulator.
    GatewayConfig config(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

    // The messages the simulator has accepted, one object per log line.
    QList<QJsonObject> loggedMessages() const;

    // The log once it holds count messages; what it holds after timeout
    // otherwise. For a simulator that answers slowly: what it does after the
    // client gave up is only known once it has done it.
    QList<QJsonObject>
    waitForMessages(int count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};
