#include "exclusive_file.h"

#include "error_kind.h"

#include <algorithm>
#include <windows.h>

namespace qv {
namespace {

HANDLE toWin(std::intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

} // namespace

bool ExclusiveFile::open(const char* path) {
    close();
    if (path == nullptr) {
        recordError(ErrorKind::RefusedSetting);
        return false;
    }
    // No sharing: a file another program holds gives ERROR_SHARING_VIOLATION,
    // a folder ERROR_ACCESS_DENIED, as the platform reports them.
    HANDLE h =
        CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        recordError(ErrorKind::NotAFile);
        return false;
    }
    if (GetFileSizeEx(h, &size) == FALSE) {
        DWORD error = GetLastError();
        CloseHandle(h);
        SetLastError(error);
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(h);
    m_size = static_cast<std::uint64_t>(size.QuadPart);
    return true;
}

void ExclusiveFile::close() {
    if (m_handle != kClosed)
        CloseHandle(toWin(m_handle));
    m_handle = kClosed;
    m_size = 0;
}

std::size_t ExclusiveFile::readAt(std::uint8_t* buffer, std::size_t length,
                                  std::uint64_t offset) const {
    std::size_t done = 0;
    while (isOpen() && done < length) {
        OVERLAPPED at{};
        std::uint64_t where = offset + done;
        at.Offset = static_cast<DWORD>(where & 0xFFFFFFFFU);
        at.OffsetHigh = static_cast<DWORD>(where >> 32);
        DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(length - done, MAXDWORD));
        DWORD got = 0;
        if (ReadFile(toWin(m_handle), buffer + done, wanted, &got, &at) == FALSE || got == 0)
            break;
        done += got;
    }
    return done;
}

} // namespace qv
