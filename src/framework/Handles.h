// Owning, move-only wrappers for GDI objects, menus and kernel handles, and a scoped
// selection guard.
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

struct DeleteGdiObject {
    bool operator()(HGDIOBJ object) const { return DeleteObject(object) != FALSE; }
};
struct DestroyIconHandle {
    bool operator()(HICON icon) const { return DestroyIcon(icon) != FALSE; }
};
struct DestroyMenuHandle {
    bool operator()(HMENU menu) const { return DestroyMenu(menu) != FALSE; }
};
// A window that its owner or parent destroyed first is gone already.
struct DestroyWindowHandle {
    bool operator()(HWND window) const { return !IsWindow(window) || DestroyWindow(window) != FALSE; }
};
struct CloseKernelHandle {
    bool operator()(HANDLE handle) const { return CloseHandle(handle) != FALSE; }
};

// Owns one platform handle and frees it when replaced or destroyed. Copying would free
// the handle twice, so only moves are allowed.
template <class Handle, class Free>
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle owned) : handle(owned) {}
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : handle(other.Detach()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept
    {
        Attach(other.Detach());
        return *this;
    }
    ~OwnedHandle() { Attach(nullptr); }

    Handle Get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }

    // Frees the handle held so far and takes ownership of `replacement`.
    void Attach(Handle replacement)
    {
        if (handle && handle != replacement)
            Free{}(handle);
        handle = replacement;
    }
    Handle Detach() { return std::exchange(handle, nullptr); }
    // Frees the handle now; false when the system reported a failure (a written file whose
    // last data could not be stored, say).
    bool Close() { return !handle || Free{}(Detach()); }

private:
    Handle handle = nullptr;
};

using CPen = OwnedHandle<HPEN, DeleteGdiObject>;
using CBrush = OwnedHandle<HBRUSH, DeleteGdiObject>;
using CFont = OwnedHandle<HFONT, DeleteGdiObject>;
using CRgn = OwnedHandle<HRGN, DeleteGdiObject>;
using CMenu = OwnedHandle<HMENU, DestroyMenuHandle>;
// An icon made at a size of the program's choosing (LoadImage without LR_SHARED).
using CIcon = OwnedHandle<HICON, DestroyIconHandle>;
// A window the program made for itself, such as a tooltip.
using CWindow = OwnedHandle<HWND, DestroyWindowHandle>;
// A kernel object, such as an open file. INVALID_HANDLE_VALUE, which CreateFile returns on
// failure, is held as no handle at all.
class CHandle : public OwnedHandle<HANDLE, CloseKernelHandle> {
public:
    CHandle() = default;
    explicit CHandle(HANDLE owned) : OwnedHandle(owned == INVALID_HANDLE_VALUE ? nullptr : owned) {}
};

// Appends `popup` to `parent` as a submenu. The parent owns it from then on and destroys it
// with itself; if it could not be appended, it is destroyed here. Returns a view of it.
inline HMENU AppendPopup(HMENU parent, CMenu popup, const wchar_t* text)
{
    if (!AppendMenuW(parent, MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Get()), text))
        return nullptr;
    return popup.Detach();
}

// Selects an object into a device context and restores the previous one on scope exit.
class SelectGuard {
public:
    SelectGuard(HDC target, HGDIOBJ object) : dc(target), previous(SelectObject(target, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { SelectObject(dc, previous); }

private:
    HDC dc;
    HGDIOBJ previous;
};

}  // namespace fw
