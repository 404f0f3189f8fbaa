// The program's entry in the user's Run key, and Task Manager's mark beside it.
#include "ui/StartWithWindows.h"

#include <cstring>
#include <utility>

#include "framework/Files.h"
#include "framework/Registry.h"

namespace {

// Both keys are the user's own: starting with Windows is one user's choice, never the machine's.
const std::wstring runKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Where Task Manager records the entries that the user turned off there: a binary value of
// twelve bytes per entry, whose first byte is odd (3) while the entry is off and even (2)
// once it is on again. Windows does not start an entry marked off.
const std::wstring approvedKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
const std::wstring entryName = L"Dayvane";

// The command a string value holds, expanded as the logon expands it; empty for any other value.
std::wstring CommandOf(const fw::RegistryValue& value)
{
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ)
        return {};
    std::wstring text(value.bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), value.bytes.data(), text.size() * sizeof(wchar_t));
    text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
    if (value.type == REG_SZ)
        return text;
    const DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    std::wstring expanded(size, L'\0');
    expanded.resize(size ? ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size) - 1 : 0);
    return expanded;
}

fw::RegistryValue StringValue(const std::wstring& text)
{
    fw::RegistryValue value;
    value.type = REG_SZ;
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    value.bytes.assign(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
    return value;
}

bool MarkedOff()
{
    fw::RegistryValue mark;
    return fw::ReadUserValue(approvedKey, entryName, mark) == ERROR_SUCCESS && mark.type == REG_BINARY &&
           !mark.bytes.empty() && (mark.bytes[0] & 1) != 0;
}

}  // namespace

std::wstring StartWithWindows::RunningProgram()
{
    return fw::ProgramFile();
}

StartWithWindows::StartWithWindows(std::wstring programFile) : program(std::move(programFile)) {}

bool StartWithWindows::IsOn() const
{
    return PointsHere() && !MarkedOff();
}

DWORD StartWithWindows::Toggle() const
{
    return IsOn() ? fw::DeleteUserValue(runKey, entryName) : TurnOn();
}

DWORD StartWithWindows::RemoveIfHere() const
{
    if (!PointsHere())
        return ERROR_SUCCESS;
    const DWORD error = fw::DeleteUserValue(runKey, entryName);
    return error != ERROR_SUCCESS ? error : fw::DeleteUserValue(approvedKey, entryName);
}

// The logon runs the value as a command line: the path is quoted, since it may hold spaces.
// Paths are compared as Windows compares them, without regard to case.
bool StartWithWindows::PointsHere() const
{
    fw::RegistryValue value;
    if (fw::ReadUserValue(runKey, entryName, value) != ERROR_SUCCESS)
        return false;
    const std::wstring quoted = L"\"" + program + L"\"";
    const std::wstring command = CommandOf(value);
    return CompareStringOrdinal(command.c_str(), static_cast<int>(command.size()), quoted.c_str(),
                                static_cast<int>(quoted.size()), TRUE) == CSTR_EQUAL;
}

// The value first: when the mark cannot be cleared after it, the value is put back as it was.
DWORD StartWithWindows::TurnOn() const
{
    fw::RegistryValue previous;
    const DWORD found = fw::ReadUserValue(runKey, entryName, previous);
    if (found != ERROR_SUCCESS && found != ERROR_FILE_NOT_FOUND)
        return found;
    DWORD error = fw::WriteUserValue(runKey, entryName, StringValue(L"\"" + program + L"\""));
    if (error != ERROR_SUCCESS || !MarkedOff())
        return error;
    error = fw::DeleteUserValue(approvedKey, entryName);
    if (error != ERROR_SUCCESS) {
        if (found == ERROR_SUCCESS)
            fw::WriteUserValue(runKey, entryName, previous);
        else
            fw::DeleteUserValue(runKey, entryName);
    }
    return error;
}
