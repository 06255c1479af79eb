#pragma once
// 1-bit BMP files made by the printer image tests: a 14-byte file header, a
// 40-byte bitmap header and a 2-colour palette (62 bytes), then the rows
// bottom-up, each padded to a multiple of 4 bytes.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace qv::test {

inline void putLe(std::vector<std::uint8_t>& out, std::size_t offset, std::uint32_t value,
                  int size) {
    for (int i = 0; i < size; ++i)
        out[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

struct BmpLayout {
    std::int32_t width = 0;             // stored as a 32-bit field, as a BMP does
    std::optional<std::int32_t> height; // the number of rows unless set
    // Rows as stored in the file, top of the image first, each as many bytes
    // as the row has (the padding to 4 bytes is added with padByte).
    std::vector<std::vector<std::uint8_t>> rowsTopFirst;
    std::uint8_t padByte = 0xA5;
    std::uint8_t firstByte = 'B';
};

inline std::vector<std::uint8_t> bmpBytes(const BmpLayout& layout) {
    constexpr std::size_t kHeaders = 62;
    std::size_t stride = 0;
    for (const auto& row : layout.rowsTopFirst)
        stride = std::max(stride, (row.size() + 3) / 4 * 4);
    std::vector<std::uint8_t> out(kHeaders, 0);
    out[0] = layout.firstByte;
    out[1] = 'M';
    const std::int32_t height =
        layout.height.value_or(static_cast<std::int32_t>(layout.rowsTopFirst.size()));
    putLe(out, 10, kHeaders, 4);
    putLe(out, 14, 40, 4);
    putLe(out, 18, static_cast<std::uint32_t>(layout.width), 4);
    putLe(out, 22, static_cast<std::uint32_t>(height), 4);
    putLe(out, 26, 1, 2);        // planes
    putLe(out, 28, 1, 2);        // bits per pixel
    putLe(out, 46, 2, 4);        // colours used
    putLe(out, 58, 0xFFFFFF, 4); // palette: black, white
    for (auto it = layout.rowsTopFirst.rbegin(); it != layout.rowsTopFirst.rend(); ++it) {
        std::vector<std::uint8_t> row = *it;
        row.resize(stride, layout.padByte);
        out.insert(out.end(), row.begin(), row.end());
    }
    putLe(out, 2, static_cast<std::uint32_t>(out.size()), 4);
    return out;
}

// A file in the test's own temporary folder, removed with the object.
class TempFile {
public:
    explicit TempFile(const std::vector<std::uint8_t>& bytes) {
        static int counter = 0;
        m_path = std::filesystem::path(testing::TempDir()) /
                 ("qv_bmp_" + std::to_string(getpid()) + "_" + std::to_string(++counter) + ".bmp");
        m_name = m_path.string();
        std::ofstream out(m_path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    const char* path() const { return m_name.c_str(); }

private:
    std::filesystem::path m_path;
    std::string m_name; // the path as the exports take it
};

} // namespace qv::test
