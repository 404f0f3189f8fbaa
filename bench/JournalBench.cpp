// One recovery-journal write of a typed 255-character note, in the calendar window itself under
// Wine: the box's text, the comparison with the shown day's note and the flushed append. Run
// on a notes file of 100 notes and of 100,000, to show that the store's size does not count.
//   JournalBench.exe
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/Archive.h"
#include "core/DayKey.h"
#include "framework/AnsiCodePage.h"
#include "framework/Files.h"
#include "framework/Text.h"
#include "framework/WinApp.h"
#include "resources/ResourceIds.h"
#include "settings/DataFilePath.h"
#include "window/CalendarWindow.h"

namespace {

fw::CWinApp benchApp;

constexpr int WRITES = 300;
constexpr std::size_t NOTE_LENGTH = 255;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// `count` notes spread over the days of a century; keys repeat past 36,500, as a file may hold.
bool WriteNotesFile(const std::wstring& path, int count)
{
    core::Bytes bytes;
    core::ArchiveWriter out(bytes);
    out.Int32(count);
    for (int i = 0; i < count; ++i) {
        const int day = i % 36500;
        out.Text(core::DayKeyFromDate(2000 + day / 365, 1 + day % 365 / 31 % 12, 1 + day % 28), fw::SystemCodePage());
        out.Text("Dentist at 10:30, then the bank; call Anna about the tickets " + std::to_string(i), fw::SystemCodePage());
    }
    return fw::ReplaceFileAtomically(path, bytes) == ERROR_SUCCESS;
}

// Types a note into the box, then runs the journal's timer at once, as a pause in typing would.
class JournalBenchWindow : public CalendarWindow {
public:
    std::vector<double> samples;
    std::size_t journalBytes = 0;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CalendarWindow::OnInitDialog();
        const HWND box = GetDlgItem(Handle(), IDC_NOTES);
        for (int i = 0; i < WRITES; ++i) {
            std::wstring note = L"typed " + std::to_wstring(i) + L" ";
            note.resize(NOTE_LENGTH, static_cast<wchar_t>(L'a' + i % 26));
            SetWindowTextW(box, note.c_str());
            LARGE_INTEGER start{}, end{};
            QueryPerformanceCounter(&start);
            SendMessageW(Handle(), WM_TIMER, NotesPanel::JOURNAL_TIMER_ID, 0);
            QueryPerformanceCounter(&end);
            samples.push_back(Milliseconds(start, end));
        }
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExW((DataFolder() + L"qor_nots.dat.journal").c_str(), GetFileExInfoStandard, &data))
            journalBytes = data.nFileSizeLow;
        // Escape: nothing is saved and the journal goes.
        PostMessageW(Handle(), WM_COMMAND, IDCANCEL, 0);
        return result;
    }
};

// The median and p99 of the writes on a notes file of `count` notes; false when they could not be made.
bool Measure(int count, double& median, double& p99)
{
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"dayvane-journal-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring notes = folder + L"\\" + fw::Widen(NOTES_FILE_NAME);
    bool measured = false;
    if (WriteNotesFile(notes, count)) {
        SetDataFolder(fw::Narrow(folder) + "\\");
        JournalBenchWindow window;
        measured = window.DoModal() != -1 && window.samples.size() == WRITES && window.journalBytes > WRITES * NOTE_LENGTH;
        SetDataFolder("");
        std::vector<double> samples = window.samples;
        std::sort(samples.begin(), samples.end());
        if (measured) {
            median = samples[samples.size() / 2];
            p99 = samples[samples.size() * 99 / 100];
        }
    }
    DeleteFileW(notes.c_str());
    DeleteFileW((notes + L".journal").c_str());
    DeleteFileW((notes + L".bak1").c_str());
    DeleteFileW((folder + L"\\qor_info.dat").c_str());
    RemoveDirectoryW(folder.c_str());
    return measured;
}

}  // namespace

int main()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    for (const int count : {100, 100000}) {
        double median = 0, p99 = 0;
        if (!Measure(count, median, p99)) {
            std::fprintf(stderr, "journal: the writes on %d notes could not be measured\n", count);
            return 1;
        }
        std::printf("journal notes %d writes %d median %.3f p99 %.3f\n", count, WRITES, median, p99);
    }
    return 0;
}
