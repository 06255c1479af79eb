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

    // The body of the answer to a GET of address. A failed transfer and an
    // answer whose status is not 2xx throw TransferError; the message names
    // host, the place the user knows the address by.
    QByteArray get(const QByteArray& address, const QString& host, Timeouts timeouts);

private:
    void configure(const QByteArray& address, Timeouts timeouts, QByteArray* body);

    CURL* m_handle = nullptr;
    char m_error[256] = {};
};
