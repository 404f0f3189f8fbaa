// The notes file as this run knows it: where it is read and written, the notes it held when
// this run last read or wrote it (the base that changes made elsewhere are merged against),
// its backups and its recovery journal.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/NoteStore.h"
#include "core/NotesJournal.h"
#include "framework/Files.h"
#include "notes/RecoveryJournal.h"

// How many earlier notes files a save keeps beside the notes file.
constexpr int NOTES_BACKUP_COUNT = 3;

class NotesFile {
public:
    // Reads the notes at `readPath` into `store`; the file of this run, saved and watched, is
    // `path`. False when it could not be read: a file that is there all the same is kept
    // aside before the first save replaces it.
    bool Load(const std::wstring& readPath, const std::wstring& filePath, core::NoteStore& store);
    // Applies the changes a run that ended without closing left in the journal, merged with
    // the notes file as it is now, and saves at once. True when there were any. A save that
    // fails keeps them in the journal for the next start.
    bool Recover(core::NoteStore& store);

    // Writes `store`, after merging into it a file changed elsewhere since this run read it.
    // The replaced file is kept as the newest of NOTES_BACKUP_COUNT backups; a save that
    // succeeds removes the journal. False, with the reason added to `failures`, when the file
    // could not be written, or could not be read first: a file is never replaced unread.
    bool Save(core::NoteStore& store, std::vector<fw::FileFailure>& failures);

    // CannotRead: the file is there but reading it failed (another program holds it, a share
    // dropped); a save then fails with the read's reason.
    enum class Merge { Unchanged, Merged, Unreadable, CannotRead };
    // Merges the file into `store` when it differs from the base and reads whole; the base is
    // then the file. A file that is half written, or no notes file, is left for its next change.
    Merge MergeChanges(core::NoteStore& store);
    // Whether the file's size or time differs from when this run last read or wrote it.
    bool ChangedSinceSeen() const;

    // A day's text in the base.
    std::string BaseText(const std::string& key);
    RecoveryJournal& Journal() { return journal; }
    // This run's changes are given up: the journal goes, but for changes recovered at start
    // that could not be saved then, which are not this run's to give up.
    void DiscardJournal();
    const std::wstring& Path() const { return path; }

private:
    struct Stamp {
        ULONGLONG size = 0;
        FILETIME written{};
        bool exists = false;
    };
    static Stamp StampOf(const std::wstring& file);
    const core::NoteStore& Base();
    void TakeBase(core::Bytes bytes);
    bool KeepUnreadFile(std::vector<fw::FileFailure>& failures);

    std::wstring path;
    // The file's bytes as last read or written, and the notes they hold, read when first needed.
    core::Bytes baseBytes;
    std::unique_ptr<core::NoteStore> base;
    Stamp seen;
    // The file is there but could not be read: it is copied aside before it is replaced.
    bool unread = false;
    DWORD readError = ERROR_SUCCESS;
    RecoveryJournal journal;
    std::vector<core::JournalEntry> unsavedRecovery;
};
