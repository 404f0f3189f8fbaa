// Little-endian archive streams: the integers and length-prefixed strings that both data
// files are made of.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/CodePage.h"

namespace core {

using Bytes = std::vector<std::uint8_t>;

// A string as it stands in a file: plain (bytes in the ANSI code page) or wide (UTF-16).
struct StoredString {
    bool wide = false;
    std::string bytes;     // the plain form
    std::u16string units;  // the wide form

    bool operator==(const StoredString& other) const
    {
        return wide == other.wide && (wide ? units == other.units : bytes == other.bytes);
    }
};

// The stored form of UTF-8 text: plain when the code page holds it exactly, else wide.
StoredString EncodeText(const std::string& utf8, const CodePage& codePage);
// The UTF-8 text of a stored string.
std::string DecodeText(const StoredString& stored, const CodePage& codePage);

// Appends to a byte buffer. Plain strings get the shortest of the three length prefixes;
// wide strings the marker FF FE FF and then a prefix counting UTF-16 units.
class ArchiveWriter {
public:
    explicit ArchiveWriter(Bytes& out) : buffer(out) {}

    void Int32(std::int32_t value);
    void Byte(std::uint8_t value);
    void String(const StoredString& text);
    void Text(const std::string& utf8, const CodePage& codePage);

private:
    void Length(std::uint64_t length, std::uint32_t largest16);
    void Raw(std::uint64_t value, int size);

    Bytes& buffer;
};

// Reads from a byte range it does not own. Every read reports failure instead of reading
// past the end; a string's length is checked against the bytes left before anything is
// allocated for it.
class ArchiveReader {
public:
    ArchiveReader(const std::uint8_t* data, std::size_t size) : next(data), end(data + size) {}

    bool Int32(std::int32_t& value);
    bool Byte(std::uint8_t& value);
    // A zero byte (or unit) inside the string ends its text; the whole length is consumed.
    bool String(StoredString& text);
    bool Text(std::string& utf8, const CodePage& codePage);
    std::size_t Remaining() const { return static_cast<std::size_t>(end - next); }

private:
    bool Raw(std::uint64_t& value, int size);
    bool Length(std::uint64_t& length, bool wideLength);
    // The bytes of a plain string of `length` bytes at `next` up to its first zero.
    std::size_t PlainLength(std::uint64_t length) const;

    const std::uint8_t* next;
    const std::uint8_t* end;
};

}  // namespace core
