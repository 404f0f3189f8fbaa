// Conversion between the program's UTF-8 text and the platform's UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace fw {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace fw
