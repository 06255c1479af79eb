#pragma once

#include <string>

// Quoting UTF-8 text for the JSON log and the HTML pages.
std::string jsonString(const std::string& text);
std::string htmlText(const std::string& text);
