// Exporting notes: which notes go out and with which dates, iCalendar's escaping and
// folding, and the text file.
#include "core/NotesExport.h"

#include <gtest/gtest.h>

namespace {

bool ValidUtf8Start(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

}  // namespace

TEST(NotesExport, EachDayOnceInDateOrderWithoutBlankNotes)
{
    core::NoteStore store;
    const core::Windows1252 cp1252;
    // A hand-made file may hold a day twice; the first entry is the one Lookup finds.
    static const char file[] = "\x05\x00\x00\x00"
                               "\x06" "020107" "\x05" "later"
                               "\x06" "311275" "\x04" "2075"
                               "\x06" "020107" "\x06" "second"
                               "\x06" "010176" "\x04" "1976"
                               "\x06" "030107" "\x03" " \r\n";
    ASSERT_TRUE(store.Read(reinterpret_cast<const std::uint8_t*>(file), sizeof file - 1, cp1252));
    const std::vector<core::DatedNote> notes = core::DatedNotes(store, 2026);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].date, (core::CalendarDate{1976, 1, 1}));
    EXPECT_EQ(notes[1].date, (core::CalendarDate{2007, 1, 2}));
    EXPECT_EQ(notes[1].text, store.Lookup("020107"));
    EXPECT_EQ(notes[2].date, (core::CalendarDate{2075, 12, 31}));

    EXPECT_EQ(core::TextOf(store, 2026), "1976-01-01\r\n1976\r\n\r\n2007-01-02\r\nlater\r\n\r\n2075-12-31\r\n2075\r\n\r\n");
}

TEST(NotesExport, TextValuesAreEscapedAndLinesFoldedWithoutSplittingCharacters)
{
    EXPECT_EQ(core::EscapeText("a,b;c\\d\r\ne\nf"), "a\\,b\\;c\\\\d\\ne\\nf");

    // Folding at every position of a three-octet character against the 75-octet limit.
    for (std::size_t prefix = 60; prefix < 80; ++prefix) {
        std::string line(prefix, 'x');
        for (int i = 0; i < 40; ++i)
            line += "\xe6\x97\xa5";
        const std::string folded = core::FoldLine(line);
        std::string unfolded;
        std::size_t start = 0;
        while (start < folded.size()) {
            const std::size_t end = folded.find("\r\n", start);
            ASSERT_NE(end, std::string::npos);
            const std::string part = folded.substr(start, end - start);
            const std::string content = start == 0 ? part : part.substr(1);
            EXPECT_LE(part.size(), 75u) << prefix;
            EXPECT_TRUE(start == 0 || part[0] == ' ') << prefix;
            EXPECT_TRUE(content.empty() || ValidUtf8Start(content[0])) << prefix;
            unfolded += content;
            start = end + 2;
        }
        EXPECT_EQ(unfolded, line) << prefix;
    }
}

TEST(NotesExport, OneAllDayEventPerNote)
{
    core::NoteStore store;
    store.SetNote({"290224", "Leap, day\r\nsecond line"});
    store.SetNote({"311226", "Eve"});
    const std::string ics = core::ICalendarOf(store, 2026, "20261208T053000Z");
    for (const char* line : {"BEGIN:VCALENDAR\r\n", "VERSION:2.0\r\n", "UID:20240229@dayvane.example\r\n",
                             "DTSTAMP:20261208T053000Z\r\n", "DTSTART;VALUE=DATE:20240229\r\n",
                             "DTEND;VALUE=DATE:20240301\r\n", "SUMMARY:Leap\\, day\r\n",
                             "DESCRIPTION:Leap\\, day\\nsecond line\r\n", "DTEND;VALUE=DATE:20270101\r\n",
                             "END:VCALENDAR\r\n"})
        EXPECT_NE(ics.find(line), std::string::npos) << line;
    std::size_t events = 0;
    for (std::size_t at = ics.find("BEGIN:VEVENT"); at != std::string::npos; at = ics.find("BEGIN:VEVENT", at + 1))
        ++events;
    EXPECT_EQ(events, 2u);
}
