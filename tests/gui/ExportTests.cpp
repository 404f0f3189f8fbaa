// Exporting the notes from the running window through the save dialog: both file types,
// the note being edited included, and a file that cannot be replaced.
#include <gtest/gtest.h>

#include "ProbeWindow.h"
#include "core/DayKey.h"
#include "core/NotesExport.h"
#include "resources/ResourceIds.h"

#include <dlgs.h>

namespace {

const core::Windows1252 cp1252;

std::string TodayKey()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return core::DayKeyFromDate(now.wYear, now.wMonth, now.wDay);
}

// Answers the save dialog that the export opens: the type (0 iCalendar, 1 text), a file
// name without an extension, then "Save".
HWND ChooseFile(HWND window, const std::wstring& path, int type)
{
    PostMessageW(window, WM_COMMAND, ID_NOTES_EXPORT, 0);
    const HWND dialog = gui::WaitForOtherWindow(GetCurrentProcessId(), window, 5000);
    if (!dialog)
        return nullptr;
    const HWND types = GetDlgItem(dialog, cmb1);
    SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(type), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
    SetDlgItemTextW(dialog, GetDlgItem(dialog, cmb13) ? cmb13 : edt1, path.c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    return dialog;
}

}  // namespace

TEST(Export, BothTypesHoldEveryNoteAndAFileThatCannotBeReplacedIsReported)
{
    core::NoteStore store;
    store.SetNote({"010107", "New year, \"quoted\"; back\\slash\r\nsecond line"});
    store.SetNote({"311299", "\xe6\x97\xa5\xe6\x9c\xac " + std::string(60, 'x') + " \xf0\x9f\x98\x80"});
    const core::Bytes notes = store.Write(cp1252);
    const std::string notesBytes(notes.begin(), notes.end());
    gui::TempFolder exports;
    const std::wstring ics = exports.File(L"notes.ics"), txt = exports.File(L"notes.txt"),
                       held = exports.File(L"held.ics");
    // The dialog adds the extension of the chosen type.
    const auto withoutExtension = [](const std::wstring& path) { return path.substr(0, path.rfind(L'.')); };
    ASSERT_TRUE(gui::WriteFileBytes(held, "held by another program"));
    const HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::wstring reported;

    ProbeWindow probe;
    const core::CalendarSettings settings = gui::DefaultSettings();
    RunWindow(probe, [&](HWND window) {
        SetDlgItemTextW(window, IDC_NOTES, L"typed today");
        for (const auto& [path, type] : {std::pair{ics, 0}, std::pair{txt, 1}}) {
            const HWND dialog = ChooseFile(window, withoutExtension(path), type);
            ASSERT_NE(dialog, nullptr);
            ASSERT_TRUE(gui::WaitUntil([&] { return !gui::ReadFileBytes(path).empty(); })) << path;
        }
        // The held file exists: the dialog asks before replacing it, then the export fails.
        const HWND dialog = ChooseFile(window, held, 0);
        ASSERT_NE(dialog, nullptr);
        HWND question = nullptr;
        ASSERT_TRUE(gui::WaitUntil([&] {
            for (HWND open : gui::VisibleTopLevelWindows(GetCurrentProcessId()))
                if (open != window && open != dialog)
                    question = open;
            return question != nullptr;
        }));
        PostMessageW(question, WM_COMMAND, IDYES, 0);
        HWND box = nullptr;
        ASSERT_TRUE(gui::WaitUntil([&] {
            box = nullptr;
            for (HWND open : gui::VisibleTopLevelWindows(GetCurrentProcessId()))
                if (open != window && gui::ChildTexts(open).find(L"could not export") != std::wstring::npos)
                    box = open;
            return box != nullptr;
        }));
        reported = gui::ChildTexts(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        gui::WaitUntil([&] { return !IsWindow(box); });
    }, &settings, &notesBytes);
    CloseHandle(holder);

    store.SetNote({TodayKey(), "typed today"});
    SYSTEMTIME now{};
    GetLocalTime(&now);
    ASSERT_EQ(core::DatedNotes(store, now.wYear).size(), 3u);
    EXPECT_EQ(gui::ReadFileBytes(txt), core::TextOf(store, now.wYear));
    const std::string calendar = gui::ReadFileBytes(ics);
    const std::size_t stamp = calendar.find("DTSTAMP:");
    ASSERT_NE(stamp, std::string::npos);
    EXPECT_EQ(calendar, core::ICalendarOf(store, now.wYear, calendar.substr(stamp + 8, 16)));
    EXPECT_NE(reported.find(held), std::wstring::npos) << reported.c_str();
    EXPECT_EQ(gui::ReadFileBytes(held), "held by another program");
    for (const auto& [name, bytes] : exports.Contents())
        EXPECT_TRUE(name == L"notes.ics" || name == L"notes.txt" || name == L"held.ics") << "left behind";
}
