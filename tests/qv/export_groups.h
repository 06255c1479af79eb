#pragma once
// The export names that are one function under several names, in libqv.so
// and in qv.dll alike.

#include <map>
#include <set>
#include <string>
#include <vector>

namespace qv::test {

// Export names that are one function under several names, each group with
// its address in the library; every other published name has an address of
// its own.
inline const std::vector<std::vector<std::string>> kOneFunctionGroups{
    {"QV3ChrSet", "QV71ChrSet", "QV9ChrSet", "VFDChrSet"},
    {"QV3ChrSpc", "QV71ChrSpc", "QV9ChrSpc"},
    {"QV3Eject", "QV71Eject", "QV9Eject", "VFDCls"},
    {"QV3SetPag", "QV71SetPag", "QV9SetPag"},
    {"QV3BitMap", "QV71BitMap", "QV9BitMap"},
    {"QV3FulCut", "QV71FulCut", "QV7Cut"},
    {"QV3PatCut", "QV71PatCut"},
    {"QV3Open", "QV71Open"},
    {"QV3SetLin", "QV71SetLin"},
    {"QV3LinFed", "QV71LinFed"},
    {"QV3SmlFed", "QV71SmlFed"},
    {"QV3Prn", "QV71Prn"},
    {"QV9Cr", "VFDCsrLEnd"},
    {"QV9Tab", "VFDCsrRit"},
    {"VFDCsrREnd", "LcdCls"},
    {"P20Open", "LcdOpenBox"},
};

// The groups of more than one name that share an address, from a table of
// names by address.
template <class Address>
std::set<std::set<std::string>>
namesSharingAnAddress(const std::map<Address, std::set<std::string>>& namesByAddress) {
    std::set<std::set<std::string>> shared;
    for (const auto& [address, names] : namesByAddress) {
        if (names.size() > 1)
            shared.insert(names);
    }
    return shared;
}

// kOneFunctionGroups as sets, to compare with namesSharingAnAddress.
inline std::set<std::set<std::string>> oneFunctionGroups() {
    std::set<std::set<std::string>> groups;
    for (const auto& group : kOneFunctionGroups)
        groups.emplace(group.begin(), group.end());
    return groups;
}

} // namespace qv::test
