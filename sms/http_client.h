#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <curl/curl.h>

// A synchronous HTTP GET over one libcurl handle that lives as long as the
// object, so that consecutive requests to one host can share a connection.
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

    // How a request may use connections.
    enum class Delivery {
        // Reuses a kept connection and follows redirects; libcurl may write
        // the request a second time on a new connection when a kept one
        // turns out dead. For requests that cost nothing.
        Repeatable,
        // Goes out once on a connection of its own that is closed after the
        // answer: libcurl never retries a request on a fresh connection, and
        // a redirect is an answer, not a second request. For requests the
        // gateway charges.
        AtMostOnce,
    };

    struct Answer {
        QByteArray body;
        QByteArray contentType; // the Content-Type header; empty when there was none
    };

    // The answer to a GET of address. A failed transfer and an answer whose
    // status is not 2xx throw GatewayError, saying in Chinese what happened
    // to host (the name the user knows the address by) with libcurl's own
    // words as detail, and whether the request had gone out. An AtMostOnce
    // request that was nevertheless written more than once counts as gone
    // out and unanswered.
    Answer get(const QByteArray& address, const QString& host, Timeouts timeouts,
               Delivery delivery = Delivery::Repeatable);

    // What the last transfer wrote of its request, counted as it went out.
    struct Written {
        long bytes = 0;   // request bytes written, over every connection
        int requests = 0; // times the request line went out
    };

private:
    void configure(const QByteArray& address, Timeouts timeouts, Delivery delivery,
                   QByteArray* body);

    CURL* m_handle = nullptr;
    char m_error[256] = {};
    Written m_written;
};
