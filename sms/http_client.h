#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <curl/curl.h>

// A synchronous HTTP GET over one libcurl handle that lives as long as the
// object, so that consecutive requests to one host share a connection.
class HttpClient {
public:
    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    struct Timeouts {
        std::chrono::milliseconds connect;
        std::chrono::milliseconds total;
    };

    struct Answer {
        QByteArray body;
        QByteArray contentType; // the Content-Type header; empty when there was none
    };

    // The answer to a GET of address. A failed transfer and an answer whose
    // status is not 2xx throw GatewayError, saying in Chinese what happened
    // to host (the name the user knows the address by) with libcurl's own
    // words as detail, and whether the request had gone out.
    Answer get(const QByteArray& address, const QString& host, Timeouts timeouts);

private:
    void configure(const QByteArray& address, Timeouts timeouts, QByteArray* body);

    CURL* m_handle = nullptr;
    char m_error[256] = {};
};
