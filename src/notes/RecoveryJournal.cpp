// Recording, recovering, compacting and removing the notes' recovery journal.
#include "notes/RecoveryJournal.h"

#include <algorithm>

#include "core/FormatMoment.h"
#include "core/JournalPacing.h"
#include "framework/Files.h"
#include "framework/SystemTime.h"
#include "framework/Text.h"

namespace {

// A journal smaller than this is never compacted: rewriting it would cost more than it saves.
constexpr std::uint64_t SMALLEST_COMPACTION = 1 << 20;

}  // namespace

void RecoveryJournal::SetNotesFile(const std::wstring& notesPath)
{
    file.Close();
    path = notesPath + L".journal";
    blocked = false;
    keptAside.clear();
    days.clear();
    dayIndex.clear();
    compactAt = 0;
}

std::vector<core::JournalEntry> RecoveryJournal::ReadLeftover()
{
    core::Bytes bytes;
    DWORD error = fw::ReadWholeFile(path, bytes);
    // A sharing violation or a lock is another program's moment with the file, not damage.
    for (const ULONGLONG start = GetTickCount64();
         core::JournalPacing::ReadAgain(GetTickCount64() - start,
                                        error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION);
         error = fw::ReadWholeFile(path, bytes))
        Sleep(static_cast<DWORD>(core::JournalPacing::BUSY_READ_POLL_MS));
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return {};
    core::JournalContents contents;
    if (error == ERROR_SUCCESS)
        contents = core::ReadJournal(bytes.data(), bytes.size());
    if (error != ERROR_SUCCESS || contents.state == core::JournalContents::State::Unreadable) {
        const std::wstring stamp =
            fw::Widen(core::FormatMoment(fw::TimeSource(), fw::TimeSource().Now(), "%Y%m%d-%H%M%S"));
        const std::wstring aside = path + L".damaged-" + stamp;
        blocked = !MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH);
        if (!blocked)
            keptAside = aside;
        return {};
    }
    std::unordered_map<std::string, std::string> bases;
    for (const core::JournalEntry& entry : contents.records) {
        if (entry.kind == core::JournalKind::Base)
            bases[entry.note.key] = entry.note.text;
        else
            Remember(entry.note, bases[entry.note.key]);
    }
    return contents.records;
}

DWORD RecoveryJournal::Record(const core::DayNote& change, const std::string& base)
{
    const bool firstChange = dayIndex.find(change.key) == dayIndex.end();
    Remember(change, base);
    if (!file.IsOpen())
        return Compact();
    if (firstChange)
        if (const DWORD error = Append(core::JournalRecord({change.key, base}, core::JournalKind::Base));
            error != ERROR_SUCCESS)
            return error;
    return Append(core::JournalRecord(change));
}

// The file is open only while every remembered change is in it: the first record of a run,
// and the next one after a failed write, rewrite it whole from what this run remembers, the
// record just made included.
DWORD RecoveryJournal::Append(const core::Bytes& record)
{
    if (blocked || path.empty())
        return ERROR_ACCESS_DENIED;
    if (!file.IsOpen())
        return Compact();
    if (const DWORD error = file.Append(record); error != ERROR_SUCCESS) {
        // A torn tail hides whatever follows it from the reader.
        file.Close();
        return error;
    }
    if (file.Size() > compactAt)
        return Compact();
    return ERROR_SUCCESS;
}

// The new file replaces the old one in one step, so a kill leaves one or the other, whole.
DWORD RecoveryJournal::Compact()
{
    if (blocked || path.empty())
        return ERROR_ACCESS_DENIED;
    file.Close();
    core::Bytes bytes = core::JournalHeader();
    for (const Day& day : days)
        for (const core::Bytes& record : {core::JournalRecord({day.change.key, day.base}, core::JournalKind::Base),
                                          core::JournalRecord(day.change)})
            bytes.insert(bytes.end(), record.begin(), record.end());
    if (const DWORD error = fw::ReplaceFileAtomically(path, bytes); error != ERROR_SUCCESS)
        return error;
    compactAt = std::max<std::uint64_t>(SMALLEST_COMPACTION, 2 * bytes.size());
    return file.Open(path);
}

void RecoveryJournal::Discard()
{
    file.Close();
    days.clear();
    dayIndex.clear();
    if (!blocked && !path.empty())
        DeleteFileW(path.c_str());
}

// A day keeps the base of its first change until a rebase gives it another.
void RecoveryJournal::Remember(const core::DayNote& change, const std::string& base)
{
    const auto known = dayIndex.find(change.key);
    if (known == dayIndex.end()) {
        dayIndex[change.key] = days.size();
        days.push_back({base, change});
        return;
    }
    // The day being typed into is the latest change already, time after time.
    if (known->second + 1 == days.size()) {
        days.back().change.text = change.text;
        return;
    }
    Day day = std::move(days[known->second]);
    days.erase(days.begin() + static_cast<std::ptrdiff_t>(known->second));
    for (auto& [key, position] : dayIndex)
        if (position > known->second)
            --position;
    day.change.text = change.text;
    known->second = days.size();
    days.push_back(std::move(day));
}
