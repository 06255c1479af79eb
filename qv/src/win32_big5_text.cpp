// Big5 texts decoded with the platform's code page 950.

#include "big5_text.h"

#include <windows.h>

namespace qv {
namespace {

constexpr UINT kBig5 = 950;

// The character of the bytes at text (one or two), or empty when they make none.
bool decodeOne(const char* text, int length, std::u32string& out) {
    wchar_t wide[2] = {};
    int n = MultiByteToWideChar(kBig5, MB_ERR_INVALID_CHARS, text, length, wide, 2);
    if (n != 1)
        return false;
    out.push_back(static_cast<char32_t>(wide[0]));
    return true;
}

} // namespace

std::u32string decodeBig5(std::string_view bytes) {
    std::u32string out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        auto b = static_cast<unsigned char>(bytes[i]);
        bool lead = IsDBCSLeadByteEx(kBig5, b) != FALSE;
        if (lead && i + 1 < bytes.size() && decodeOne(bytes.data() + i, 2, out)) {
            i += 2;
            continue;
        }
        if (lead || !decodeOne(bytes.data() + i, 1, out))
            out.push_back(U'?');
        ++i;
    }
    return out;
}

} // namespace qv
