#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

struct zip;
struct zip_file;

// Read access to the entries of a zip file through libzip, the container of
// an Office Open XML workbook. Entry names are matched without regard to
// case, as that format asks.
namespace members {

// One entry being inflated as it is read; reads end once libzip reports an
// error, and failed() then tells so. An entry may be inflated ahead, on a
// thread of its own a few chunks in front of the reader: the reader then
// waits for the inflating only when it is the faster of the two.
class ZipEntry : public QIODevice {
public:
    enum class Inflating { AsRead, Ahead };

    ZipEntry(zip_file* file, Inflating inflating);
    ~ZipEntry() override;
    ZipEntry(const ZipEntry&) = delete;
    ZipEntry& operator=(const ZipEntry&) = delete;

    bool isSequential() const override { return true; }
    // Whether reading has come to a part of the entry that could not be
    // inflated.
    bool failed() const { return m_failed; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    // Inflates up to maxSize bytes into data: their count, 0 at the end, -1
    // with the reason in error on a fault.
    qint64 inflate(char* data, qint64 maxSize, QString& error);
    qint64 readAhead(char* data, qint64 maxSize);
    void inflateAhead(); // the inflating thread

    zip_file* m_file;
    bool m_atEnd = false;
    bool m_failed = false;

    // Inflating ahead: chunks inflated and not yet read, handed over under
    // m_mutex, and the chunk being read. Each side wakes the other only
    // when it waits, and the inflating side only once the reader has
    // taken half the chunks: a few wake-ups for many chunks.
    std::mutex m_mutex;
    std::condition_variable m_readable;
    std::condition_variable m_writable;
    std::deque<QByteArray> m_ready;
    bool m_readerWaits = false;
    bool m_inflaterWaits = false;
    bool m_inflatedAll = false;
    bool m_stopping = false;
    QString m_aheadError; // empty unless inflating failed
    QByteArray m_chunk;
    qsizetype m_chunkRead = 0;
    std::thread m_inflating;
};

class ZipArchive {
public:
    // Opens the zip file at path. Throws FileError naming the file.
    explicit ZipArchive(const QString& path);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool contains(const QString& name) const;

    // The whole uncompressed entry. Throws FileError when it is missing or
    // cannot be read.
    QByteArray read(const QString& name) const;

    // The entry as a sequential device that inflates it while it is read,
    // so that a large entry is never held whole. Throws FileError when it is
    // missing. While an entry inflates ahead, the archive may be used for
    // nothing else but fail().
    std::unique_ptr<ZipEntry>
    open(const QString& name, ZipEntry::Inflating inflating = ZipEntry::Inflating::AsRead) const;

    // Throws FileError for the entry name with the reason.
    [[noreturn]] void fail(const QString& name, const QString& reason) const;

    const QString& path() const { return m_path; }

private:
    QString m_path;
    zip* m_archive = nullptr;
};

} // namespace members
