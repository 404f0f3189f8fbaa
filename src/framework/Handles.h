// Owning, move-only wrappers for GDI objects and menus, and a scoped selection guard.
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyMenuHandle {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
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

private:
    Handle handle = nullptr;
};

using CPen = OwnedHandle<HPEN, DeleteGdiObject>;
using CBrush = OwnedHandle<HBRUSH, DeleteGdiObject>;
using CFont = OwnedHandle<HFONT, DeleteGdiObject>;
using CRgn = OwnedHandle<HRGN, DeleteGdiObject>;
using CMenu = OwnedHandle<HMENU, DestroyMenuHandle>;

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
