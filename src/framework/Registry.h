// Values under the current user's registry key, read, written and deleted one at a time, with
// the system's reason for a failure.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace fw {

// A registry value as stored: its type and its bytes.
struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

// Reads value `name` of `key`, a path under the user's key. Returns ERROR_SUCCESS,
// ERROR_FILE_NOT_FOUND when the key or the value is missing, or the system's error.
DWORD ReadUserValue(const std::wstring& key, const std::wstring& name, RegistryValue& value);

// Writes value `name` of `key`, creating the key when it is missing. Returns ERROR_SUCCESS
// or the system's error.
DWORD WriteUserValue(const std::wstring& key, const std::wstring& name, const RegistryValue& value);

// Deletes value `name` of `key`. Returns ERROR_SUCCESS, also when there was no such value, or
// the system's error.
DWORD DeleteUserValue(const std::wstring& key, const std::wstring& name);

// Opens `key`, a path under the user's key, with `access`; the caller closes it. Returns
// ERROR_SUCCESS, ERROR_FILE_NOT_FOUND when the key is missing, or the system's error.
DWORD OpenUserKey(const std::wstring& key, REGSAM access, HKEY& opened);

// Tests keep their values under a key of their own: every later call works under `root`
// (not owned) instead of HKEY_CURRENT_USER; nullptr restores the user's key.
void SetUserRegistryRoot(HKEY root);

}  // namespace fw
