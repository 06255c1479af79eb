#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// lunmark_db_peer, the second program of the tests that share a database
// file (see db_peer.cpp for its commands).
class PeerProcess {
public:
    // Runs a command on database to its end; its output, trimmed. Fails the
    // test when the peer fails.
    static QString run(const QString& database, const QStringList& command);

    // Starts a command and returns at once.
    PeerProcess(const QString& database, const QStringList& command);
    ~PeerProcess();
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    // Waits until the peer has written a line holding text.
    bool waitForLine(const QString& text, int milliseconds = 10000);
    // Waits for its end; its output, trimmed. Fails the test on failure.
    QString finish();
    QProcess& process() { return m_process; }

private:
    QProcess m_process;
    QByteArray m_output;
};
