// The ANSI code page that plain strings in the data files are written in, and UTF-8/UTF-16
// conversion for the wide strings.
#pragma once

#include <cstddef>
#include <string>

namespace core {

// A single- or double-byte code page, supplied by the platform (tests use Windows-1252).
class CodePage {
public:
    virtual ~CodePage() = default;
    // The text in this code page; false when some character of `utf8` has no exact
    // equivalent in it (or `utf8` is not valid UTF-8), so only the wide form keeps it.
    virtual bool FromUtf8(const std::string& utf8, std::string& ansi) const = 0;
    // The text of `ansi` as UTF-8. Bytes the code page leaves undefined map as the
    // platform maps them, so that FromUtf8 gives them back.
    virtual std::string ToUtf8(const std::string& ansi) const = 0;
};

// Windows-1252, with the five undefined bytes mapped to the C1 controls of the same
// value, as the platform maps them.
class Windows1252 : public CodePage {
public:
    bool FromUtf8(const std::string& utf8, std::string& ansi) const override;
    std::string ToUtf8(const std::string& ansi) const override;
};

// UTF-8 to UTF-16; false when `utf8` is not valid UTF-8 (the result then holds U+FFFD in
// place of each bad sequence).
bool Utf8ToUtf16(const std::string& utf8, std::u16string& utf16);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::u16string& utf16);
// True when every byte is below 0x80: such text is the same in every ANSI code page.
bool IsAscii(const std::string& text);
bool IsAscii(const char* text, std::size_t size);

}  // namespace core
