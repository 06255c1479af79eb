#include "big5_text.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <iconv.h>

namespace qv {
namespace {

class Converter {
public:
    Converter() : m_cd(iconv_open("UTF-32LE", "CP950")) {}
    ~Converter() {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1)); }
    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

char32_t readUtf32Le(const unsigned char* p) {
    return static_cast<char32_t>(p[0]) | static_cast<char32_t>(p[1]) << 8 |
           static_cast<char32_t>(p[2]) << 16 | static_cast<char32_t>(p[3]) << 24;
}

// Converts as much of in as iconv takes in one go; appends the characters.
// Returns false when iconv stopped at a byte it cannot convert.
bool convertRun(iconv_t cd, char*& in, std::size_t& inLeft, std::u32string& out) {
    std::array<unsigned char, 1024> buffer{};
    for (;;) {
        char* outPtr = reinterpret_cast<char*>(buffer.data());
        std::size_t outLeft = buffer.size();
        std::size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        std::size_t produced = buffer.size() - outLeft;
        for (std::size_t i = 0; i + 4 <= produced; i += 4)
            out.push_back(readUtf32Le(buffer.data() + i));
        if (r != static_cast<std::size_t>(-1))
            return true;
        if (errno != E2BIG)
            return false;
    }
}

} // namespace

std::u32string decodeBig5(std::string_view bytes) {
    std::u32string out;
    // One converter for the life of the thread: opening one loads the code
    // page's tables, which costs more than converting a line.
    thread_local Converter converter;
    if (!converter.valid()) {
        // Without the code page only the ASCII half can be read.
        for (char c : bytes)
            out.push_back(static_cast<unsigned char>(c) < 0x80 ? static_cast<char32_t>(c) : U'?');
        return out;
    }
    iconv(converter.get(), nullptr, nullptr, nullptr, nullptr); // back to the initial state
    std::string copy(bytes);
    char* in = copy.data();
    std::size_t inLeft = copy.size();
    while (inLeft > 0) {
        if (convertRun(converter.get(), in, inLeft, out))
            break;
        out.push_back(U'?');
        ++in;
        --inLeft;
        iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

} // namespace qv
