// Helpers for writing byte vectors in tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "core/Archive.h"

inline core::Bytes Concat(std::initializer_list<core::Bytes> parts)
{
    core::Bytes all;
    for (const core::Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

inline core::Bytes Ascii(const std::string& text)
{
    return core::Bytes(text.begin(), text.end());
}

inline core::Bytes Int32(std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}
