#pragma once

#include <string>

// Conversions between Big5 (code page 950), the gateway's code page, and UTF-8.
namespace big5_text {

// Bytes that are not Big5 become U+FFFD.
std::string toUtf8(const std::string& big5);

// Characters Big5 cannot carry become "?".
std::string fromUtf8(const std::string& utf8);

} // namespace big5_text
