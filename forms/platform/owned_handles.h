// Owners of the platform's handles, for the programs and for the two libraries alike (they
// take this header alone, never the rest of the form layer). Each owner is move-only and
// releases what it holds in its destructor, so an early return or a thrown error between
// acquiring a handle and releasing it cannot leak it: get() lends the handle, release()
// hands it on (the one place where ownership leaves, as when a host takes a block over),
// reset() releases it early, put() receives one from a function that writes it back.
#pragma once
#include <windows.h>

#include <utility>

namespace forms {

template <class Traits>
class Owned {
 public:
  using Handle = typename Traits::Handle;

  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  ~Owned() { reset(); }
  Owned(Owned&& other) noexcept : handle_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::Valid(handle_); }
  [[nodiscard]] Handle release() { return std::exchange(handle_, Traits::None()); }
  void reset(Handle handle = Traits::None()) {
    Handle old = std::exchange(handle_, handle);
    if (Traits::Valid(old)) Traits::Close(old);
  }
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::None();
};

namespace owned_traits {

// Kernel objects: files, processes, threads, tokens. The platform answers a failure with
// null or with INVALID_HANDLE_VALUE depending on the function; neither is held.
struct Kernel {
  using Handle = HANDLE;
  static Handle None() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { CloseHandle(h); }
};

struct Find {
  using Handle = HANDLE;
  static Handle None() { return INVALID_HANDLE_VALUE; }
  static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { FindClose(h); }
};

struct Key {
  using Handle = HKEY;
  static Handle None() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { RegCloseKey(h); }
};

struct Global {
  using Handle = HGLOBAL;
  static Handle None() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { GlobalFree(h); }
};

struct Module {
  using Handle = HMODULE;
  static Handle None() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { FreeLibrary(h); }
};

template <class T>
struct GdiObject {
  using Handle = T;
  static Handle None() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { DeleteObject(h); }
};

struct MemoryDC {
  using Handle = HDC;
  static Handle None() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { DeleteDC(h); }
};

template <class T>
struct Local {
  using Handle = T;
  static Handle None() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { LocalFree(h); }
};

}  // namespace owned_traits

using UniqueHandle = Owned<owned_traits::Kernel>;
using UniqueFind = Owned<owned_traits::Find>;
using UniqueKey = Owned<owned_traits::Key>;
// A global-memory block, movable or fixed.
using UniqueGlobal = Owned<owned_traits::Global>;
using UniqueModule = Owned<owned_traits::Module>;
// A pen, brush, font, bitmap or region. It must no longer be selected into any DC when it
// goes: declare it before the SelectionGuard that selects it.
template <class T>
using UniqueGdiObject = Owned<owned_traits::GdiObject<T>>;
// A DC of CreateCompatibleDC.
using UniqueMemoryDC = Owned<owned_traits::MemoryDC>;
// Memory of LocalAlloc that a function hands over, as CommandLineToArgvW its list.
template <class T>
using UniqueLocal = Owned<owned_traits::Local<T>>;

// Closes the object now and tells whether the close went through: a written file may report
// only there that its last bytes did not reach the disk, which a destructor cannot tell.
inline bool CloseChecked(UniqueHandle& handle) {
  // INVALID_HANDLE_VALUE is also the process's own pseudo-handle, which "closes" fine.
  if (!handle) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return CloseHandle(handle.release()) != FALSE;
}

// A global-memory block held locked: GlobalLock in, GlobalUnlock out. Locking a null block
// gives null, and so does a block that cannot be locked.
class GlobalLockGuard {
 public:
  GlobalLockGuard() = default;
  explicit GlobalLockGuard(HGLOBAL block) : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
  ~GlobalLockGuard() { reset(); }
  GlobalLockGuard(GlobalLockGuard&& other) noexcept
      : block_(std::exchange(other.block_, nullptr)), data_(std::exchange(other.data_, nullptr)) {}
  GlobalLockGuard& operator=(GlobalLockGuard&& other) noexcept {
    if (this != &other) {
      reset();
      block_ = std::exchange(other.block_, nullptr);
      data_ = std::exchange(other.data_, nullptr);
    }
    return *this;
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

  template <class T = char>
  T* get() const {
    return static_cast<T*>(data_);
  }
  explicit operator bool() const { return data_ != nullptr; }
  void reset() {
    if (data_) GlobalUnlock(block_);
    block_ = nullptr;
    data_ = nullptr;
  }

 private:
  HGLOBAL block_ = nullptr;
  void* data_ = nullptr;
};

// The DC of a window (of the screen for a null window): GetDC in, ReleaseDC out.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() { reset(); }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void reset() {
    if (dc_) ReleaseDC(window_, dc_);
    dc_ = nullptr;
  }

 private:
  HWND window_;
  HDC dc_;
};

// Painting a window: BeginPaint in, EndPaint out.
class PaintDC {
 public:
  explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDC() { EndPaint(window_, &paint_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a DC; the one it replaced goes back in when the guard goes, also
// when other objects were selected in between. Nothing selected (a null DC or object) puts
// nothing back.
class SelectionGuard {
 public:
  SelectionGuard() = default;
  SelectionGuard(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~SelectionGuard() { reset(); }
  SelectionGuard(SelectionGuard&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {}
  SelectionGuard& operator=(SelectionGuard&& other) noexcept {
    if (this != &other) {
      reset();
      dc_ = std::exchange(other.dc_, nullptr);
      previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
  }
  SelectionGuard(const SelectionGuard&) = delete;
  SelectionGuard& operator=(const SelectionGuard&) = delete;

  explicit operator bool() const { return previous_ != nullptr; }
  void reset() {
    if (previous_) SelectObject(dc_, previous_);
    dc_ = nullptr;
    previous_ = nullptr;
  }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// The whole drawing state of a DC (clipping, selections, colours), put back as it was.
class SavedDCState {
 public:
  explicit SavedDCState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDCState() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  SavedDCState(const SavedDCState&) = delete;
  SavedDCState& operator=(const SavedDCState&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// The clipboard, open for this call: OpenClipboard in, CloseClipboard out. While it stays
// open no other program can use the clipboard.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenedClipboard() { reset(); }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;

  explicit operator bool() const { return open_; }
  void reset() {
    if (open_) CloseClipboard();
    open_ = false;
  }

 private:
  bool open_;
};

}  // namespace forms
