#include "system_services/host/host_interface.h"

#include <cstring>
#include <utility>

namespace rxsystem {

HINSTANCE ModuleInstance = nullptr;
HWND LastHostWindow = nullptr;

namespace {

HCURSOR SavedCursor = nullptr;
// SavedCursor alone cannot tell: the cursor replaced may itself have been none.
bool WaitCursorUp = false;

void PlatformBeep(UINT type) { MessageBeep(type); }

int PlatformBox(HWND owner, const char* text, const char* caption, UINT flags) {
  // The host's texts are in the system's ANSI code page, which the A call assumes.
  return MessageBoxA(owner, text, caption, flags);
}

MessageSeam CurrentSeam{PlatformBeep, PlatformBox};

bool HasHostWindow(HWND window) { return window != nullptr && IsWindow(window); }

// Loads a table text into the buffer; false when the id is not in the table.
bool LoadText(int id, char* buffer, int size) {
  return LoadStringA(ModuleInstance, static_cast<UINT>(id), buffer, size) > 0;
}

void LoadCaption(int id, char* caption, const char* fallback) {
  if (!LoadText(id, caption, static_cast<int>(kCaptionBuffer))) {
    std::strncpy(caption, fallback, kCaptionBuffer - 1);
    caption[kCaptionBuffer - 1] = '\0';
  }
}

void FormatTableText(int id, std::span<const FormatArg> values, char* message, const char* missingFormat,
                     int missingValue) {
  char format[kLoadedFormatBuffer];
  if (LoadText(id, format, static_cast<int>(kLoadedFormatBuffer))) {
    FormatBounded(message, kMessageBuffer, format, values);
  } else {
    const FormatArg missing[] = {FormatArg(missingValue)};
    FormatBounded(message, kMessageBuffer, missingFormat, missing);
  }
}

void ShowErrorBox(const char* message, const char* caption) {
  CurrentSeam.beep(MB_ICONHAND);
  CurrentSeam.box(GetActiveWindow(), message, caption, MB_ICONHAND | MB_OK);
}

}  // namespace

BOOL LibraryEntry(HINSTANCE instance, DWORD reason, LPVOID) {
  ModuleInstance = instance;
  // Threads that other components of the host start or end would otherwise clear the
  // window between an export storing it and its reporter asking the host.
  if (reason == DLL_PROCESS_ATTACH || reason == DLL_PROCESS_DETACH) LastHostWindow = nullptr;
  return TRUE;
}

bool EnterExport(const HostContext* context) {
  if (!context) {
    LastHostWindow = nullptr;
    ReportError(kInvalidParameter);
    return false;
  }
  LastHostWindow = context->HostWindow;
  return true;
}

int32_t GetHostNumberVariable(HWND window, const char* name) {
  if (!HasHostWindow(window)) return 0;
  HostVariableRecord record{};
  record.VariableName = name;
  record.IsNumber = 1;
  if (SendMessageA(window, HostGetVariable, 0, reinterpret_cast<LPARAM>(&record)) != 0) return 0;
  return static_cast<int32_t>(record.VariableValue);
}

LRESULT SetHostStringVariable(HWND window, const char* name, const char* text) {
  if (!HasHostWindow(window)) return 1;
  HostVariableRecord record{};
  record.VariableName = name;
  record.IsSet = 1;
  record.IsNumber = 0;
  record.VariableValue = reinterpret_cast<uintptr_t>(text);
  return SendMessageA(window, HostSetVariable, 0, reinterpret_cast<LPARAM>(&record));
}

void VeruWaitCursor() {
  // A second wait cursor would save the hourglass itself and raise the count twice.
  if (WaitCursorUp) return;
  SavedCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  ShowCursor(TRUE);
  WaitCursorUp = true;
}

void RestoreCursor() {
  if (!WaitCursorUp) return;
  ShowCursor(FALSE);
  SetCursor(SavedCursor);
  SavedCursor = nullptr;
  WaitCursorUp = false;
}

namespace {

// The error caption and the table text of id, with the wait cursor taken down for the box.
void PrepareErrorTexts(int id, std::span<const FormatArg> values, char* caption, char* message) {
  LoadCaption(kErrorCaption, caption, "Error");
  FormatTableText(id, values, message, "Unknown error %d.", id);
  RestoreCursor();
}

}  // namespace

void ReportErrorWith(int id, std::span<const FormatArg> values) {
  char caption[kCaptionBuffer];
  char message[kMessageBuffer];
  PrepareErrorTexts(id, values, caption, message);
  if (GetHostNumberVariable(LastHostWindow, "TLHideErrors") == 1) {
    SetHostStringVariable(LastHostWindow, "TLLastError", message);
    return;
  }
  ShowErrorBox(message, caption);
}

void VeruErrorBoxWith(int id, std::span<const FormatArg> values) {
  char caption[kCaptionBuffer];
  char message[kMessageBuffer];
  PrepareErrorTexts(id, values, caption, message);
  ShowErrorBox(message, caption);
}

void VeruPlainErrorWith(const char* format, std::span<const FormatArg> values) {
  char message[kPlainMessageBuffer];
  FormatBounded(message, sizeof message, format ? format : "", values);
  RestoreCursor();
  ShowErrorBox(message, "Error");
}

bool AskYesNoWith(int captionId, int textId, std::span<const FormatArg> values) {
  char caption[kCaptionBuffer];
  char message[kMessageBuffer];
  LoadCaption(captionId, caption, "Question");
  FormatTableText(textId, values, message, "Internal error:  Missing prompt %d.", textId);
  RestoreCursor();
  CurrentSeam.beep(MB_ICONQUESTION);
  return CurrentSeam.box(GetActiveWindow(), message, caption, MB_ICONQUESTION | MB_YESNO) == IDYES;
}

MessageSeam PlatformMessageSeam() { return {PlatformBeep, PlatformBox}; }

MessageSeam ReplaceMessageSeam(MessageSeam seam) {
  MessageSeam previous = CurrentSeam;
  CurrentSeam = seam;
  return previous;
}

int SeamBox(HWND owner, const char* text, const char* caption, UINT flags) {
  return CurrentSeam.box(owner, text, caption, flags);
}

bool IsNotFoundError(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

bool PathExists(const char* path) {
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES || !IsNotFoundError(GetLastError());
}

LockedBlock::LockedBlock(char* lockedBytes) : text_(lockedBytes) {
  if (lockedBytes) block_.reset(GlobalHandle(lockedBytes));
}

LockedBlock::LockedBlock(LockedBlock&& other) noexcept
    : block_(std::move(other.block_)), text_(std::exchange(other.text_, nullptr)) {}

LockedBlock& LockedBlock::operator=(LockedBlock&& other) noexcept {
  if (this != &other) {
    reset();
    block_ = std::move(other.block_);
    text_ = std::exchange(other.text_, nullptr);
  }
  return *this;
}

void LockedBlock::Unlock() {
  if (text_) GlobalUnlock(block_.get());
  text_ = nullptr;
}

HGLOBAL LockedBlock::release() {
  Unlock();
  return block_.release();
}

HGLOBAL LockedBlock::shrinkAndRelease(size_t size) {
  Unlock();
  HGLOBAL block = block_.release();
  HGLOBAL smaller = GlobalReAlloc(block, size, GMEM_MOVEABLE);
  return smaller ? smaller : block;
}

bool LockedBlock::resize(size_t size) {
  Unlock();
  HGLOBAL larger = GlobalReAlloc(block_.get(), size, GMEM_MOVEABLE);
  // The old handle is no longer the block's when the platform answers with another one.
  if (larger) {
    (void)block_.release();
    block_.reset(larger);
  }
  text_ = static_cast<char*>(GlobalLock(block_.get()));
  return larger != nullptr;
}

void LockedBlock::reset() {
  Unlock();
  block_.reset();
}

char* NewLockedBlock(size_t size, LockedBlock& block) {
  block.reset();
  forms::UniqueGlobal fresh(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
  char* bytes = fresh ? static_cast<char*>(GlobalLock(fresh.get())) : nullptr;
  if (!bytes) return nullptr;
  block.block_ = std::move(fresh);
  block.text_ = bytes;
  return bytes;
}

char* NewResultBlock(size_t size, LockedBlock& block) {
  char* bytes = NewLockedBlock(size, block);
  if (!bytes) VeruErrorBox(kInsufficientMemory);
  return bytes;
}

HGLOBAL BlockWith(std::string_view text, size_t size) {
  LockedBlock block;
  char* bytes = NewLockedBlock(size, block);
  if (!bytes) return nullptr;
  std::memcpy(bytes, text.data(), text.size() < size ? text.size() : size - 1);
  return block.release();
}

char* CopyToGlobalString(const char* text) {
  if (!text) text = "";
  size_t size = std::strlen(text) + 1;
  forms::UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
  char* copy = block ? static_cast<char*>(GlobalLock(block.get())) : nullptr;
  if (!copy) {
    VeruErrorBox(kInsufficientMemory);
    return nullptr;
  }
  std::memcpy(copy, text, size);
  // The caller holds the block by its locked bytes from here on.
  (void)block.release();
  return copy;
}

int CreatePathDirs(char* path) {
  std::string_view whole(path);
  size_t first = FirstPathSeparator(whole);
  if (first == kNoPathLevel) return -1;
  if (first + 1 == whole.size()) return 0;
  for (size_t cut = NextPathLevel(whole, first); cut != kNoPathLevel; cut = NextPathLevel(whole, cut)) {
    char kept = path[cut];
    path[cut] = '\0';
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
      if (IsNotFoundError(GetLastError()) && !CreateDirectoryA(path, nullptr)) {
        ReportError(kErrorCreating, static_cast<const char*>(path));
        return -1;
      }
    }
    path[cut] = kept;
  }
  return 0;
}

}  // namespace rxsystem

using namespace rxsystem;

extern "C" void __stdcall SysDisableErrors(const HostContext* context, int32_t Disable) {
  if (!EnterExport(context)) return;
  SetErrorMode(Disable ? SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX : 0);
}
