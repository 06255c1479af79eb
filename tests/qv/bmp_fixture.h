#pragma once
// Monochrome BMP files made by the tests: a 62-byte header (file header,
// information header, two palette entries) and the rows bottom-up, each
// padded to a multiple of 4 bytes. A set bit in the file is a light dot.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace qv::test {

using Bytes = std::vector<std::uint8_t>;

inline void putLe(Bytes& b, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The file bytes of a width x height picture; dark(x, y) (y from the top)
// gives its dark dots. Padding bits within a row's last byte are written
// as padBits (light when set).
inline Bytes makeBmp(int width, int height, const std::function<bool(int, int)>& dark,
                     bool padBits = false) {
    const int rowBytes = (width + 7) / 8;
    const int stride = (rowBytes + 3) / 4 * 4;
    Bytes b(62, 0);
    b[0] = 'B';
    b[1] = 'M';
    putLe(b, 10, 62, 4);
    putLe(b, 14, 40, 4);
    putLe(b, 18, static_cast<std::uint32_t>(width), 4);
    putLe(b, 22, static_cast<std::uint32_t>(height), 4);
    putLe(b, 26, 1, 2);
    putLe(b, 28, 1, 2);
    putLe(b, 58, 0x00FFFFFF, 4); // palette: 0 black, 1 white
    for (int y = height - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(stride), 0);
        for (int x = 0; x < rowBytes * 8; ++x) {
            bool light = x < width ? !dark(x, y) : padBits;
            if (light)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    putLe(b, 2, static_cast<std::uint32_t>(b.size()), 4);
    return b;
}

// A folder of its own for one test's files, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qv-bmp-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("no temporary folder");
        m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string write(const std::string& name, const Bytes& bytes) const {
        std::string path = (m_path / name).string();
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::string path(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

} // namespace qv::test
