#include "formats/zip_archive.h"

#include "base/errors.h"

#include <QFile>
#include <cstring>
#include <zip.h>

namespace members {
namespace {

// What a libzip error code means for the user, in Chinese.
QString zipReason(int code) {
    switch (code) {
    case ZIP_ER_NOZIP:
        return QStringLiteral("不是 zip 壓縮檔，也就不是 .xlsx 活頁簿");
    case ZIP_ER_ZLIB:
    case ZIP_ER_CRC:
    case ZIP_ER_INCONS:
    case ZIP_ER_EOF:
        return QStringLiteral("壓縮的內容已損壞");
    case ZIP_ER_COMPNOTSUPP:
        return QStringLiteral("使用了不支援的壓縮方式");
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        return QStringLiteral("活頁簿有密碼保護");
    case ZIP_ER_NOENT:
        return QStringLiteral("找不到檔案");
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
        return QStringLiteral("無法讀取檔案內容");
    case ZIP_ER_MEMORY:
        return QStringLiteral("記憶體不足");
    default:
        return QStringLiteral("壓縮檔已損壞");
    }
}

// The Chinese reason, with libzip's own text as the detail.
QString zipErrorText(const zip_error_t* error) {
    return QStringLiteral("%1（原文：%2）")
        .arg(zipReason(zip_error_code_zip(error)),
             QString::fromUtf8(zip_error_strerror(const_cast<zip_error_t*>(error))));
}

QString libzipError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    QString text = zipErrorText(&error);
    zip_error_fini(&error);
    return text;
}

} // namespace

namespace {

// The bytes inflated at a time ahead of the reader, and how many such
// chunks may wait for it: enough to keep both threads busy, little enough
// to stay in the processor's cache.
constexpr qint64 kAheadChunk = 1 << 16;
constexpr size_t kChunksAhead = 8;

} // namespace

ZipEntry::ZipEntry(zip_file* file, Inflating inflating) : m_file(file) {
    QIODevice::open(ReadOnly);
    if (inflating == Inflating::Ahead)
        m_inflating = std::thread([this] { inflateAhead(); });
}

ZipEntry::~ZipEntry() {
    if (m_inflating.joinable()) {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_writable.notify_all();
        m_inflating.join();
    }
    zip_fclose(m_file);
}

qint64 ZipEntry::inflate(char* data, qint64 maxSize, QString& error) {
    const zip_int64_t count = zip_fread(m_file, data, static_cast<zip_uint64_t>(maxSize));
    if (count < 0)
        error = zipErrorText(zip_file_get_error(m_file));
    return count;
}

void ZipEntry::inflateAhead() {
    for (;;) {
        QByteArray chunk(kAheadChunk, Qt::Uninitialized);
        QString error;
        const qint64 count = inflate(chunk.data(), kAheadChunk, error);
        if (count > 0)
            chunk.truncate(count);
        std::unique_lock lock(m_mutex);
        m_inflaterWaits = true;
        m_writable.wait(lock, [this] { return m_ready.size() < kChunksAhead || m_stopping; });
        m_inflaterWaits = false;
        if (m_stopping)
            return;
        if (count > 0)
            m_ready.push_back(std::move(chunk));
        else {
            m_inflatedAll = true;
            m_aheadError = error;
        }
        if (m_readerWaits)
            m_readable.notify_one();
        if (count <= 0)
            return;
    }
}

qint64 ZipEntry::readAhead(char* data, qint64 maxSize) {
    if (m_chunkRead >= m_chunk.size()) {
        std::unique_lock lock(m_mutex);
        m_readerWaits = true;
        m_readable.wait(lock, [this] { return !m_ready.empty() || m_inflatedAll; });
        m_readerWaits = false;
        if (m_ready.empty()) { // all inflated, and all read
            if (!m_aheadError.isEmpty()) {
                setErrorString(m_aheadError);
                m_failed = true;
            }
            return 0;
        }
        m_chunk = std::move(m_ready.front());
        m_ready.pop_front();
        m_chunkRead = 0;
        if (m_inflaterWaits && m_ready.size() <= kChunksAhead / 2)
            m_writable.notify_one();
    }
    const qint64 count = qMin(maxSize, qint64(m_chunk.size() - m_chunkRead));
    std::memcpy(data, m_chunk.constData() + m_chunkRead, size_t(count));
    m_chunkRead += count;
    return count;
}

qint64 ZipEntry::readData(char* data, qint64 maxSize) {
    if (m_atEnd)
        return -1;
    if (maxSize <= 0)
        return 0;
    qint64 count = 0;
    if (m_inflating.joinable()) {
        count = readAhead(data, maxSize);
    } else {
        QString error;
        count = inflate(data, maxSize, error);
        if (count < 0) {
            setErrorString(error);
            m_failed = true;
        }
    }
    if (count <= 0) {
        m_atEnd = true;
        return -1;
    }
    return count;
}

ZipArchive::ZipArchive(const QString& path) : m_path(path) {
    int code = 0;
    m_archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (m_archive == nullptr)
        throw FileError(QStringLiteral("無法讀取檔案 %1: %2").arg(path, libzipError(code)));
}

ZipArchive::~ZipArchive() {
    zip_discard(m_archive);
}

void ZipArchive::fail(const QString& name, const QString& reason) const {
    throw FileError(QStringLiteral("無法讀取檔案 %1 (%2): %3").arg(m_path, name, reason));
}

bool ZipArchive::contains(const QString& name) const {
    return zip_name_locate(m_archive, name.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
}

std::unique_ptr<ZipEntry> ZipArchive::open(const QString& name,
                                           ZipEntry::Inflating inflating) const {
    zip_file_t* file = zip_fopen(m_archive, name.toUtf8().constData(), ZIP_FL_NOCASE);
    if (file == nullptr)
        fail(name, zipErrorText(zip_get_error(m_archive)));
    return std::make_unique<ZipEntry>(file, inflating);
}

QByteArray ZipArchive::read(const QString& name) const {
    const std::unique_ptr<ZipEntry> entry = open(name);
    QByteArray bytes = entry->readAll();
    if (entry->failed())
        fail(name, entry->errorString());
    return bytes;
}

} // namespace members
