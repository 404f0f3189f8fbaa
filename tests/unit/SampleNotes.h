// What the iCalendar samples and tests share: notes with every hard case of the export, and
// text quoted for JSON lines that a script reads back.
#pragma once

#include <cstdio>
#include <string>

#include "core/NoteStore.h"

// Commas, semicolons and a backslash to escape, line breaks, a long line of Japanese, a leap
// day; the caller adds a note of its own on 15 June 1980.
inline core::NoteStore HardCaseNotes()
{
    std::string japanese;
    for (int i = 0; i < 40; ++i)
        japanese += "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e";
    core::NoteStore store;
    store.SetNote({"010107", "Commas, semicolons; and a back\\slash"});
    store.SetNote({"290224", "First line\r\nsecond line\r\n\r\nafter a blank line"});
    store.SetNote({"311275", japanese});
    return store;
}

inline std::string Json(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}
