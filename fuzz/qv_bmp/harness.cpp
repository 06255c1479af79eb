// The BMP reader of QV's image exports: any bytes as a file, checked with the
// printers' and the graphic display's limits, and every row of an accepted
// file read back. An accepted file must hold the rows its header promises,
// and every row must come out with the bits beyond the width clear.

#include "bmp_file.h"
#include "d304.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t kHeaders = 54;

// One in-memory file, rewritten for each input and opened by its path.
const char* fileWith(const std::uint8_t* data, std::size_t size) {
    static const int fd = memfd_create("qv_bmp", MFD_CLOEXEC);
    static char path[64];
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    return path;
}

void readAll(const char* path, std::size_t size, qv::BmpLimits limits) {
    qv::BmpFile file;
    if (file.open(path, limits) != 0)
        return;
    if (file.width() == 0 || file.width() > limits.maxDots || file.height() == 0 ||
        file.height() > limits.maxRows ||
        kHeaders + std::uint64_t{file.height()} * file.stride() > size)
        std::abort(); // accepted a file the rules refuse
    qv::RowBuffer buffer{};
    const std::uint8_t spare = qv::paddingMask(file.width());
    for (unsigned k = 0; k < file.height(); ++k) {
        auto row = file.dotsRowFromTop(k, buffer);
        if (row.size() != file.rowBytes() || (row.back() & spare) != 0)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* path = fileWith(data, size);
    readAll(path, size, qv::kPrinterImageLimits);
    readAll(path, size,
            {static_cast<unsigned>(qv::kD304MaxDots), static_cast<unsigned>(qv::kD304MaxRows)});
    return 0;
}
