#include "sms/http_client.h"

#include "base/errors.h"
#include "sms/transfer_failure.h"

namespace {

size_t appendBody(char* data, size_t size, size_t count, void* body) {
    static_cast<QByteArray*>(body)->append(data, static_cast<qsizetype>(size * count));
    return size * count;
}

void initialiseCurlOnce() {
    static const CURLcode result = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (result != CURLE_OK)
        throw TransferError(QStringLiteral("網路元件無法啟動：%1")
                                .arg(QString::fromUtf8(curl_easy_strerror(result))));
}

// Counts what the transfer writes of its request. libcurl reports each
// written piece here, whichever connection it went out on, so a request
// written again on a new connection is seen too.
int countWritten(CURL*, curl_infotype type, char*, size_t size, void* written) {
    auto* counted = static_cast<HttpClient::Written*>(written);
    if (type == CURLINFO_HEADER_OUT) {
        // The request line and its headers go out in one piece.
        ++counted->requests;
        counted->bytes += static_cast<long>(size);
    } else if (type == CURLINFO_DATA_OUT) {
        counted->bytes += static_cast<long>(size);
    }
    return 0;
}

} // namespace

HttpClient::HttpClient() {
    initialiseCurlOnce();
    m_handle = curl_easy_init();
    if (!m_handle)
        throw TransferError(QStringLiteral("網路元件無法啟動：無法建立連線物件"));
}

HttpClient::~HttpClient() {
    curl_easy_cleanup(m_handle);
}

void HttpClient::configure(const QByteArray& address, Timeouts timeouts, Delivery delivery,
                           QByteArray* body) {
    const long once = delivery == Delivery::AtMostOnce ? 1L : 0L;
    curl_easy_setopt(m_handle, CURLOPT_URL, address.constData());
    curl_easy_setopt(m_handle, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(m_handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(m_handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(m_handle, CURLOPT_FRESH_CONNECT, once);
    curl_easy_setopt(m_handle, CURLOPT_FORBID_REUSE, once);
    curl_easy_setopt(m_handle, CURLOPT_FOLLOWLOCATION, 1L - once);
    curl_easy_setopt(m_handle, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(m_handle, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(timeouts.connect.count()));
    curl_easy_setopt(m_handle, CURLOPT_TIMEOUT_MS, static_cast<long>(timeouts.total.count()));
    // Time-outs must not use signals: the program may have other threads.
    curl_easy_setopt(m_handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_handle, CURLOPT_USERAGENT, "Lunmark");
    curl_easy_setopt(m_handle, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(m_handle, CURLOPT_ERRORBUFFER, m_error);
    curl_easy_setopt(m_handle, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(m_handle, CURLOPT_WRITEDATA, body);
    // The written request is counted through the debug hook, which libcurl
    // calls only in verbose mode; with a hook of its own nothing is printed.
    curl_easy_setopt(m_handle, CURLOPT_DEBUGFUNCTION, countWritten);
    curl_easy_setopt(m_handle, CURLOPT_DEBUGDATA, &m_written);
    curl_easy_setopt(m_handle, CURLOPT_VERBOSE, 1L);
}

HttpClient::Answer HttpClient::get(const QByteArray& address, const QString& host,
                                   Timeouts timeouts, Delivery delivery) {
    Answer answer;
    m_error[0] = '\0';
    m_written = {};
    configure(address, timeouts, delivery, &answer.body);
    const CURLcode result = curl_easy_perform(m_handle);
    curl_easy_setopt(m_handle, CURLOPT_WRITEDATA, nullptr);
    if (result != CURLE_OK) {
        const QString detail = QString::fromUtf8(m_error[0] ? m_error : curl_easy_strerror(result));
        throw gateway::transferFailure(result, host, detail, m_written.bytes > 0);
    }
    if (delivery == Delivery::AtMostOnce && m_written.requests > 1)
        throw gateway::repeatedRequest(host, m_written.requests);
    long status = 0;
    curl_easy_getinfo(m_handle, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299)
        throw gateway::statusFailure(status, host);
    const char* type = nullptr;
    if (curl_easy_getinfo(m_handle, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
        answer.contentType = type;
    return answer;
}
