// Reading and atomically replacing files on the platform: a save that fails at any point
// leaves the old file as it was and nothing else behind.
#include <gtest/gtest.h>

#include <algorithm>

#include "Harness.h"
#include "core/DataFilePath.h"
#include "framework/AnsiCodePage.h"
#include "framework/DiskFile.h"
#include "framework/Files.h"
#include "notes/BackedUpFile.h"

namespace {

// Lets `limit` bytes through, then fails as a full disk does.
class FailingSeam : public fw::WriteSeam {
public:
    explicit FailingSeam(std::size_t bytesAllowed) : limit(bytesAllowed) {}

    bool Write(HANDLE file, const std::uint8_t* data, DWORD size, DWORD& error) override
    {
        const DWORD allowed = static_cast<DWORD>(std::min<std::size_t>(size, limit - done));
        DWORD written = 0;
        if (allowed > 0 && !WriteFile(file, data, allowed, &written, nullptr))
            written = 0;
        done += written;
        if (allowed < size) {
            error = ERROR_DISK_FULL;
            return false;
        }
        return true;
    }

private:
    std::size_t limit;
    std::size_t done = 0;
};

class SeamScope {
public:
    explicit SeamScope(fw::WriteSeam& seam) { fw::SetWriteSeam(&seam); }
    ~SeamScope() { fw::SetWriteSeam(nullptr); }
};

core::Bytes NotesFileOf(std::size_t notes)
{
    core::NoteStore store;
    for (std::size_t i = 0; i < notes; ++i)
        store.SetNote({std::to_string(100000 + i), "note number " + std::to_string(i)});
    store.SetNote({"311299", "\u65e5\u672c\u8a9e"});
    return store.Write(fw::SystemCodePage());
}

std::string AsText(const core::Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

TEST(Files, ASaveThatFailsAtAnyWritePositionLeavesTheOldFile)
{
    gui::TempFolder folder;
    const std::wstring path = folder.File(L"qor_nots.dat");
    const std::string old = AsText(NotesFileOf(3));
    ASSERT_TRUE(gui::WriteFileBytes(path, old));
    const core::Bytes replacement = NotesFileOf(12);
    ASSERT_GT(replacement.size(), old.size());

    for (std::size_t limit = 0; limit < replacement.size(); ++limit) {
        FailingSeam seam(limit);
        SeamScope scope(seam);
        EXPECT_EQ(fw::ReplaceFileAtomically(path, replacement), static_cast<DWORD>(ERROR_DISK_FULL)) << limit;
        const auto contents = folder.Contents();
        ASSERT_EQ(contents.size(), 1u) << "a temporary file was left after failing at byte " << limit;
        ASSERT_EQ(contents.begin()->second, old) << "the old file changed after failing at byte " << limit;
    }
    FailingSeam enough(replacement.size());
    SeamScope scope(enough);
    EXPECT_EQ(fw::ReplaceFileAtomically(path, replacement), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(gui::ReadFileBytes(path), AsText(replacement));
    EXPECT_EQ(folder.Contents().size(), 1u);
}

// While a save writes, a copy of the program starting in the same folder clears what killed
// saves left there: the file being written is one of this process's own and stays.
class StartingCopySeam : public fw::WriteSeam {
public:
    explicit StartingCopySeam(const gui::TempFolder& watched) : folder(watched) {}

    bool Write(HANDLE file, const std::uint8_t* data, DWORD size, DWORD& error) override
    {
        fw::DeleteLeftoverTemporaries(folder.Path() + L"\\");
        for (const auto& entry : folder.Contents())
            if (entry.first != L"qor_nots.dat")
                temporaries.push_back(entry.first);
        DWORD written = 0;
        if (WriteFile(file, data, size, &written, nullptr) && written == size)
            return true;
        error = GetLastError();
        return false;
    }

    const gui::TempFolder& folder;
    std::vector<std::wstring> temporaries;
};

TEST(Files, ASaveKeepsItsTemporaryFileFromACopyOfTheProgramStartingMeanwhile)
{
    gui::TempFolder folder;
    const std::wstring path = folder.File(L"qor_nots.dat");
    ASSERT_TRUE(gui::WriteFileBytes(path, "old"));
    StartingCopySeam seam(folder);
    {
        SeamScope scope(seam);
        EXPECT_EQ(fw::ReplaceFileAtomically(path, NotesFileOf(3)), static_cast<DWORD>(ERROR_SUCCESS));
    }
    EXPECT_EQ(gui::ReadFileBytes(path), AsText(NotesFileOf(3)));
    ASSERT_EQ(seam.temporaries.size(), 1u);
    EXPECT_EQ(seam.temporaries[0], core::TemporaryName(fw::TemporaryPrefix(), GetCurrentProcessId(), 0));
    EXPECT_EQ(folder.Contents().size(), 1u);
}

TEST(Files, AFileHeldByAnotherProgramIsNeitherReadNorReplaced)
{
    gui::TempFolder folder;
    const std::wstring path = folder.File(L"qor_info.dat");
    ASSERT_TRUE(gui::WriteFileBytes(path, "old contents"));
    HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    fw::DiskFile file(path);
    core::Bytes bytes;
    EXPECT_FALSE(file.ReadAll(bytes));
    EXPECT_EQ(file.LastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(file.Replace({'n', 'e', 'w'}));
    EXPECT_NE(file.LastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_FALSE(fw::SystemMessage(file.LastError()).empty());
    CloseHandle(holder);
    EXPECT_EQ(gui::ReadFileBytes(path), "old contents");
    EXPECT_EQ(folder.Contents().size(), 1u);

    EXPECT_TRUE(file.Replace({'n', 'e', 'w'}));
    EXPECT_TRUE(file.ReadAll(bytes));
    EXPECT_EQ(AsText(bytes), "new");
}

TEST(Files, MissingFilesAndFolders)
{
    gui::TempFolder folder;
    core::Bytes bytes;
    EXPECT_EQ(fw::ReadWholeFile(folder.File(L"absent.dat"), bytes), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(fw::FileExists(folder.File(L"absent.dat")));
    EXPECT_NE(fw::ReplaceFileAtomically(folder.File(L"no such folder\\x.dat"), {1}), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(folder.Contents().empty());
}

TEST(Files, TheSystemCodePageKeepsWhatItCannotHoldOutOfThePlainForm)
{
    std::string ansi;
    EXPECT_TRUE(fw::SystemCodePage().FromUtf8("plain ascii", ansi));
    EXPECT_EQ(ansi, "plain ascii");
    EXPECT_FALSE(fw::SystemCodePage().FromUtf8("\U0001F600", ansi));
    EXPECT_EQ(fw::SystemCodePage().ToUtf8(ansi = "abc"), "abc");
}

TEST(Files, EachChangingSaveKeepsTheFileItReplacedAsTheNewestOfThreeBackups)
{
    gui::TempFolder folder;
    const std::wstring path = folder.File(L"qor_nots.dat");
    BackedUpFile file(path, 3);
    const auto backups = [&] {
        std::vector<std::string> kept;
        for (int generation = 1; generation <= 4; ++generation)
            kept.push_back(fw::FileExists(file.BackupPath(generation)) ? gui::ReadFileBytes(file.BackupPath(generation))
                                                                       : "-");
        return kept;
    };
    const auto save = [&](const std::string& text) { return file.Replace(core::Bytes(text.begin(), text.end())); };

    ASSERT_TRUE(save("v1"));
    EXPECT_EQ(backups(), (std::vector<std::string>{"-", "-", "-", "-"}));
    ASSERT_TRUE(save("v2"));
    ASSERT_TRUE(save("v3"));
    EXPECT_EQ(backups(), (std::vector<std::string>{"v2", "v1", "-", "-"}));
    ASSERT_TRUE(save("v4"));
    ASSERT_TRUE(save("v5"));
    EXPECT_EQ(backups(), (std::vector<std::string>{"v4", "v3", "v2", "-"}));
    // The same bytes again change nothing at all.
    const auto before = folder.Contents();
    ASSERT_TRUE(save("v5"));
    EXPECT_EQ(folder.Contents(), before);

    // A backup held open by another program cannot move or be replaced: the save goes on.
    HANDLE holder = CreateFileW(file.BackupPath(1).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(save("v6"));
    CloseHandle(holder);
    EXPECT_EQ(gui::ReadFileBytes(path), "v6");
    EXPECT_EQ(backups()[0], "v4");
    // Nothing but the file and its backups is left in the folder.
    for (const auto& [name, bytes] : folder.Contents())
        EXPECT_EQ(name.rfind(L"qor_nots.dat", 0), 0u) << name.c_str();
}
