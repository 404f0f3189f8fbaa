// The numbered backups of a data file.
#include "notes/BackedUpFile.h"

#include "core/Numerals.h"

bool BackedUpFile::Replace(const core::Bytes& bytes)
{
    core::Bytes replaced;
    if (fw::ReadWholeFile(Path(), replaced) == ERROR_SUCCESS) {
        if (replaced == bytes)
            return Record(ERROR_SUCCESS);
        KeepBackup(replaced);
    }
    return DiskFile::Replace(bytes);
}

// Moves each older generation one up, the oldest dropped, then writes the file about to be
// replaced as "<path>.bak1". Every step replaces a whole file in one move, so a kill at any
// point leaves each backup that exists a complete earlier file. A backup that cannot be made
// is left out: the save goes on.
void BackedUpFile::KeepBackup(const core::Bytes& replaced) const
{
    for (int generation = backups - 1; generation >= 1; --generation)
        fw::MoveReplacing(BackupPath(generation), BackupPath(generation + 1));
    fw::ReplaceFileAtomically(BackupPath(1), replaced);
}

std::wstring BackedUpFile::BackupPath(int generation) const
{
    return Path() + L".bak" + core::WideDecimal(generation);
}
