#include "big5_text.h"

#include <cerrno>
#include <iconv.h>

namespace big5_text {
namespace {

// Converts all of input, putting substitute in place of each sequence the
// conversion refuses and skipping one input byte (or character) past it.
std::string convert(const char* to, const char* from, const std::string& input,
                    const std::string& substitute, bool skipUtf8Character) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return input;
    std::string output;
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<size_t>(out - buffer));
        if (result != static_cast<size_t>(-1) || errno == E2BIG)
            continue; // done, or the buffer is full and goes on in the next round
        output += substitute;
        size_t skip = 1;
        while (skipUtf8Character && skip < inLeft && (in[skip] & 0xC0) == 0x80)
            ++skip;
        in += skip;
        inLeft -= skip;
    }
    iconv_close(cd);
    return output;
}

} // namespace

std::string toUtf8(const std::string& big5) {
    return convert("UTF-8", "CP950", big5, "\xEF\xBF\xBD", false);
}

std::string fromUtf8(const std::string& utf8) {
    return convert("CP950", "UTF-8", utf8, "?", true);
}

} // namespace big5_text
