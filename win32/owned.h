#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>

// Owners of the system's objects: each is freed once, by the call its kind
// needs, when its owner goes.

struct DeleteGdiObject {
    void operator()(void *object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <typename Handle> using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, DeleteGdiObject>;
using OwnedBrush = GdiObject<HBRUSH>;
using OwnedFont = GdiObject<HFONT>;
using OwnedBitmap = GdiObject<HBITMAP>;

struct DestroyIconHandle {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, DestroyIconHandle>;

struct DeleteDeviceContext {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DeleteDeviceContext>;

// An object selected into a device context while this lives; then the
// context's own again.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, old_); }
    Selection(const Selection &) = delete;
    Selection &operator=(const Selection &) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// One reference to a COM object.
template <typename T> class ComRef {
  public:
    ComRef() = default;
    explicit ComRef(T *adopted) : pointer_(adopted) {}
    ComRef(ComRef &&other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComRef &operator=(ComRef &&other) noexcept
    {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~ComRef()
    {
        if (pointer_)
            pointer_->Release();
    }
    T *operator->() const { return pointer_; }
    T *get() const { return pointer_; }
    // Where a function that hands out a reference writes it.
    T **out()
    {
        *this = ComRef();
        return &pointer_;
    }
    explicit operator bool() const { return pointer_ != nullptr; }

  private:
    T *pointer_ = nullptr;
};
