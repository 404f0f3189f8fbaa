// Numbers as text, made without the C library's formatted output: nothing else of the program
// needs it, and its code (some 40 KB of the runtime's) stays out of the exe.
#pragma once

#include <string>

namespace core {

// `value` in decimal, its digits padded on the left with `pad` to at least `width`; a
// negative value has its sign before the padding ("-07").
std::string Decimal(long long value, int width = 1, char pad = '0');
// The same, as wide text for the names of files.
std::wstring WideDecimal(long long value);
// `value` in upper-case hexadecimal, padded with zeros to at least `width` digits.
std::string Hexadecimal(unsigned long long value, int width = 1);

}  // namespace core
