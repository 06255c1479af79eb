#pragma once
// Reading a shared library's exported symbols and a linker version script's
// global names, to compare the two.

#include <set>
#include <string>

namespace qv::test {

// Names of the global and weak symbols a 64-bit ELF file defines in its
// dynamic symbol table. Throws std::runtime_error when the file is not one.
std::set<std::string> definedDynamicSymbols(const std::string& path);

// Names listed under "global:" in a version script.
std::set<std::string> versionScriptGlobals(const std::string& path);

} // namespace qv::test
