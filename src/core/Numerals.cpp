// Decimal and hexadecimal text.
#include "core/Numerals.h"

namespace core {

namespace {

std::string Padded(std::string digits, int width, char pad)
{
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), pad);
    return digits;
}

}  // namespace

std::string Decimal(long long value, int width, char pad)
{
    // Taken as unsigned, so that the most negative value has a magnitude too.
    const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                   : static_cast<unsigned long long>(value);
    std::string digits = Padded(std::to_string(magnitude), width, pad);
    return value < 0 ? "-" + digits : digits;
}

std::wstring WideDecimal(long long value)
{
    const std::string digits = Decimal(value);
    return std::wstring(digits.begin(), digits.end());
}

std::string Hexadecimal(unsigned long long value, int width)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789ABCDEF"[value % 16]);
        value /= 16;
    } while (value != 0);
    return Padded(std::move(digits), width, '0');
}

}  // namespace core
