// Owned Windows handles and scoped GDI selections: each is released on every
// path. Handles that mean "none" as null and those that mean it as
// INVALID_HANDLE_VALUE are kept apart by type.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>

// A kernel file handle; INVALID_HANDLE_VALUE means none.
class UniqueFile {
public:
    explicit UniqueFile(HANDLE handle) : handle_(handle) {}
    ~UniqueFile() { Reset(); }
    UniqueFile(const UniqueFile&) = delete;
    UniqueFile& operator=(const UniqueFile&) = delete;

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Closes now; false when the close itself failed.
    bool Reset() {
        if (!Valid()) return true;
        const BOOL closed = CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE handle_;
};

struct KeyDeleter {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
// An open registry key; null means none.
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyDeleter>;

struct HandleDeleter {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
// A kernel object (an event) whose "none" is null.
using UniqueHandle = std::unique_ptr<void, HandleDeleter>;

struct ViewDeleter {
    void operator()(void* view) const { UnmapViewOfFile(view); }
};
// A view of a file mapping (MapViewOfFile); null means none.
using UniqueView = std::unique_ptr<void, ViewDeleter>;

struct LocalDeleter {
    void operator()(void* memory) const { LocalFree(memory); }
};
// Memory the system allocated for the caller with LocalAlloc (FormatMessage's
// buffer); null means none.
template <typename T>
using UniqueLocal = std::unique_ptr<T, LocalDeleter>;

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

// A GDI object (font, brush) that this code created; null means none.
template <typename Handle>
using UniqueGdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBrush = UniqueGdiObject<HBRUSH>;

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
// An icon this code loaded at a size of its own (not shared); null means none.
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// The device context of a window (of the screen for null), released when the
// object goes.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A top-level window this code created, destroyed with this object unless
// it went first (its WM_NCDESTROY then calls Forget).
class OwnedWindow {
public:
    OwnedWindow() = default;
    ~OwnedWindow() {
        if (HWND hwnd = std::exchange(hwnd_, nullptr)) DestroyWindow(hwnd);
    }
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;

    void Take(HWND hwnd) { hwnd_ = hwnd; }
    void Forget() { hwnd_ = nullptr; }
    HWND Get() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

// The clipboard, open for the lifetime of this object when Open() says so.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenClipboardScope() {
        if (open_) CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool Open() const { return open_; }

private:
    bool open_;
};

// A global memory object locked for the lifetime of this object; Get() is
// null when it could not be locked.
class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL memory)
        : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
    ~GlobalLockScope() {
        if (data_) GlobalUnlock(memory_);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
    const void* Get() const { return data_; }

private:
    HGLOBAL memory_;
    void* data_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
    ~PaintScope() { EndPaint(hwnd_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a device context for the lifetime of this object;
// the one selected before comes back at the end. A null object selects
// nothing.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
