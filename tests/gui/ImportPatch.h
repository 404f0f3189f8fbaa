// Redirects one function this program (or another module of the process) imports from a
// system DLL, for as long as it lives, so a test can see every call that module makes to it.
#pragma once

#include <windows.h>

#include <cstring>

class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, void* replacement, HMODULE module = GetModuleHandleW(nullptr))
    {
        auto* base = reinterpret_cast<BYTE*>(module);
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
             entry->Name != 0; ++entry) {
            if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), dll) != 0)
                continue;
            auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
            for (; names->u1.AddressOfData != 0; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                    continue;
                const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0)
                    continue;
                slot = reinterpret_cast<void**>(&slots->u1.Function);
                original = *slot;
                Write(replacement);
                return;
            }
        }
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;
    ~ImportPatch()
    {
        if (slot)
            Write(original);
    }

    bool Patched() const { return slot != nullptr; }
    void* Original() const { return original; }

private:
    void Write(void* value)
    {
        DWORD protection = 0;
        VirtualProtect(slot, sizeof value, PAGE_READWRITE, &protection);
        *slot = value;
        VirtualProtect(slot, sizeof value, protection, &protection);
    }

    void** slot = nullptr;
    void* original = nullptr;
};
