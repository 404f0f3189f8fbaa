// A data file that keeps the files its saves replaced, as numbered backups beside it.
#pragma once

#include <string>
#include <utility>

#include "core/NoteStore.h"
#include "framework/DiskFile.h"
#include "framework/Files.h"

// A replacement that changes the file keeps the replaced one as "<path>.bak1", the one before
// as ".bak2", and so on up to ".bak<backupCount>" (at least 1); a replacement with the same
// bytes changes nothing.
class BackedUpFile : public fw::DiskFile {
public:
    BackedUpFile(std::wstring filePath, int backupCount) : DiskFile(std::move(filePath)), backups(backupCount) {}

    bool Replace(const core::Bytes& bytes) override;

    std::wstring BackupPath(int generation) const;

private:
    void KeepBackup(const core::Bytes& replaced) const;

    int backups;
};
