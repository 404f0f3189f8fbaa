// Values under the current user's registry key.
#include "framework/Registry.h"

#include "framework/Handles.h"

namespace fw {

namespace {

struct CloseRegistryKey {
    bool operator()(HKEY key) const { return RegCloseKey(key) == ERROR_SUCCESS; }
};
using CKey = OwnedHandle<HKEY, CloseRegistryKey>;

HKEY userRoot = nullptr;

HKEY Root()
{
    return userRoot ? userRoot : HKEY_CURRENT_USER;
}

}  // namespace

void SetUserRegistryRoot(HKEY root)
{
    userRoot = root;
}

DWORD OpenUserKey(const std::wstring& key, REGSAM access, HKEY& opened)
{
    return static_cast<DWORD>(RegOpenKeyExW(Root(), key.c_str(), 0, access, &opened));
}

DWORD ReadUserValue(const std::wstring& key, const std::wstring& name, RegistryValue& value)
{
    HKEY opened = nullptr;
    if (const DWORD error = OpenUserKey(key, KEY_QUERY_VALUE, opened); error != ERROR_SUCCESS)
        return error;
    const CKey owned(opened);
    // Another program may change the value between asking its size and reading it.
    for (;;) {
        DWORD size = 0;
        LSTATUS status = RegQueryValueExW(opened, name.c_str(), nullptr, &value.type, nullptr, &size);
        if (status != ERROR_SUCCESS)
            return static_cast<DWORD>(status);
        value.bytes.resize(size);
        status = RegQueryValueExW(opened, name.c_str(), nullptr, &value.type, value.bytes.data(), &size);
        if (status != ERROR_MORE_DATA) {
            value.bytes.resize(size);
            return static_cast<DWORD>(status);
        }
    }
}

DWORD WriteUserValue(const std::wstring& key, const std::wstring& name, const RegistryValue& value)
{
    HKEY created = nullptr;
    LSTATUS status = RegCreateKeyExW(Root(), key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                     &created, nullptr);
    if (status != ERROR_SUCCESS)
        return static_cast<DWORD>(status);
    const CKey owned(created);
    status = RegSetValueExW(created, name.c_str(), 0, value.type, value.bytes.data(),
                            static_cast<DWORD>(value.bytes.size()));
    return static_cast<DWORD>(status);
}

DWORD DeleteUserValue(const std::wstring& key, const std::wstring& name)
{
    HKEY opened = nullptr;
    LSTATUS status = RegOpenKeyExW(Root(), key.c_str(), 0, KEY_SET_VALUE, &opened);
    if (status == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS)
        return static_cast<DWORD>(status);
    const CKey owned(opened);
    status = RegDeleteValueW(opened, name.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : static_cast<DWORD>(status);
}

}  // namespace fw
