// The built libqv.so exports exactly the published names of the version
// script, and each of them is declared in the public header.

#include "elf_symbols.h"
#include "export_groups.h"

#include "qv.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace qv::test {
namespace {

TEST(Exports, LibraryExportsExactlyTheVersionScriptList) {
    std::set<std::string> published = versionScriptGlobals(QV_EXPORT_MAP);
    std::set<std::string> exported = definedDynamicSymbols(QV_LIBRARY_PATH);
    ASSERT_FALSE(published.empty());
    for (const std::string& name : published)
        EXPECT_TRUE(exported.contains(name)) << "not exported: " << name;
    for (const std::string& name : exported)
        EXPECT_TRUE(published.contains(name)) << "exported but not published: " << name;
}

// The name of a function the public header declares (checked at compile time).
#define DECLARED(f) (static_cast<void>(sizeof(&(f))), #f)

// The printer and customer-display exports.
std::set<std::string> declaredDeviceExports() {
    return {
        DECLARED(QV7Reset),     DECLARED(QV7LinFed),    DECLARED(QV7CsrLEnd),
        DECLARED(QV7MovCrs),    DECLARED(QV7PrnMod),    DECLARED(QV7Cut),
        DECLARED(QV7Eject),     DECLARED(QV7PrnBar),    DECLARED(QV7PrnBig),
        DECLARED(QV7Prn),       DECLARED(QV7PrnCod),    DECLARED(QV7Cover),
        DECLARED(QV7ChkSum),    DECLARED(QV7Sta),       DECLARED(QV7BitMap),
        DECLARED(QV3ChrSet),    DECLARED(QV71ChrSet),   DECLARED(QV9ChrSet),
        DECLARED(QV3ChrSpc),    DECLARED(QV71ChrSpc),   DECLARED(QV9ChrSpc),
        DECLARED(QV3Eject),     DECLARED(QV71Eject),    DECLARED(QV9Eject),
        DECLARED(QV3SetPag),    DECLARED(QV71SetPag),   DECLARED(QV9SetPag),
        DECLARED(QV3BitMap),    DECLARED(QV71BitMap),   DECLARED(QV9BitMap),
        DECLARED(QV3FulCut),    DECLARED(QV71FulCut),   DECLARED(QV3PatCut),
        DECLARED(QV71PatCut),   DECLARED(QV3Open),      DECLARED(QV71Open),
        DECLARED(QV3SetLin),    DECLARED(QV71SetLin),   DECLARED(QV3LinFed),
        DECLARED(QV71LinFed),   DECLARED(QV3SmlFed),    DECLARED(QV71SmlFed),
        DECLARED(QV3Prn),       DECLARED(QV71Prn),      DECLARED(QV3Reset),
        DECLARED(QV71Reset),    DECLARED(QV3PrnBig),    DECLARED(QV71PrnBig),
        DECLARED(QV71PrnPos),   DECLARED(QV71PrnBar),   DECLARED(QV71BitMapDP),
        DECLARED(QV71BitMapD),  DECLARED(QV9Reset),     DECLARED(QV9LinFed),
        DECLARED(QV9Cr),        DECLARED(QV9Tab),       DECLARED(QV9TabPos),
        DECLARED(QV9FntMod),    DECLARED(QV9Fnt79),     DECLARED(QV9Fnt99),
        DECLARED(QV9SetDWid),   DECLARED(QV9CanDWid),   DECLARED(QV9ChoDWid),
        DECLARED(QV9ChoDHig),   DECLARED(QV9DblHig),    DECLARED(QV9QuaHig),
        DECLARED(QV9SetHnd),    DECLARED(QV9CanHnd),    DECLARED(QV9ChoHnd),
        DECLARED(QV9PanSwi),    DECLARED(QV9ChnMod),    DECLARED(QV9Open),
        DECLARED(QV9Sta),       DECLARED(P20Reset),     DECLARED(P20Open),
        DECLARED(P20Cut),       DECLARED(P20CutFom),    DECLARED(P20Stamp),
        DECLARED(P20CanHed),    DECLARED(P20LinFed),    DECLARED(P20Prn),
        DECLARED(P20PrnBig),    DECLARED(P20SetHed),    DECLARED(P20Sta),
        DECLARED(P20IsOpen),    DECLARED(VFDSay),       DECLARED(VFDMovCrs),
        DECLARED(VFDCsrLef),    DECLARED(VFDCsrRit),    DECLARED(VFDCsrUp),
        DECLARED(VFDCsrDn),     DECLARED(VFDCsrLEnd),   DECLARED(VFDCsrREnd),
        DECLARED(VFDCsrHom),    DECLARED(VFDCsrBot),    DECLARED(VFDCls),
        DECLARED(VFDReset),     DECLARED(VFDTest),      DECLARED(VFDBriAdj),
        DECLARED(VFDBlnSet),    DECLARED(VFDCodSet),    DECLARED(VFDChrSet),
        DECLARED(VFDChrRev),    DECLARED(VFDOvrMod),    DECLARED(VFDVerScr),
        DECLARED(VFDHorScr),    DECLARED(VFDChrDnLoad), DECLARED(VFDDelDnLoad),
        DECLARED(VFDEblDnLoad), DECLARED(VFDSetWin),    DECLARED(VFDSelDec),
        DECLARED(VFDMacSet),    DECLARED(VFDMacRun),    DECLARED(VFDSetTim),
        DECLARED(VFDShwTim),    DECLARED(Lcd2Row),      DECLARED(Lcd2RowIns),
        DECLARED(Lcd4Row),      DECLARED(Lcd4RowIns),   DECLARED(LcdCls),
        DECLARED(LcdOpenBox),
    };
}

// The screen, drawing, graphic-display and cash-drawer exports.
std::set<std::string> declaredScreenExports() {
    return {
        DECLARED(jSetFont),    DECLARED(jSetFontN),     DECLARED(JTextOut),   DECLARED(jGetPixel),
        DECLARED(JGetRgb),     DECLARED(JGetCursorPos), DECLARED(DrawBottom), DECLARED(ScreenXRes),
        DECLARED(ScreenYRes),  DECLARED(D304Show),      DECLARED(GetD304),    DECLARED(D304Bmp),
        DECLARED(NxdfDrwOpen), DECLARED(NxdfDrwStatus), DECLARED(NxdfDrwEnd),
    };
}

TEST(Exports, HeaderDeclaresEveryPublishedName) {
    std::set<std::string> declared{
        DECLARED(QVOpenPort),    DECLARED(QVClosePort), DECLARED(QVOpenPort13),
        DECLARED(QVClosePort13), DECLARED(QVOpenIr),    DECLARED(QVSendPort),
        DECLARED(QVSendByte),    DECLARED(QVSendStr),   DECLARED(QVReadByte),
        DECLARED(QVReadPort),    DECLARED(QVReadStr),   DECLARED(QVPurgeComm),
        DECLARED(GetComErr),     DECLARED(GetComSta),   DECLARED(SetComSta),
        DECLARED(QVDtrOn),       DECLARED(QvOpnCls),    DECLARED(GetQvSta),
        DECLARED(GetQvStaNum),   DECLARED(QVIsLpt),     DECLARED(QVI17),
        DECLARED(WaitBaseSet),   DECLARED(jWait),       DECLARED(GetSec1000),
        DECLARED(WinErrCode),    DECLARED(WinVersion),  DECLARED(WinVersionRem),
        DECLARED(WinVersionx),
    };
    declared.merge(declaredDeviceExports());
    declared.merge(declaredScreenExports());
    EXPECT_EQ(declared, versionScriptGlobals(QV_EXPORT_MAP));
}

TEST(Exports, LoadedLibraryResolvesEveryPublishedName) {
    void* library = dlopen(QV_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const std::string& name : versionScriptGlobals(QV_EXPORT_MAP))
        EXPECT_NE(dlsym(library, name.c_str()), nullptr) << name;
    // Internal functions stay hidden.
    for (const char* hidden : {"_ZN2qv8TickWaitEi", "_ZN2qv5stateEv"})
        EXPECT_EQ(dlsym(library, hidden), nullptr) << hidden;
    dlclose(library);
}

TEST(Exports, NamesOfOneFunctionShareOneAddress) {
    void* library = dlopen(QV_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    std::map<void*, std::set<std::string>> namesByAddress;
    for (const std::string& name : versionScriptGlobals(QV_EXPORT_MAP))
        namesByAddress[dlsym(library, name.c_str())].insert(name);
    EXPECT_FALSE(namesByAddress.contains(nullptr));
    EXPECT_EQ(namesSharingAnAddress(namesByAddress), oneFunctionGroups());
    dlclose(library);
}

} // namespace
} // namespace qv::test
