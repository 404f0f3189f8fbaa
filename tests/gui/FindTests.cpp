// Finding a note from the running window: the list follows the search text, ignores case and
// accents, Enter goes to the note's day, Escape changes nothing.
#include <gtest/gtest.h>

#include "ProbeWindow.h"
#include "core/DayKey.h"
#include "resources/ResourceIds.h"

namespace {

const core::Windows1252 cp1252;

struct Seen {
    std::vector<int> counts;
    std::wstring firstRow;
    std::wstring box;
    SYSTEMTIME selected{};
};

HWND OpenFind(HWND window)
{
    PostMessageW(window, WM_COMMAND, ID_NOTES_FIND, 0);
    return gui::WaitForOtherWindow(GetCurrentProcessId(), window, 5000);
}

int Rows(HWND dialog)
{
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_FIND_RESULTS, LVM_GETITEMCOUNT, 0, 0));
}

// The note column of a row, as the list shows it.
std::wstring NoteCell(HWND dialog, int row)
{
    wchar_t text[128] = L"";
    LVITEMW item{};
    item.iSubItem = 1;
    item.pszText = text;
    item.cchTextMax = 128;
    SendDlgItemMessageW(dialog, IDC_FIND_RESULTS, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

}  // namespace

TEST(Find, TheListFollowsTheTextAndEnterGoesToTheDayKeepingTheEdit)
{
    core::NoteStore store;
    store.SetNote({"150307", "Dentist at nine"});
    store.SetNote({"020407", "Write the resume\r\nthen send it"});
    store.SetNote({"100507", "RESUMÉ for the café"});
    store.SetNote({"110507", "Nothing to find here"});
    const core::Bytes bytes = store.Write(cp1252);
    const std::string notes(bytes.begin(), bytes.end());
    const core::CalendarSettings settings = gui::DefaultSettings();
    SYSTEMTIME today{};
    GetLocalTime(&today);
    const std::string todayKey = core::DayKeyFromDate(today.wYear, today.wMonth, today.wDay);

    ProbeWindow probe;
    Seen seen;
    std::map<std::wstring, std::string> files;
    RunWindow(probe, [&](HWND window) {
        SetDlgItemTextW(window, IDC_NOTES, L"kept while finding");
        // Escape: nothing changes.
        HWND dialog = OpenFind(window);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(GetWindow(dialog, GW_OWNER), window);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(gui::WaitUntil([&] { return !IsWindow(dialog); }));

        dialog = OpenFind(window);
        ASSERT_NE(dialog, nullptr);
        // Every note, the one being typed included; then narrower with each text.
        for (const wchar_t* text : {L"", L"resume", L"r\u00e9sum\u00e9", L"CAFE", L"then send", L"no such note"}) {
            SetDlgItemTextW(dialog, IDC_FIND_TEXT, text);
            seen.counts.push_back(Rows(dialog));
        }
        SetDlgItemTextW(dialog, IDC_FIND_TEXT, L"dentist");
        seen.firstRow = NoteCell(dialog, 0);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(gui::WaitUntil([&] { return !IsWindow(dialog); }));
        wchar_t box[256] = L"";
        GetDlgItemTextW(window, IDC_NOTES, box, 256);
        seen.box = box;
        ProbeWindow::OnWindowThread(window, [&] {
            SendDlgItemMessageW(window, IDC_CALENDAR, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&seen.selected));
        });
        PostMessageW(window, WM_COMMAND, ID_CLOSE, 0);
        gui::WaitUntil([&] { return !IsWindow(window); });
    }, &settings, &notes, &files);

    EXPECT_EQ(seen.counts, (std::vector<int>{5, 2, 2, 1, 1, 0}));
    EXPECT_EQ(seen.firstRow, L"Dentist at nine");
    EXPECT_EQ(seen.box, L"Dentist at nine");
    EXPECT_EQ(core::DayKeyFromDate(seen.selected.wYear, seen.selected.wMonth, seen.selected.wDay), "150307");
    core::NoteStore saved;
    const std::string& written = files[L"qor_nots.dat"];
    ASSERT_TRUE(saved.Read(reinterpret_cast<const std::uint8_t*>(written.data()), written.size(), cp1252));
    EXPECT_EQ(saved.Lookup(todayKey), "kept while finding");
}
