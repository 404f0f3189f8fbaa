// Archive strings: the prefixes, the wide form, the code page and damaged input.
#include "core/Archive.h"

#include <gtest/gtest.h>

#include "Bytes.h"

namespace {

const core::Windows1252 cp1252;

core::Bytes Written(const core::StoredString& text)
{
    core::Bytes bytes;
    core::ArchiveWriter(bytes).String(text);
    return bytes;
}

core::StoredString Plain(std::string bytes)
{
    core::StoredString s;
    s.bytes = std::move(bytes);
    return s;
}

core::StoredString Wide(std::u16string units)
{
    core::StoredString s;
    s.wide = true;
    s.units = std::move(units);
    return s;
}

// Reads one string that must take up all of `bytes`.
bool ReadOne(const core::Bytes& bytes, core::StoredString& text)
{
    core::ArchiveReader in(bytes.data(), bytes.size());
    return in.String(text) && in.Remaining() == 0;
}

core::Bytes Prefix(const core::Bytes& bytes, std::size_t size)
{
    return core::Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
}

}  // namespace

TEST(ArchiveString, PlainPrefixesAreTheShortestThatFit)
{
    struct Case {
        std::size_t length;
        core::Bytes prefix;
    } cases[] = {
        {0, {0x00}},
        {10, {0x0A}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        const std::string text(c.length, 'x');
        const core::Bytes bytes = Written(Plain(text));
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(Prefix(bytes, c.prefix.size()), c.prefix) << c.length;
        core::StoredString back;
        ASSERT_TRUE(ReadOne(bytes, back)) << c.length;
        EXPECT_EQ(back, Plain(text)) << c.length;
    }
}

TEST(ArchiveString, WideFormHasItsOwnPrefixes)
{
    EXPECT_EQ(Written(Wide(u"h\u00e9")), (core::Bytes{0xFF, 0xFE, 0xFF, 0x02, 'h', 0, 0xE9, 0}));
    // In the length of a wide string a 16-bit 0xFFFE is a length, not another marker.
    const core::Bytes longest16 = Written(Wide(std::u16string(0xFFFE, u'a')));
    EXPECT_EQ(Prefix(longest16, 6), (core::Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF}));
    const core::Bytes longer = Written(Wide(std::u16string(0xFFFF, u'a')));
    EXPECT_EQ(Prefix(longer, 10), (core::Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    for (const core::Bytes* bytes : {&longest16, &longer}) {
        core::StoredString back;
        ASSERT_TRUE(ReadOne(*bytes, back));
        EXPECT_TRUE(back.wide);
        EXPECT_EQ(back.units.size() * 2 + (bytes == &longer ? 10 : 6), bytes->size());
    }
}

TEST(ArchiveString, SixtyFourBitLengthsBelowTwoToThe31AreAccepted)
{
    const core::Bytes head = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    core::StoredString text;
    EXPECT_TRUE(ReadOne(Concat({head, {3, 0, 0, 0, 0, 0, 0, 0}, Ascii("abc")}), text));
    EXPECT_EQ(text.bytes, "abc");
    // 2^31 and above fail however many bytes follow.
    EXPECT_FALSE(ReadOne(Concat({head, {0, 0, 0, 0x80, 0, 0, 0, 0}, Ascii("abc")}), text));
    EXPECT_FALSE(ReadOne(Concat({head, {3, 0, 0, 0, 0, 0, 0, 1}, Ascii("abc")}), text));
}

TEST(ArchiveString, AZeroByteEndsTheTextButTheWholeLengthIsConsumed)
{
    const core::Bytes bytes = Concat({{5}, Ascii("ab"), {0}, Ascii("cd"), {2}, Ascii("ef")});
    core::ArchiveReader in(bytes.data(), bytes.size());
    core::StoredString first, second;
    ASSERT_TRUE(in.String(first));
    ASSERT_TRUE(in.String(second));
    EXPECT_EQ(first.bytes, "ab");
    EXPECT_EQ(second.bytes, "ef");

    const core::Bytes wide = {0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 0, 0, 'b', 0};
    ASSERT_TRUE(ReadOne(wide, first));
    EXPECT_EQ(first.units, u"a");
}

TEST(ArchiveString, EveryTruncationFails)
{
    for (const core::Bytes& bytes :
         {Written(Plain("abc")), Written(Plain(std::string(300, 'y'))), Written(Plain(std::string(70000, 'z'))),
          Written(Wide(u"\u65e5\u672c")), Written(Wide(std::u16string(300, u'w')))}) {
        for (std::size_t size = 0; size < bytes.size(); ++size) {
            core::ArchiveReader in(bytes.data(), size);
            core::StoredString text;
            EXPECT_FALSE(in.String(text)) << size << " of " << bytes.size();
        }
    }
}

TEST(ArchiveString, LengthsBeyondTheDataFailBeforeAnyAllocation)
{
    // A 2 GiB promise at the end of a tiny file: rejected, not attempted.
    core::StoredString text;
    EXPECT_FALSE(ReadOne({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0, 'x'}, text));
    EXPECT_FALSE(ReadOne({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'x', 0}, text));
    EXPECT_FALSE(ReadOne({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 'x'}, text));
}

TEST(ArchiveInteger, LittleEndianAndShortInputFails)
{
    core::Bytes bytes;
    core::ArchiveWriter out(bytes);
    out.Int32(-2);
    out.Byte(0xA5);
    out.Int32(0x01020304);
    EXPECT_EQ(bytes, (core::Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0xA5, 4, 3, 2, 1}));
    core::ArchiveReader in(bytes.data(), bytes.size());
    std::int32_t a, b;
    std::uint8_t c;
    ASSERT_TRUE(in.Int32(a) && in.Byte(c) && in.Int32(b));
    EXPECT_EQ(a, -2);
    EXPECT_EQ(c, 0xA5);
    EXPECT_EQ(b, 0x01020304);
    EXPECT_FALSE(in.Byte(c));
    core::ArchiveReader shortInput(bytes.data(), 3);
    EXPECT_FALSE(shortInput.Int32(a));
}

TEST(ArchiveText, CodePageTextIsPlainAndEverythingElseWide)
{
    // "café €" is in Windows-1252: plain, byte for byte as an ANSI writer writes it.
    const core::StoredString cafe = core::EncodeText("caf\u00e9 \u20ac", cp1252);
    EXPECT_EQ(cafe, Plain("caf\xe9 \x80"));
    // Japanese, a Cyrillic letter or an emoji is not: wide, and nothing is lost.
    for (const std::string text : {"\u65e5\u672c\u8a9e", "da \u0436", "\U0001F600 smile", "caf\u00e9 \u0142"}) {
        const core::StoredString stored = core::EncodeText(text, cp1252);
        EXPECT_TRUE(stored.wide) << text;
        core::Bytes bytes;
        core::ArchiveWriter(bytes).Text(text, cp1252);
        core::ArchiveReader in(bytes.data(), bytes.size());
        std::string back;
        ASSERT_TRUE(in.Text(back, cp1252));
        EXPECT_EQ(back, text);
    }
}

TEST(ArchiveText, PlainBytesAreReadThroughTheCodePage)
{
    const core::Bytes bytes = {4, 'n', 0xE9, 0x80, 0x81, 1, 0xA0};
    core::ArchiveReader in(bytes.data(), bytes.size());
    std::string first, second;
    ASSERT_TRUE(in.Text(first, cp1252) && in.Text(second, cp1252));
    EXPECT_EQ(first, "n\u00e9\u20ac\u0081");
    EXPECT_EQ(second, "\u00a0");
    // and written back as the same bytes
    core::Bytes again;
    core::ArchiveWriter out(again);
    out.Text(first, cp1252);
    out.Text(second, cp1252);
    EXPECT_EQ(again, bytes);
}

TEST(ArchiveText, BrokenUtf16BecomesReplacementCharacters)
{
    const core::Bytes lone = {0xFF, 0xFE, 0xFF, 0x02, 0x00, 0xD8, 'a', 0};
    core::StoredString stored;
    ASSERT_TRUE(ReadOne(lone, stored));
    EXPECT_EQ(core::DecodeText(stored, cp1252), "\ufffda");
}
