// The signature table. Each entry is checked against the declaration in
// qv.h at compile time: the same number of parameters, numbers where the
// header has int32_t and pointers where it has pointers, and a result kind
// that follows the header's result type.

#include "export_table.h"

#include "qv.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <type_traits>

namespace qvctl {

namespace {

template <class F> struct Signature;

template <class R, class... A> struct Signature<R(A...) noexcept> {
    static_assert(((std::is_pointer_v<A> || std::is_same_v<A, std::int32_t>)&&...),
                  "exports take 32-bit numbers and pointers");
    static constexpr std::array<bool, sizeof...(A)> pointers{std::is_pointer_v<A>...};
    static constexpr ResultKind result = std::is_same_v<R, const char*> ? ResultKind::Text
                                         : std::is_same_v<R, const uint8_t*>
                                             ? ResultKind::StatusBuffer
                                             : ResultKind::Integer;
};

template <class F>
consteval ExportInfo describe(std::string_view name, std::string_view params,
                              std::string_view paramNames, bool showsStatus = false) {
    using S = Signature<F>;
    if (params.size() != S::pointers.size())
        throw "parameter count differs from qv.h";
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (isPointerParam(params[i]) != S::pointers[i])
            throw "parameter kind differs from qv.h";
    }
    return {name, params, paramNames, S::result, showsStatus};
}

#define QVCTL_EXPORT(fn, ...) describe<decltype(fn)>(#fn, __VA_ARGS__)

constexpr ExportInfo kExports[] = {
    QVCTL_EXPORT(QVOpenPort, "it", "port settings"),
    QVCTL_EXPORT(QVClosePort, "i", "port"),
    QVCTL_EXPORT(QVOpenPort13, "t", "deviceName"),
    QVCTL_EXPORT(QVClosePort13, "", ""),
    QVCTL_EXPORT(QVOpenIr, "it", "port settings"),
    QVCTL_EXPORT(QVSendPort, "idi", "port data length"),
    QVCTL_EXPORT(QVSendByte, "ii", "port byte"),
    QVCTL_EXPORT(QVSendStr, "it", "port text"),
    QVCTL_EXPORT(QVReadByte, "i", "port"),
    QVCTL_EXPORT(QVReadPort, "iri", "port length"),
    QVCTL_EXPORT(QVReadStr, "is", "port count"),
    QVCTL_EXPORT(QVPurgeComm, "i", "port"),
    QVCTL_EXPORT(GetComErr, "ii", "port item"),
    QVCTL_EXPORT(GetComSta, "i", "port", true),
    QVCTL_EXPORT(SetComSta, "ii", "port function"),
    QVCTL_EXPORT(QVDtrOn, "i", "flag"),
    QVCTL_EXPORT(QvOpnCls, "i", "flag"),
    QVCTL_EXPORT(GetQvSta, "b", ""),
    QVCTL_EXPORT(GetQvStaNum, "i", "index"),
    QVCTL_EXPORT(QVIsLpt, "i", "port"),
    QVCTL_EXPORT(QVI17, "ii", "port byte"),
    QVCTL_EXPORT(WaitBaseSet, "i", "n"),
    QVCTL_EXPORT(jWait, "i", "n"),
    QVCTL_EXPORT(GetSec1000, "", ""),
    QVCTL_EXPORT(WinErrCode, "", ""),
    QVCTL_EXPORT(WinVersion, "i", "k"),
    QVCTL_EXPORT(WinVersionRem, "", ""),
    QVCTL_EXPORT(WinVersionx, "v", ""),
    QVCTL_EXPORT(QV7Reset, "i", "port"),
    QVCTL_EXPORT(QV7LinFed, "ii", "port n"),
    QVCTL_EXPORT(QV7CsrLEnd, "i", "port"),
    QVCTL_EXPORT(QV7MovCrs, "iii", "port a b"),
    QVCTL_EXPORT(QV7PrnMod, "iiii", "port a b c"),
    QVCTL_EXPORT(QV7Cut, "i", "port"),
    QVCTL_EXPORT(QV7Eject, "i", "port"),
    QVCTL_EXPORT(QV7PrnBar, "iiiiiit", "port a b c d e text"),
    QVCTL_EXPORT(QV7PrnBig, "iiiiiit", "port a b c d e text"),
    QVCTL_EXPORT(QV7Prn, "iiiiiit", "port a b c d e text"),
    QVCTL_EXPORT(QV7PrnCod, "iiiiiit", "port a b c d e text"),
    QVCTL_EXPORT(QV7Cover, "ii", "port mode"),
    QVCTL_EXPORT(QV7ChkSum, "i", "port", true),
    QVCTL_EXPORT(QV7Sta, "i", "port", true),
    QVCTL_EXPORT(QV7BitMap, "iiif", "port a b file", true),
    QVCTL_EXPORT(QV3ChrSet, "ii", "port a"),
    QVCTL_EXPORT(QV71ChrSet, "ii", "port a"),
    QVCTL_EXPORT(QV9ChrSet, "ii", "port a"),
    QVCTL_EXPORT(QV3ChrSpc, "ii", "port a"),
    QVCTL_EXPORT(QV71ChrSpc, "ii", "port a"),
    QVCTL_EXPORT(QV9ChrSpc, "ii", "port a"),
    QVCTL_EXPORT(QV3Eject, "i", "port"),
    QVCTL_EXPORT(QV71Eject, "i", "port"),
    QVCTL_EXPORT(QV9Eject, "i", "port"),
    QVCTL_EXPORT(QV3SetPag, "ii", "port a"),
    QVCTL_EXPORT(QV71SetPag, "ii", "port a"),
    QVCTL_EXPORT(QV9SetPag, "ii", "port a"),
    QVCTL_EXPORT(QV3BitMap, "iidi", "port m data n"),
    QVCTL_EXPORT(QV71BitMap, "iidi", "port m data n"),
    QVCTL_EXPORT(QV9BitMap, "iidi", "port m data n"),
    QVCTL_EXPORT(QV3FulCut, "i", "port"),
    QVCTL_EXPORT(QV71FulCut, "i", "port"),
    QVCTL_EXPORT(QV3PatCut, "i", "port"),
    QVCTL_EXPORT(QV71PatCut, "i", "port"),
    QVCTL_EXPORT(QV3Open, "i", "port"),
    QVCTL_EXPORT(QV71Open, "i", "port"),
    QVCTL_EXPORT(QV3SetLin, "ii", "port a"),
    QVCTL_EXPORT(QV71SetLin, "ii", "port a"),
    QVCTL_EXPORT(QV3LinFed, "ii", "port n"),
    QVCTL_EXPORT(QV71LinFed, "ii", "port n"),
    QVCTL_EXPORT(QV3SmlFed, "ii", "port n"),
    QVCTL_EXPORT(QV71SmlFed, "ii", "port n"),
    QVCTL_EXPORT(QV3Prn, "iti", "port text n"),
    QVCTL_EXPORT(QV71Prn, "iti", "port text n"),
    QVCTL_EXPORT(QV3Reset, "i", "port"),
    QVCTL_EXPORT(QV71Reset, "i", "port"),
    QVCTL_EXPORT(QV3PrnBig, "iti", "port text n"),
    QVCTL_EXPORT(QV71PrnBig, "iti", "port text n"),
    QVCTL_EXPORT(QV71PrnPos, "ii", "port a"),
    QVCTL_EXPORT(QV71PrnBar, "iitii", "port m text h w"),
    QVCTL_EXPORT(QV71BitMapDP, "ii", "port m"),
    QVCTL_EXPORT(QV71BitMapD, "if", "port file", true),
    QVCTL_EXPORT(QV9Reset, "i", "port"),
    QVCTL_EXPORT(QV9LinFed, "ii", "port n"),
    QVCTL_EXPORT(QV9Cr, "i", "port"),
    QVCTL_EXPORT(QV9Tab, "i", "port"),
    QVCTL_EXPORT(QV9TabPos, "it", "port positions"),
    QVCTL_EXPORT(QV9FntMod, "ii", "port a"),
    QVCTL_EXPORT(QV9Fnt79, "i", "port"),
    QVCTL_EXPORT(QV9Fnt99, "i", "port"),
    QVCTL_EXPORT(QV9SetDWid, "i", "port"),
    QVCTL_EXPORT(QV9CanDWid, "i", "port"),
    QVCTL_EXPORT(QV9ChoDWid, "ii", "port a"),
    QVCTL_EXPORT(QV9ChoDHig, "ii", "port a"),
    QVCTL_EXPORT(QV9DblHig, "i", "port"),
    QVCTL_EXPORT(QV9QuaHig, "i", "port"),
    QVCTL_EXPORT(QV9SetHnd, "i", "port"),
    QVCTL_EXPORT(QV9CanHnd, "i", "port"),
    QVCTL_EXPORT(QV9ChoHnd, "ii", "port a"),
    QVCTL_EXPORT(QV9PanSwi, "ii", "port a"),
    QVCTL_EXPORT(QV9ChnMod, "ii", "port a"),
    QVCTL_EXPORT(QV9Open, "ii", "port kind"),
    QVCTL_EXPORT(QV9Sta, "i", "port"),
    QVCTL_EXPORT(P20Reset, "i", "port"),
    QVCTL_EXPORT(P20Open, "i", "port"),
    QVCTL_EXPORT(P20Cut, "i", "port"),
    QVCTL_EXPORT(P20CutFom, "ii", "port k"),
    QVCTL_EXPORT(P20Stamp, "i", "port"),
    QVCTL_EXPORT(P20CanHed, "i", "port"),
    QVCTL_EXPORT(P20LinFed, "iii", "port k n"),
    QVCTL_EXPORT(P20Prn, "iiit", "port k n text"),
    QVCTL_EXPORT(P20PrnBig, "iiit", "port k n text"),
    QVCTL_EXPORT(P20SetHed, "ittttt", "port l1 l2 l3 l4 l5"),
    QVCTL_EXPORT(P20Sta, "i", "port", true),
    QVCTL_EXPORT(P20IsOpen, "i", "port", true),
    QVCTL_EXPORT(VFDSay, "iiit", "port a b text"),
    QVCTL_EXPORT(VFDMovCrs, "iii", "port a b"),
    QVCTL_EXPORT(VFDCsrLef, "i", "port"),
    QVCTL_EXPORT(VFDCsrRit, "i", "port"),
    QVCTL_EXPORT(VFDCsrUp, "i", "port"),
    QVCTL_EXPORT(VFDCsrDn, "i", "port"),
    QVCTL_EXPORT(VFDCsrLEnd, "i", "port"),
    QVCTL_EXPORT(VFDCsrREnd, "i", "port"),
    QVCTL_EXPORT(VFDCsrHom, "i", "port"),
    QVCTL_EXPORT(VFDCsrBot, "i", "port"),
    QVCTL_EXPORT(VFDCls, "i", "port"),
    QVCTL_EXPORT(VFDReset, "i", "port"),
    QVCTL_EXPORT(VFDTest, "i", "port"),
    QVCTL_EXPORT(VFDBriAdj, "ii", "port a"),
    QVCTL_EXPORT(VFDBlnSet, "ii", "port a"),
    QVCTL_EXPORT(VFDCodSet, "ii", "port a"),
    QVCTL_EXPORT(VFDChrSet, "ii", "port a"),
    QVCTL_EXPORT(VFDChrRev, "ii", "port a"),
    QVCTL_EXPORT(VFDOvrMod, "i", "port"),
    QVCTL_EXPORT(VFDVerScr, "i", "port"),
    QVCTL_EXPORT(VFDHorScr, "i", "port"),
    QVCTL_EXPORT(VFDChrDnLoad, "iip", "port a pattern"),
    QVCTL_EXPORT(VFDDelDnLoad, "i", "port"),
    QVCTL_EXPORT(VFDEblDnLoad, "ii", "port a"),
    QVCTL_EXPORT(VFDSetWin, "iiiiiii", "port a b c d e f"),
    QVCTL_EXPORT(VFDSelDec, "ii", "port a"),
    QVCTL_EXPORT(VFDMacSet, "i", "port"),
    QVCTL_EXPORT(VFDMacRun, "iii", "port a b"),
    QVCTL_EXPORT(VFDSetTim, "iii", "port a b"),
    QVCTL_EXPORT(VFDShwTim, "i", "port"),
    QVCTL_EXPORT(Lcd2Row, "iit", "port row text"),
    QVCTL_EXPORT(Lcd2RowIns, "iit", "port row text"),
    QVCTL_EXPORT(Lcd4Row, "iit", "port row text"),
    QVCTL_EXPORT(Lcd4RowIns, "iit", "port row text"),
    QVCTL_EXPORT(LcdCls, "i", "port"),
    QVCTL_EXPORT(LcdOpenBox, "i", "port"),
    QVCTL_EXPORT(jSetFont, "iiiitti", "y x weight height face text reinit"),
    QVCTL_EXPORT(jSetFontN, "iiiitti", "y x weight height face text reinit", true),
    QVCTL_EXPORT(JTextOut, "iit", "y x text"),
    QVCTL_EXPORT(jGetPixel, "ii", "y x"),
    QVCTL_EXPORT(JGetRgb, "i", "k"),
    QVCTL_EXPORT(JGetCursorPos, "i", "k"),
    QVCTL_EXPORT(DrawBottom, "iiiii", "top left bottom right style"),
    QVCTL_EXPORT(ScreenXRes, "", ""),
    QVCTL_EXPORT(ScreenYRes, "", ""),
    QVCTL_EXPORT(D304Show, "iiiitti", "a b charWidth charHeight face text reinit", true),
    QVCTL_EXPORT(GetD304, "ii", "row col"),
    QVCTL_EXPORT(D304Bmp, "iiif", "port a b file", true),
    QVCTL_EXPORT(NxdfDrwOpen, "", ""),
    QVCTL_EXPORT(NxdfDrwStatus, "", ""),
    QVCTL_EXPORT(NxdfDrwEnd, "", ""),
};

} // namespace

std::span<const ExportInfo> knownExports() {
    return kExports;
}

std::optional<ExportInfo> findExport(std::string_view name) {
    auto it = std::find_if(std::begin(kExports), std::end(kExports),
                           [&](const ExportInfo& e) { return e.name == name; });
    if (it == std::end(kExports))
        return std::nullopt;
    return *it;
}

namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Single-letter insertions, deletions and replacements that turn a into b,
// letter case ignored.
std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            std::size_t replace = diagonal + (lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1);
            row[j] = std::min({above + 1, row[j - 1] + 1, replace});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

std::vector<std::string_view> closestExports(std::string_view name, std::size_t count) {
    struct Near {
        std::size_t distance;
        std::string_view name;
    };
    std::vector<Near> near;
    for (const ExportInfo& e : kExports) {
        std::size_t d = editDistance(name, e.name);
        if (d <= std::max<std::size_t>(2, e.name.size() / 2))
            near.push_back({d, e.name});
    }
    std::stable_sort(near.begin(), near.end(),
                     [](const Near& a, const Near& b) { return a.distance < b.distance; });
    std::vector<std::string_view> out;
    for (std::size_t i = 0; i < near.size() && i < count; ++i)
        out.push_back(near[i].name);
    return out;
}

} // namespace qvctl
