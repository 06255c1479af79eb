#pragma once

#include "sms/gateway_config.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>

// A gateway played on raw sockets inside the test, for the ways a real one
// breaks that an HTTP server library will not play: it answers the credit
// request and every message with keep-alive, except the first message to
// one chosen number, on which it fails as told and then goes on as told.
// Every message request it reads is counted, whatever it does with it.
class RawGateway {
public:
    enum class Fault {
        CloseAfterRead,    // reads the request, closes without an answer byte
        PartialStatusLine, // "HTTP/1.1 2" and close
        ResetDuringBody,   // status, headers and part of the body, then a reset
    };
    enum class Then {
        Answer,            // later requests are answered again
        RefuseConnections, // stops listening: later connections are refused
        Hang,              // reads later requests and never answers them
    };

    RawGateway(Fault fault, Then then, std::string faultyPhone);
    ~RawGateway();
    RawGateway(const RawGateway&) = delete;
    RawGateway& operator=(const RawGateway&) = delete;

    // "127.0.0.1:PORT"
    QString host() const;

    // Both hosts here, with short time-outs.
    GatewayConfig config(std::chrono::milliseconds timeout) const;

    // How many message requests for phone (the movetel value) were read.
    int timesRead(const std::string& phone) const;
    // Every number read, with its count.
    std::map<std::string, int> allRead() const;

private:
    void serve();

    Fault m_fault;
    Then m_then;
    std::string m_faultyPhone;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::map<std::string, int> m_read;
    std::thread m_thread;
};
