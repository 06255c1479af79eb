// The built libqv.so exports exactly the published names of the version
// script, and each of them is declared in the public header.

#include "elf_symbols.h"

#include "qv.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

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

TEST(Exports, HeaderDeclaresEveryPublishedName) {
    const std::set<std::string> declared{
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

} // namespace
} // namespace qv::test
