#pragma once
// Every export of qv.dll (the list is written from qv/exports.map) as a
// DllExport named like the function: case tables and tests written for the
// library's own functions call through the DLL when this header comes first.

#include "dll_call.h"

namespace qv::test {

#define QV_EXPORT(name) inline constexpr DllExport<decltype(&::name)> name{#name};
#include "qv_exports.inc"
#undef QV_EXPORT

} // namespace qv::test
