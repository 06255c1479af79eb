#pragma once
// The export names that are one function under several names, in libqv.so
// and in qv.dll alike.

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

} // namespace qv::test
