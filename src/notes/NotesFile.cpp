// Reading, merging, saving and recovering the notes file.
#include "notes/NotesFile.h"

#include <algorithm>
#include <unordered_map>

#include "core/FormatMoment.h"
#include "core/NotesMerge.h"
#include "core/Numerals.h"
#include "framework/AnsiCodePage.h"
#include "framework/SystemTime.h"
#include "framework/Text.h"
#include "notes/BackedUpFile.h"

namespace {

// Bytes already read, handed to the store's reader.
class ReadBytes : public core::DataFile {
public:
    explicit ReadBytes(const core::Bytes& read) : bytes(read) {}
    bool ReadAll(core::Bytes& out) override
    {
        out = bytes;
        return true;
    }
    bool Replace(const core::Bytes&) override { return false; }

private:
    const core::Bytes& bytes;
};

// The notes file, keeping what was written to it.
class WrittenFile : public BackedUpFile {
public:
    using BackedUpFile::BackedUpFile;
    bool Replace(const core::Bytes& bytes) override
    {
        if (!BackedUpFile::Replace(bytes))
            return false;
        written = bytes;
        return true;
    }
    core::Bytes written;
};

}  // namespace

bool NotesFile::Load(const std::wstring& readPath, const std::wstring& filePath, core::NoteStore& store)
{
    path = filePath;
    journal.SetNotesFile(path);
    core::Bytes bytes;
    const DWORD error = fw::ReadWholeFile(readPath, bytes);
    ReadBytes read(bytes);
    if (error == ERROR_SUCCESS && store.Load(read, fw::SystemCodePage())) {
        seen = StampOf(path);
        TakeBase(std::move(bytes));
        return true;
    }
    unread = fw::FileExists(readPath);
    seen = StampOf(path);
    TakeBase({});
    return false;
}

bool NotesFile::Recover(core::NoteStore& store)
{
    std::vector<core::JournalEntry> records = journal.ReadLeftover();
    const bool changes = std::any_of(records.begin(), records.end(), [](const core::JournalEntry& entry) {
        return entry.kind == core::JournalKind::Change;
    });
    if (!changes) {
        journal.Discard();
        return false;
    }
    core::ApplyJournal(records, store);
    unsavedRecovery = std::move(records);
    std::vector<fw::FileFailure> failures;
    // Saved or not, nothing is lost: a failed save leaves the changes in the journal, without
    // the torn record that may have ended it.
    if (!Save(store, failures))
        journal.Compact();
    return true;
}

bool NotesFile::Save(core::NoteStore& store, std::vector<fw::FileFailure>& failures)
{
    const Merge merge = MergeChanges(store);
    if (merge == Merge::CannotRead) {
        failures.push_back({path, readError});
        return false;
    }
    // A file that changed elsewhere into something that cannot be read is the user's too.
    if (merge == Merge::Unreadable)
        unread = true;
    if (unread && !KeepUnreadFile(failures))
        return false;
    WrittenFile file(path, NOTES_BACKUP_COUNT);
    if (!store.Save(file, fw::SystemCodePage())) {
        // A save that failed before the file said anything ran out of memory making the bytes.
        failures.push_back({path, file.LastError() != ERROR_SUCCESS ? file.LastError() : ERROR_NOT_ENOUGH_MEMORY});
        return false;
    }
    TakeBase(std::move(file.written));
    seen = StampOf(path);
    unsavedRecovery.clear();
    journal.Discard();
    return true;
}

NotesFile::Merge NotesFile::MergeChanges(core::NoteStore& store)
{
    core::Bytes bytes;
    const Stamp stamp = StampOf(path);
    if (const DWORD error = fw::ReadWholeFile(path, bytes); error != ERROR_SUCCESS) {
        // A file removed elsewhere holds nothing to merge; one that is there is read first.
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return Merge::Unchanged;
        readError = error;
        return Merge::CannotRead;
    }
    seen = stamp;
    if (bytes == baseBytes)
        return Merge::Unchanged;
    core::NoteStore theirs;
    if (!theirs.Read(bytes.data(), bytes.size(), fw::SystemCodePage()))
        return Merge::Unreadable;
    core::MergeNotes(Base(), store, theirs);
    *base = std::move(theirs);
    baseBytes = std::move(bytes);
    return Merge::Merged;
}

bool NotesFile::ChangedSinceSeen() const
{
    const Stamp now = StampOf(path);
    return now.exists != seen.exists || now.size != seen.size ||
           CompareFileTime(&now.written, &seen.written) != 0;
}

std::string NotesFile::BaseText(const std::string& key)
{
    return Base().Lookup(key);
}

void NotesFile::DiscardJournal()
{
    journal.Discard();
    std::unordered_map<std::string, std::string> bases;
    for (const core::JournalEntry& entry : unsavedRecovery) {
        if (entry.kind == core::JournalKind::Base)
            bases[entry.note.key] = entry.note.text;
        else
            journal.Record(entry.note, bases[entry.note.key]);
    }
}

NotesFile::Stamp NotesFile::StampOf(const std::wstring& file)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data))
        return {};
    return {(static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow, data.ftLastWriteTime, true};
}

const core::NoteStore& NotesFile::Base()
{
    if (!base) {
        base = std::make_unique<core::NoteStore>();
        // Bytes that did not read at start give the notes read before the fault, as the store has.
        base->Read(baseBytes.data(), baseBytes.size(), fw::SystemCodePage());
    }
    return *base;
}

// The notes of the new base are read only when a merge or the journal needs them.
void NotesFile::TakeBase(core::Bytes bytes)
{
    baseBytes = std::move(bytes);
    base.reset();
}

// Copies a notes file that could not be read to "<name>.damaged-YYYYMMDD-HHMMSS" beside it,
// so that nothing the user wrote is lost when the save replaces it. False, with the reason
// recorded, when no copy could be made: the file must then stay as it is.
bool NotesFile::KeepUnreadFile(std::vector<fw::FileFailure>& failures)
{
    if (!fw::FileExists(path)) {
        unread = false;
        return true;
    }
    const std::wstring stamp = fw::Widen(core::FormatMoment(fw::TimeSource(), fw::TimeSource().Now(), "%Y%m%d-%H%M%S"));
    const std::wstring copyBase = path + L".damaged-" + stamp;
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 1; attempt < 100 && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS); ++attempt)
        error = fw::CopyToNewFile(path, attempt == 1 ? copyBase : copyBase + L"-" + core::WideDecimal(attempt));
    if (error != ERROR_SUCCESS) {
        failures.push_back({path, error});
        return false;
    }
    unread = false;
    return true;
}
