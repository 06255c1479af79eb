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

void HttpClient::configure(const QByteArray& address, Timeouts timeouts, QByteArray* body) {
    curl_easy_setopt(m_handle, CURLOPT_URL, address.constData());
    curl_easy_setopt(m_handle, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(m_handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(m_handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(m_handle, CURLOPT_FOLLOWLOCATION, 1L);
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
}

HttpClient::Answer HttpClient::get(const QByteArray& address, const QString& host,
                                   Timeouts timeouts) {
    Answer answer;
    m_error[0] = '\0';
    configure(address, timeouts, &answer.body);
    const CURLcode result = curl_easy_perform(m_handle);
    curl_easy_setopt(m_handle, CURLOPT_WRITEDATA, nullptr);
    if (result != CURLE_OK) {
        long requestBytes = 0;
        curl_easy_getinfo(m_handle, CURLINFO_REQUEST_SIZE, &requestBytes);
        const QString detail = QString::fromUtf8(m_error[0] ? m_error : curl_easy_strerror(result));
        throw gateway::transferFailure(result, host, detail, requestBytes > 0);
    }
    long status = 0;
    curl_easy_getinfo(m_handle, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299)
        throw gateway::statusFailure(status, host);
    const char* type = nullptr;
    if (curl_easy_getinfo(m_handle, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
        answer.contentType = type;
    return answer;
}
