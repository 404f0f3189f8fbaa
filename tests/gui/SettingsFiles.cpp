// Settings and notes files for the window tests, and the running copy's names.
#include "SettingsFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

#include "core/DataFilePath.h"

namespace gui {

namespace {
const core::Windows1252 cp1252;
}  // namespace

core::LogicalFont Tahoma()
{
    core::LogicalFont font;
    font.height = -11;
    font.faceName = "Tahoma";
    return font;
}

core::CalendarSettings DefaultSettings(int left, int top)
{
    core::CalendarSettings settings;
    core::SetDefaultAppearance(settings, Tahoma());
    settings.windowLeft = left;
    settings.windowTop = top;
    return settings;
}

std::string EncodeSettings(const core::CalendarSettings& settings)
{
    const core::Bytes bytes = core::WriteSettingsFile(settings, cp1252, core::FACE_NAME_KEY);
    return std::string(bytes.begin(), bytes.end());
}

core::CalendarSettings DecodeSettings(const std::string& bytes)
{
    core::CalendarSettings settings;
    EXPECT_TRUE(core::ReadSettingsFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), Tahoma(),
                                       cp1252, core::FACE_NAME_KEY, settings))
        << "settings file of " << bytes.size() << " bytes does not decode";
    return settings;
}

std::string EncodeNotes(const std::vector<core::DayNote>& notes)
{
    core::NoteStore store;
    for (const core::DayNote& note : notes)
        store.SetNote(note);
    const core::Bytes bytes = store.Write(cp1252);
    return std::string(bytes.begin(), bytes.end());
}

std::map<std::string, std::string> DecodeNotes(const std::string& bytes)
{
    core::NoteStore store;
    EXPECT_TRUE(store.Read(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), cp1252))
        << "the notes file of " << bytes.size() << " bytes is not whole";
    std::map<std::string, std::string> notes;
    for (const core::DayNote& note : store.Notes())
        notes.emplace(note.key, note.text);
    return notes;
}

// The program spells a folder in its long form, upper case.
std::wstring RunningCopyName(const std::wstring& folder, const std::wstring& prefix, const std::wstring& suffix)
{
    wchar_t longPath[MAX_PATH] = L"";
    const DWORD length = GetLongPathNameW(folder.c_str(), longPath, MAX_PATH);
    std::wstring key = length > 0 && length < MAX_PATH ? longPath : folder;
    std::transform(key.begin(), key.end(), key.begin(), [](wchar_t c) { return std::towupper(c); });
    return prefix + L"Dayvane.DataFolder." + core::HashText(key) + suffix;
}

}  // namespace gui
