#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <memory>

struct zip;
struct zip_file;

// Read access to the entries of a zip file through libzip, the container of
// an Office Open XML workbook. Entry names are matched without regard to
// case, as that format asks.
namespace members {

// One entry being inflated as it is read; reads end once libzip reports an
// error, and failed() then tells so.
class ZipEntry : public QIODevice {
public:
    explicit ZipEntry(zip_file* file);
    ~ZipEntry() override;
    ZipEntry(const ZipEntry&) = delete;
    ZipEntry& operator=(const ZipEntry&) = delete;

    bool isSequential() const override { return true; }
    bool failed() const { return m_failed; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    zip_file* m_file;
    bool m_atEnd = false;
    bool m_failed = false;
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
    // missing.
    std::unique_ptr<ZipEntry> open(const QString& name) const;

    // Throws FileError for the entry name with the reason.
    [[noreturn]] void fail(const QString& name, const QString& reason) const;

    const QString& path() const { return m_path; }

private:
    QString m_path;
    zip* m_archive = nullptr;
};

} // namespace members
