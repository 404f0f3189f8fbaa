// The MSI package's custom action: at an uninstall, the "Start with Windows" entry goes when
// it points at the program being removed.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>

#include "ui/StartWithWindows.h"

namespace {

std::wstring Property(MSIHANDLE install, const wchar_t* name)
{
    DWORD size = 0;
    wchar_t none[1] = L"";
    MsiGetPropertyW(install, name, none, &size);
    std::wstring value(++size, L'\0');
    if (MsiGetPropertyW(install, name, value.data(), &size) != ERROR_SUCCESS)
        return {};
    value.resize(size);
    return value;
}

void Log(MSIHANDLE install, const std::wstring& text)
{
    const MSIHANDLE record = MsiCreateRecord(0);
    MsiRecordSetStringW(record, 0, text.c_str());
    MsiProcessMessage(install, INSTALLMESSAGE_INFO, record);
    MsiCloseHandle(record);
}

}  // namespace

// A deferred action sees only its data: here the installed program file. An entry left behind
// harms nothing that Task Manager cannot mend, so a failure is logged and the uninstall goes on.
extern "C" __declspec(dllexport) UINT __stdcall RemoveStartupEntry(MSIHANDLE install)
{
    const std::wstring program = Property(install, L"CustomActionData");
    const DWORD error = program.empty() ? ERROR_INVALID_DATA : StartWithWindows(program).RemoveIfHere();
    if (error != ERROR_SUCCESS)
        Log(install, L"Dayvane: the Start with Windows entry could not be removed, error " + std::to_wstring(error));
    return ERROR_SUCCESS;
}
