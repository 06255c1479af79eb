#pragma once

#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// One message the simulator accepted, decoded to UTF-8.
struct SentMessage {
    std::string phone;
    std::string name;
    std::string text;
    std::optional<std::string> schedule;
    int peerPort = 0; // the client's port: equal ports mean one kept connection
};

// The credit and the messages of one run, shared by the server's threads.
class GatewayState {
public:
    GatewayState(long credit, const std::string& logPath);

    // Takes the message's parts off the credit, appends it to the log and
    // keeps it for the results page. False, and nothing recorded, when the
    // credit left does not cover them.
    bool accept(const SentMessage& message);

    // The parts a text of UTF-8 takes: 70 characters go in one message, a
    // longer text in parts of 67.
    static long parts(const std::string& utf8);

    // Counts a send request as it arrives and returns its number (1 for the
    // first), before it is answered.
    long arrive();

    long credit() const;
    std::vector<SentMessage> sent() const;

private:
    void writeLogLine(const SentMessage& message);

    mutable std::mutex m_mutex;
    long m_credit;
    long m_arrived = 0;
    std::ofstream m_log;
    std::vector<SentMessage> m_sent;
};
