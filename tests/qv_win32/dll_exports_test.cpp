// The built qv.dll files, 32-bit and 64-bit, read with objdump: each exports
// exactly the published names of exports.map, names of one function at one
// address, and imports only Windows' own system DLLs (the compiler's runtime
// is linked in).

#include "elf_symbols.h"
#include "export_groups.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace qv::test {
namespace {

struct PeTables {
    std::string format;
    std::map<std::string, std::string> exportAddress; // name -> RVA
    std::set<std::string> imports;                    // DLL names, upper case
};

std::string objdump(const std::string& file) {
    std::string command = std::string(QV_OBJDUMP) + " -p '" + file + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    if (pipe == nullptr)
        return out;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
        out.append(buffer.data(), n);
    return out;
}

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

PeTables readTables(const std::string& file) {
    static const std::regex format(R"(file format (\S+))");
    static const std::regex import(R"(^\s*DLL Name: (\S+))");
    static const std::regex address(R"(^\s*\[\s*(\d+)\] \+base\[\s*\d+\] ([0-9a-f]+) Export RVA)");
    static const std::regex name(R"(^\s*\[\s*(\d+)\] (\S+)$)");
    PeTables tables;
    std::map<std::string, std::string> addressByIndex;
    std::istringstream in(objdump(file));
    bool inNames = false;
    std::smatch m;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_search(line, m, format))
            tables.format = m[1];
        else if (std::regex_search(line, m, import))
            tables.imports.insert(upper(m[1]));
        else if (std::regex_search(line, m, address))
            addressByIndex[m[1]] = m[2];
        else if (line.find("[Ordinal/Name Pointer] Table") != std::string::npos)
            inNames = true;
        else if (inNames && std::regex_search(line, m, name))
            tables.exportAddress[m[2]] = addressByIndex[m[1]];
        else if (line.empty())
            inNames = false;
    }
    return tables;
}

struct DllCase {
    const char* path;
    const char* format;
};

const DllCase kDlls[] = {
    {QV_DLL32, "pei-i386"},
    {QV_DLL64, "pei-x86-64"},
};

TEST(Exports, EachDllExportsExactlyThePublishedNames) {
    std::set<std::string> published = versionScriptGlobals(QV_EXPORT_MAP);
    ASSERT_EQ(published.size(), 164U);
    for (const DllCase& dll : kDlls) {
        SCOPED_TRACE(dll.path);
        PeTables tables = readTables(dll.path);
        EXPECT_EQ(tables.format, dll.format);
        std::set<std::string> exported;
        for (const auto& [name, rva] : tables.exportAddress)
            exported.insert(name);
        EXPECT_EQ(exported, published);
    }
}

TEST(Exports, NamesOfOneFunctionShareOneAddress) {
    for (const DllCase& dll : kDlls) {
        SCOPED_TRACE(dll.path);
        PeTables tables = readTables(dll.path);
        std::map<std::string, std::set<std::string>> namesByAddress;
        for (const auto& [name, rva] : tables.exportAddress) {
            EXPECT_FALSE(rva.empty()) << name;
            namesByAddress[rva].insert(name);
        }
        EXPECT_EQ(namesSharingAnAddress(namesByAddress), oneFunctionGroups());
    }
}

TEST(Exports, EachDllImportsOnlyWindowsSystemDlls) {
    const std::set<std::string> system{"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL",
                                       "MSVCRT.DLL",   "WS2_32.DLL", "ADVAPI32.DLL"};
    for (const DllCase& dll : kDlls) {
        SCOPED_TRACE(dll.path);
        PeTables tables = readTables(dll.path);
        EXPECT_TRUE(tables.imports.contains("KERNEL32.DLL"));
        for (const std::string& name : tables.imports)
            EXPECT_TRUE(system.contains(name)) << "imports " << name;
    }
}

} // namespace
} // namespace qv::test
