// Data files read and replaced whole.
#include "framework/DiskFile.h"

#include "framework/Files.h"

namespace fw {

bool DiskFile::ReadAll(core::Bytes& bytes)
{
    return Record(ReadWholeFile(path, bytes));
}

bool DiskFile::Replace(const core::Bytes& bytes)
{
    return Record(ReplaceFileAtomically(path, bytes));
}

bool DiskFile::Record(DWORD error)
{
    lastError = error;
    return error == ERROR_SUCCESS;
}

}  // namespace fw
