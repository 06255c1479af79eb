#include "elf_symbols.h"

#include <cstring>
#include <elf.h>
#include <fstream>
#include <iterator>
#include <regex>
#include <stdexcept>
#include <vector>

namespace qv::test {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A bounds-checked view of a struct at an offset of the file image.
template <class T> T at(const std::string& image, std::uint64_t offset) {
    if (offset > image.size() || image.size() - offset < sizeof(T))
        throw std::runtime_error("truncated ELF file");
    T value;
    std::memcpy(&value, image.data() + offset, sizeof(T));
    return value;
}

std::string stringAt(const std::string& image, const Elf64_Shdr& table, std::uint32_t index) {
    if (index >= table.sh_size || table.sh_offset + table.sh_size > image.size())
        throw std::runtime_error("bad string index");
    const char* start = image.data() + table.sh_offset + index;
    return std::string(start, strnlen(start, table.sh_size - index));
}

} // namespace

std::set<std::string> definedDynamicSymbols(const std::string& path) {
    const std::string image = readFile(path);
    auto header = at<Elf64_Ehdr>(image, 0);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64)
        throw std::runtime_error(path + " is not a 64-bit ELF file");
    std::vector<Elf64_Shdr> sections;
    for (unsigned i = 0; i < header.e_shnum; ++i)
        sections.push_back(
            at<Elf64_Shdr>(image, header.e_shoff + i * std::uint64_t{header.e_shentsize}));

    std::set<std::string> names;
    for (const Elf64_Shdr& section : sections) {
        if (section.sh_type != SHT_DYNSYM || section.sh_entsize == 0)
            continue;
        if (section.sh_link >= sections.size())
            throw std::runtime_error("bad string table link");
        const Elf64_Shdr& strings = sections[section.sh_link];
        for (std::uint64_t i = 1; i < section.sh_size / section.sh_entsize; ++i) {
            auto sym = at<Elf64_Sym>(image, section.sh_offset + i * section.sh_entsize);
            unsigned bind = ELF64_ST_BIND(sym.st_info);
            if (sym.st_shndx != SHN_UNDEF && (bind == STB_GLOBAL || bind == STB_WEAK))
                names.insert(stringAt(image, strings, sym.st_name));
        }
    }
    return names;
}

std::set<std::string> versionScriptGlobals(const std::string& path) {
    std::string text = std::regex_replace(readFile(path), std::regex(R"(/\*[\s\S]*?\*/)"), " ");
    std::size_t from = text.find("global:");
    std::size_t to = text.find("local:");
    if (from == std::string::npos || to == std::string::npos || to < from)
        throw std::runtime_error(path + " has no global and local lists");
    std::string globals = text.substr(from + 7, to - from - 7);
    std::set<std::string> names;
    std::regex name(R"(([A-Za-z_][A-Za-z0-9_]*)\s*;)");
    for (auto it = std::sregex_iterator(globals.begin(), globals.end(), name);
         it != std::sregex_iterator(); ++it)
        names.insert((*it)[1]);
    return names;
}

} // namespace qv::test
