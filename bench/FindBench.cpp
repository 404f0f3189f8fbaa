// The find dialog's search at its largest: 37,200 notes, one for each day key there can be,
// searched again at every keystroke of a few typed words. Prints the time per keystroke.
//   FindBench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/DayKey.h"
#include "notes/FindDialog.h"

namespace {

constexpr std::size_t NOTE_COUNT = 31 * 12 * 100;
constexpr int ROUNDS = 5;

const char* const words[] = {"meeting", "with", "the", "dentist", "at", "10:30", "call", "Anna", "about", "garden",
                             "buy", "milk", "caf\xc3\xa9", "na\xc3\xafve", "Stra\xc3\x9f" "e", "\xe6\x97\xa5\xe6\x9c\xac",
                             "\xd0\x9c\xd0\xbe\xd1\x81\xd0\xba\xd0\xb2\xd0\xb0", "report", "\r\n", "party"};

std::vector<core::DatedNote> Notes()
{
    std::mt19937_64 random(37200);
    std::vector<core::DatedNote> notes;
    notes.reserve(NOTE_COUNT);
    core::CalendarDate date{1926, 1, 1};
    while (notes.size() < NOTE_COUNT) {
        std::string text;
        const std::size_t length = std::uniform_int_distribution<std::size_t>(20, 385)(random);
        while (text.size() < length)
            text += std::string(words[std::uniform_int_distribution<std::size_t>(0, std::size(words) - 1)(random)]) + " ";
        notes.push_back({date, text});
        date = date.day < core::DaysInMonth(date.year, date.month) ? core::CalendarDate{date.year, date.month, date.day + 1}
               : date.month < 12 ? core::CalendarDate{date.year, date.month + 1, 1}
                                 : core::CalendarDate{date.year + 1, 1, 1};
    }
    return notes;
}

// What the search box holds after each keystroke of typing, and of deleting, each text.
std::vector<std::wstring> Keystrokes()
{
    std::vector<std::wstring> typed;
    for (const std::wstring word : {L"dentist", L"Cafe", L"\u65e5\u672c", L"meeting with", L"zzz"}) {
        for (std::size_t length = 1; length <= word.size(); ++length)
            typed.push_back(word.substr(0, length));
        for (std::size_t length = word.size(); length-- > 0;)
            typed.push_back(word.substr(0, length));
    }
    return typed;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main()
{
    const NoteSearch search(Notes());
    const std::vector<std::wstring> typed = Keystrokes();
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    std::vector<double> samples;
    std::size_t found = 0;
    for (int round = 0; round < ROUNDS; ++round) {
        for (const std::wstring& text : typed) {
            LARGE_INTEGER start{}, end{};
            QueryPerformanceCounter(&start);
            found += search.Find(text).size();
            QueryPerformanceCounter(&end);
            samples.push_back(Milliseconds(start, end, frequency));
        }
    }
    std::sort(samples.begin(), samples.end());
    const double median = samples[samples.size() / 2];
    const double p99 = samples[std::min(samples.size() - 1, samples.size() * 99 / 100)];
    std::printf("notes %zu keystrokes %zu found %zu\n", NOTE_COUNT, samples.size(), found);
    std::printf("refilter median %.2f p99 %.2f max %.2f\n", median, p99, samples.back());
    return found > 0 ? 0 : 1;
}
