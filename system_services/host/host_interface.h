// What every export shares: the host record, the host-variable messages, the error reporters
// with the host switch that silences them, the wait cursor and the small path operations.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "forms/platform/owned_handles.h"
#include "system_services/host/message_format.h"
#include "system_services/host/message_table.h"
#include "system_services/host/path_text.h"

namespace rxsystem {

// The host's record, passed by address as the first argument of every export. The host is
// a 32-bit program: its layout binds the 32-bit build; a 64-bit build (tests only) widens
// what carries an address or a handle, and its stand-in host lays the record out likewise.
struct HostContext {
  uint32_t firstWord;  // not read
  HWND HostWindow;
  uint32_t ChildWindowFlag;
};

// Sent by address with the host-variable messages; zero-filled before each use.
struct HostVariableRecord {
  const char* VariableName;
  uint32_t word2;
  uint32_t word3;
  uint32_t IsSet;
  uint32_t IsNumber;
  uintptr_t VariableValue;  // a number, a text's address (set) or a global handle (string get)
  uint32_t word7;
};
#if defined(__i386__)
static_assert(sizeof(HostContext) == 12, "the host lays out three 32-bit fields");
static_assert(sizeof(HostVariableRecord) == 28, "the host reads seven 32-bit fields");
#endif

inline constexpr UINT HostGetVariable = 0x600B;
inline constexpr UINT HostSetVariable = 0x600C;

// Limits of the reporters' buffers, terminating NUL included.
inline constexpr size_t kCaptionBuffer = 80;
inline constexpr size_t kLoadedFormatBuffer = 400;
inline constexpr size_t kMessageBuffer = 404;
inline constexpr size_t kPlainMessageBuffer = 400;

extern HINSTANCE ModuleInstance;
extern HWND LastHostWindow;

BOOL LibraryEntry(HINSTANCE instance, DWORD reason, LPVOID reserved);

// The first step of every export that takes the record: LastHostWindow := its HostWindow.
// A null record is a failure like any other: reported (with no host window to consult) and
// false, and the export then returns its failure value.
bool EnterExport(const HostContext* context);

// Both skip the message when there is no host window: the get then answers 0, the set 1.
int32_t GetHostNumberVariable(HWND window, const char* name);
LRESULT SetHostStringVariable(HWND window, const char* name, const char* text);

void VeruWaitCursor();
void RestoreCursor();

// The wait cursor over a piece of work: up when made, restored on every way out. A box shown
// on the way has taken it down already, and the restore then finds nothing to do.
class WaitCursorGuard {
 public:
  WaitCursorGuard() { VeruWaitCursor(); }
  ~WaitCursorGuard() { RestoreCursor(); }
  WaitCursorGuard(const WaitCursorGuard&) = delete;
  WaitCursorGuard& operator=(const WaitCursorGuard&) = delete;
};

void ReportErrorWith(int id, std::span<const FormatArg> values);
void VeruErrorBoxWith(int id, std::span<const FormatArg> values);
void VeruPlainErrorWith(const char* format, std::span<const FormatArg> values);
bool AskYesNoWith(int captionId, int textId, std::span<const FormatArg> values);

template <class... V>
void ReportError(int id, V... values) {
  const std::array<FormatArg, sizeof...(V)> a{FormatArg(values)...};
  ReportErrorWith(id, a);
}
template <class... V>
void VeruErrorBox(int id, V... values) {
  const std::array<FormatArg, sizeof...(V)> a{FormatArg(values)...};
  VeruErrorBoxWith(id, a);
}
template <class... V>
void VeruPlainError(const char* format, V... values) {
  const std::array<FormatArg, sizeof...(V)> a{FormatArg(values)...};
  VeruPlainErrorWith(format, a);
}
template <class... V>
bool AskYesNo(int captionId, int textId, V... values) {
  const std::array<FormatArg, sizeof...(V)> a{FormatArg(values)...};
  return AskYesNoWith(captionId, textId, a);
}

// Where the reporters' beep and box go; tests put a recorder here.
struct MessageSeam {
  void (*beep)(UINT type);
  int (*box)(HWND owner, const char* text, const char* caption, UINT flags);
};
MessageSeam PlatformMessageSeam();
// Returns the seam that was in place.
MessageSeam ReplaceMessageSeam(MessageSeam seam);
// A box through the seam, for the exports that show the author's own boxes.
int SeamBox(HWND owner, const char* text, const char* caption, UINT flags);

// An absent or empty text from the host.
inline bool Missing(const char* text) { return !text || !*text; }

// A path counts as there unless reading its attributes fails with not-found: a denied folder
// or a share that does not answer is there, for creating, walking and choosing alike.
bool IsNotFoundError(DWORD error);
bool PathExists(const char* path);

// No exception may leave an export; the only ones the work can raise are allocations.
template <class R, class F>
R Guarded(R failure, F&& work) {
  try {
    return work();
  } catch (...) {
    VeruErrorBox(kInsufficientMemory);
    return failure;
  }
}

// A movable block that the export owns, held locked while it is filled. It is unlocked and
// freed on every way out, unless handed on: the host takes string results over unlocked.
class LockedBlock {
 public:
  LockedBlock() = default;
  // Takes over a locked block by the address of its bytes, as CopyToGlobalString gives it;
  // null takes nothing.
  explicit LockedBlock(char* lockedBytes);
  ~LockedBlock() { Unlock(); }
  LockedBlock(LockedBlock&& other) noexcept;
  LockedBlock& operator=(LockedBlock&& other) noexcept;
  LockedBlock(const LockedBlock&) = delete;
  LockedBlock& operator=(const LockedBlock&) = delete;

  char* text() const { return text_; }
  // Unlocks the block and hands it on.
  [[nodiscard]] HGLOBAL release();
  // The same, cut to size bytes first; a block that cannot shrink is handed on whole, which
  // holds the same text.
  [[nodiscard]] HGLOBAL shrinkAndRelease(size_t size);
  // Unlocks the block, gives it size bytes and locks it again; false when it could not grow
  // (it keeps its old size). text() is null when the block could not be locked again.
  bool resize(size_t size);
  void reset();

 private:
  friend char* NewLockedBlock(size_t size, LockedBlock& block);
  void Unlock();

  forms::UniqueGlobal block_;
  char* text_ = nullptr;
};

// A new zero-filled movable block, locked, in place of what the owner held; null, with no
// block left behind, when there is no memory (the caller decides whether that is worth a
// message).
char* NewLockedBlock(size_t size, LockedBlock& block);
// The same, for a result or working block of an export: null after the memory box.
char* NewResultBlock(size_t size, LockedBlock& block);
// A new zero-filled movable block of size bytes holding text (cut to fit), unlocked, as the
// host takes string results; null when there is no memory.
HGLOBAL BlockWith(std::string_view text, size_t size);

// A locked copy in movable global memory, for working copies; the caller unlocks and frees
// it. Null (after the memory box) when there is no memory.
char* CopyToGlobalString(const char* text);

// Creates every missing directory along the path; 0, or -1 (reported with id 9, except for a
// path without any backslash). The path is cut and mended during the call.
int CreatePathDirs(char* path);

}  // namespace rxsystem

extern "C" void __stdcall SysDisableErrors(const rxsystem::HostContext* context, int32_t Disable);
