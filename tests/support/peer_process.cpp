#include "tests/support/peer_process.h"

#include <QDeadlineTimer>
#include <gtest/gtest.h>

PeerProcess::PeerProcess(const QString& database, const QStringList& command) {
    m_process.start(QStringLiteral(LUNMARK_DB_PEER), QStringList{database} + command);
    EXPECT_TRUE(m_process.waitForStarted()) << m_process.errorString().toStdString();
}

PeerProcess::~PeerProcess() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

QString PeerProcess::run(const QString& database, const QStringList& command) {
    PeerProcess peer(database, command);
    return peer.finish();
}

bool PeerProcess::waitForLine(const QString& text, int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (!QString::fromUtf8(m_output).contains(text)) {
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(50);
        m_output += m_process.readAllStandardOutput();
    }
    return true;
}

QString PeerProcess::finish() {
    const bool finished = m_process.waitForFinished(60000);
    m_output += m_process.readAllStandardOutput();
    EXPECT_TRUE(finished) << "the peer did not finish";
    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_process.exitCode(), 0) << m_process.readAllStandardError().toStdString();
    return QString::fromUtf8(m_output).trimmed();
}
