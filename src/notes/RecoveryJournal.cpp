// Recording, recovering, compacting and removing the notes' recovery journal.
#include "notes/RecoveryJournal.h"

#include <algorithm>

#include "core/FormatMoment.h"
#include "core/NotesJournal.h"
#include "framework/Files.h"
#include "framework/SystemTime.h"
#include "framework/Text.h"

namespace {

// A journal smaller than this is never compacted: rewriting it would cost more than it saves.
constexpr std::uint64_t SMALLEST_COMPACTION = 1 << 20;

core::Bytes JournalOf(const std::vector<core::DayNote>& notes)
{
    core::Bytes bytes = core::JournalHeader();
    for (const core::DayNote& note : notes) {
        const core::Bytes record = core::JournalRecord(note);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

}  // namespace

void RecoveryJournal::SetNotesFile(const std::wstring& notesPath)
{
    file.Close();
    path = notesPath + L".journal";
    blocked = false;
    changes.clear();
    changeOfDay.clear();
    compactAt = 0;
}

std::vector<core::DayNote> RecoveryJournal::ReadLeftover()
{
    core::Bytes bytes;
    const DWORD error = fw::ReadWholeFile(path, bytes);
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
        return {};
    }
    for (const core::DayNote& note : contents.records)
        Remember(note);
    return contents.records;
}

DWORD RecoveryJournal::Record(const core::DayNote& note)
{
    if (blocked || path.empty())
        return ERROR_ACCESS_DENIED;
    Remember(note);
    if (!file.IsOpen()) {
        if (const DWORD error = file.Open(path); error != ERROR_SUCCESS)
            return error;
        // A file left without a single whole record starts over.
        if (file.Size() < core::JOURNAL_MAGIC_SIZE)
            return Compact();
    }
    if (const DWORD error = file.Append(core::JournalRecord(note)); error != ERROR_SUCCESS)
        return error;
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
    const core::Bytes bytes = JournalOf(changes);
    if (const DWORD error = fw::ReplaceFileAtomically(path, bytes); error != ERROR_SUCCESS)
        return error;
    compactAt = std::max<std::uint64_t>(SMALLEST_COMPACTION, 2 * bytes.size());
    return file.Open(path);
}

void RecoveryJournal::Discard()
{
    file.Close();
    changes.clear();
    changeOfDay.clear();
    if (!blocked && !path.empty())
        DeleteFileW(path.c_str());
}

void RecoveryJournal::Remember(const core::DayNote& note)
{
    const auto known = changeOfDay.find(note.key);
    // The day being typed into is the latest change already, time after time.
    if (known != changeOfDay.end() && known->second + 1 == changes.size()) {
        changes.back().text = note.text;
        return;
    }
    if (known != changeOfDay.end()) {
        changes.erase(changes.begin() + static_cast<std::ptrdiff_t>(known->second));
        for (auto& [key, position] : changeOfDay)
            if (position > known->second)
                --position;
    }
    changeOfDay[note.key] = changes.size();
    changes.push_back(note);
}
