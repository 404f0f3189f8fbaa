// Archive integers and strings.
#include "core/Archive.h"

#include <cstring>

namespace core {

namespace {
constexpr std::uint64_t LARGEST_64_BIT_LENGTH = std::uint64_t{1} << 31;

// The bytes of a string in one copy: through its own iterators, each char would be converted.
void AppendBytes(Bytes& buffer, const std::string& text)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    buffer.insert(buffer.end(), bytes, bytes + text.size());
}

// EncodeText for a text already known not to be ASCII.
StoredString EncodeNonAscii(const std::string& utf8, const CodePage& codePage)
{
    StoredString stored;
    std::string ansi;
    if (codePage.FromUtf8(utf8, ansi) && codePage.ToUtf8(ansi) == utf8) {
        stored.bytes = std::move(ansi);
        return stored;
    }
    stored.wide = true;
    Utf8ToUtf16(utf8, stored.units);
    return stored;
}

}  // namespace

StoredString EncodeText(const std::string& utf8, const CodePage& codePage)
{
    if (!IsAscii(utf8))
        return EncodeNonAscii(utf8, codePage);
    StoredString stored;
    stored.bytes = utf8;
    return stored;
}

std::string DecodeText(const StoredString& stored, const CodePage& codePage)
{
    if (stored.wide)
        return Utf16ToUtf8(stored.units);
    return IsAscii(stored.bytes) ? stored.bytes : codePage.ToUtf8(stored.bytes);
}

void ArchiveWriter::Raw(std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        buffer.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void ArchiveWriter::Int32(std::int32_t value)
{
    Raw(static_cast<std::uint32_t>(value), 4);
}

void ArchiveWriter::Byte(std::uint8_t value)
{
    buffer.push_back(value);
}

// `largest16` is the largest length the 16-bit form carries: 0xFFFD for a plain string,
// whose 0xFFFE marks a wide one, and 0xFFFE for the length of a wide string.
void ArchiveWriter::Length(std::uint64_t length, std::uint32_t largest16)
{
    if (length < 0xFF) {
        Raw(length, 1);
        return;
    }
    Raw(0xFF, 1);
    if (length <= largest16) {
        Raw(length, 2);
        return;
    }
    Raw(0xFFFF, 2);
    if (length < 0xFFFFFFFF) {
        Raw(length, 4);
        return;
    }
    Raw(0xFFFFFFFF, 4);
    Raw(length, 8);
}

void ArchiveWriter::Text(const std::string& utf8, const CodePage& codePage)
{
    if (!IsAscii(utf8)) {
        String(EncodeNonAscii(utf8, codePage));
        return;
    }
    Length(utf8.size(), 0xFFFD);
    AppendBytes(buffer, utf8);
}

void ArchiveWriter::String(const StoredString& text)
{
    if (!text.wide) {
        Length(text.bytes.size(), 0xFFFD);
        AppendBytes(buffer, text.bytes);
        return;
    }
    Raw(0xFF, 1);
    Raw(0xFFFE, 2);
    Length(text.units.size(), 0xFFFE);
    for (char16_t unit : text.units)
        Raw(unit, 2);
}

bool ArchiveReader::Raw(std::uint64_t& value, int size)
{
    if (Remaining() < static_cast<std::size_t>(size))
        return false;
    value = 0;
    for (int i = 0; i < size; ++i)
        value |= std::uint64_t{next[i]} << (8 * i);
    next += size;
    return true;
}

bool ArchiveReader::Int32(std::int32_t& value)
{
    std::uint64_t raw;
    if (!Raw(raw, 4))
        return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
    return true;
}

bool ArchiveReader::Byte(std::uint8_t& value)
{
    std::uint64_t raw;
    if (!Raw(raw, 1))
        return false;
    value = static_cast<std::uint8_t>(raw);
    return true;
}

// Reads the length part of a prefix whose first byte was 0xFF; `wideLength` when it is
// the second prefix of a wide string, where a 16-bit 0xFFFE is a plain length.
bool ArchiveReader::Length(std::uint64_t& length, bool wideLength)
{
    // Each width's largest value says that the next, wider one follows; the widest has none.
    struct Width {
        std::size_t bytes;
        std::uint64_t wider;
    };
    static constexpr Width widths[] = {{1, 0xFF}, {2, 0xFFFF}, {4, 0xFFFFFFFF}, {8, 0}};
    for (const Width& width : widths) {
        std::uint64_t value;
        if (!Raw(value, width.bytes))
            return false;
        // The caller handles the wide marker before asking for a length.
        if (width.bytes == 2 && value == 0xFFFE && !wideLength)
            return false;
        if (width.wider == 0 && value >= LARGEST_64_BIT_LENGTH)
            return false;
        if (width.wider == 0 || value != width.wider) {
            length = value;
            return true;
        }
    }
    return false;
}

bool ArchiveReader::String(StoredString& text)
{
    text = StoredString{};
    bool wide = Remaining() >= 3 && next[0] == 0xFF && next[1] == 0xFE && next[2] == 0xFF;
    if (wide)
        next += 3;
    std::uint64_t length;
    if (!Length(length, wide))
        return false;
    const std::uint64_t size = wide ? 2 * length : length;
    if (size > Remaining())
        return false;
    text.wide = wide;
    if (wide) {
        std::size_t units = 0;
        while (units < length && (next[2 * units] | next[2 * units + 1]) != 0)
            ++units;
        text.units.resize(units);
        for (std::size_t i = 0; i < units; ++i)
            text.units[i] = static_cast<char16_t>(next[2 * i] | (next[2 * i + 1] << 8));
    } else {
        text.bytes.assign(reinterpret_cast<const char*>(next), PlainLength(length));
    }
    next += size;
    return true;
}

std::size_t ArchiveReader::PlainLength(std::uint64_t length) const
{
    const void* zero = std::memchr(next, 0, static_cast<std::size_t>(length));
    return zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - next)
                : static_cast<std::size_t>(length);
}

bool ArchiveReader::Text(std::string& utf8, const CodePage& codePage)
{
    // Plain ASCII text, by far the most common, goes straight into the result.
    if (Remaining() > 0 && !(Remaining() >= 3 && next[0] == 0xFF && next[1] == 0xFE && next[2] == 0xFF)) {
        const std::uint8_t* start = next;
        std::uint64_t length;
        if (!Length(length, false) || length > Remaining()) {
            next = start;
            return false;
        }
        const char* text = reinterpret_cast<const char*>(next);
        const std::size_t used = PlainLength(length);
        if (IsAscii(text, used))
            utf8.assign(text, used);
        else
            utf8 = codePage.ToUtf8(std::string(text, used));
        next += length;
        return true;
    }
    StoredString stored;
    if (!String(stored))
        return false;
    utf8 = DecodeText(stored, codePage);
    return true;
}

}  // namespace core
