// One jSetFont call drawing a 20-character Big5 line onto the screen picture
// with the font the first call made (reinit 0), as a POS program writes a
// line of a receipt preview: decoding the text, loading each glyph and
// setting its dots. Prints the time per call and per character.

#include "qv.h"

#include <benchmark/benchmark.h>
#include <iconv.h>
#include <string>

namespace {

// The line in Big5 (code page 950), converted once from its UTF-8 spelling.
std::string big5Line() {
    std::string utf8 = "會員管理系統測試文字顯示速度檢查中文字型";
    std::string out(utf8.size(), '\0');
    iconv_t cd = iconv_open("CP950", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    char* in = utf8.data();
    std::size_t inLeft = utf8.size();
    char* to = out.data();
    std::size_t toLeft = out.size();
    std::size_t r = iconv(cd, &in, &inLeft, &to, &toLeft);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1))
        return {};
    out.resize(out.size() - toLeft);
    return out;
}

void BM_SetFontBig5Line(benchmark::State& st) {
    const std::string line = big5Line();
    if (line.size() != 40) {
        st.SkipWithError("no CP950 converter");
        return;
    }
    jSetFont(10, 10, 400, 24, "AR PL UMing TW", "", 1); // makes the screen and its font
    for (auto _ : st)
        benchmark::DoNotOptimize(jSetFont(10, 10, 400, 24, "AR PL UMing TW", line.c_str(), 0));
    st.counters["chars"] =
        benchmark::Counter(static_cast<double>(st.iterations()) * 20, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SetFontBig5Line)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
