// Windows-1252 and the UTF-8/UTF-16 conversions.
#include "core/CodePage.h"

#include <cstdint>
#include <cstring>

namespace core {

namespace {

// Code points of the bytes 0x80 to 0x9F in Windows-1252; the rest map to themselves.
constexpr char16_t highControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t REPLACEMENT_CHARACTER = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes the code point at `i` and advances past it; false (and U+FFFD, one byte
// consumed) for an invalid, overlong or surrogate sequence.
bool NextCodePoint(const std::string& s, std::size_t& i, char32_t& c)
{
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(s[k]); };
    const std::uint8_t lead = byte(i);
    int extra = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        c = lead;
        ++i;
        return true;
    }
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, c = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, c = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, c = lead & 0x07, min = 0x10000;
    } else {
        c = REPLACEMENT_CHARACTER;
        ++i;
        return false;
    }
    if (i + extra >= s.size()) {
        c = REPLACEMENT_CHARACTER;
        ++i;
        return false;
    }
    for (int k = 1; k <= extra; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            c = REPLACEMENT_CHARACTER;
            ++i;
            return false;
        }
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        c = REPLACEMENT_CHARACTER;
        ++i;
        return false;
    }
    i += extra + 1;
    return true;
}

}  // namespace

bool IsAscii(const char* text, std::size_t size)
{
    // Eight bytes at a time: notes are long and almost always ASCII.
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text + i, 8);
        if (word & 0x8080808080808080u)
            return false;
    }
    for (; i < size; ++i)
        if (static_cast<std::uint8_t>(text[i]) >= 0x80)
            return false;
    return true;
}

bool IsAscii(const std::string& text)
{
    return IsAscii(text.data(), text.size());
}

bool Utf8ToUtf16(const std::string& utf8, std::u16string& utf16)
{
    utf16.clear();
    utf16.reserve(utf8.size());
    bool valid = true;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c;
        valid = NextCodePoint(utf8, i, c) && valid;
        if (c >= 0x10000) {
            c -= 0x10000;
            utf16 += static_cast<char16_t>(0xD800 + (c >> 10));
            utf16 += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            utf16 += static_cast<char16_t>(c);
        }
    }
    return valid;
}

std::string Utf16ToUtf8(const std::u16string& utf16)
{
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = REPLACEMENT_CHARACTER;
        }
        AppendUtf8(out, c);
    }
    return out;
}

bool Windows1252::FromUtf8(const std::string& utf8, std::string& ansi) const
{
    ansi.clear();
    ansi.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        // The ASCII between the other characters goes across in runs.
        const std::size_t start = i;
        while (i < utf8.size() && static_cast<std::uint8_t>(utf8[i]) < 0x80)
            ++i;
        ansi.append(utf8, start, i - start);
        if (i == utf8.size())
            break;
        char32_t c;
        if (!NextCodePoint(utf8, i, c))
            return false;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            ansi += static_cast<char>(c);
            continue;
        }
        int found = -1;
        for (int k = 0; k < 32; ++k)
            if (highControls[k] == c)
                found = k;
        if (found < 0)
            return false;
        ansi += static_cast<char>(0x80 + found);
    }
    return true;
}

std::string Windows1252::ToUtf8(const std::string& ansi) const
{
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 4);
    // The ASCII between the other characters goes across in runs.
    std::size_t start = 0;
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        const std::uint8_t b = static_cast<std::uint8_t>(ansi[i]);
        if (b < 0x80)
            continue;
        out.append(ansi, start, i - start);
        AppendUtf8(out, b < 0xA0 ? highControls[b - 0x80] : char32_t{b});
        start = i + 1;
    }
    out.append(ansi, start, std::string::npos);
    return out;
}

}  // namespace core
