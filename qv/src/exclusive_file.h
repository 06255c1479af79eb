#pragma once
// A file opened for reading and held for this reader alone: another program
// holding it makes the open fail, and nobody else opens it meanwhile. Only
// files on disk are taken; folders, FIFOs and devices are refused. Each
// platform has its own (posix_exclusive_file.cpp, win32_exclusive_file.cpp).

#include <cstddef>
#include <cstdint>

namespace qv {

class ExclusiveFile {
public:
    ExclusiveFile() = default;
    ExclusiveFile(const ExclusiveFile&) = delete;
    ExclusiveFile& operator=(const ExclusiveFile&) = delete;
    ~ExclusiveFile() { close(); }

    // Opens path; false (the reason recorded as the platform's last error)
    // when it is missing, held by another opener, or not a file.
    bool open(const char* path);
    void close();
    bool isOpen() const { return m_handle != kClosed; }

    // The file's size when it was opened.
    std::uint64_t size() const { return m_size; }
    // Reads up to length bytes at offset; the count read (short at the end).
    std::size_t readAt(std::uint8_t* buffer, std::size_t length, std::uint64_t offset) const;

private:
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t m_handle = kClosed; // the platform's descriptor or handle
    std::uint64_t m_size = 0;
};

} // namespace qv
