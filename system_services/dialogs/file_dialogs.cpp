#include "system_services/dialogs/file_dialogs.h"

#include <cstddef>
#include <cstring>

#include "system_services/dialogs/chooser_rules.h"
#include "system_services/dialogs/directory_chooser.h"
#include "system_services/dialogs/file_dialog_rules.h"
#include "system_services/host/module_buffers.h"

namespace rxsystem {
namespace {

// The Directory argument while a file dialog runs.
char DialogDirectory[kPathBuffer];

constexpr DWORD kOpenRequestFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
constexpr DWORD kSaveRequestFlags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
constexpr DWORD kMultipleAnswer = 30000;
// The request as the earliest explorer-style dialogs read it, without the later fields: 76
// bytes in the 32-bit build, the same fields at the pointer's width in a 64-bit one.
constexpr DWORD kRequestSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(kOpenRequestFlags == 0x81804 && kSaveRequestFlags == 0x80806);
#if defined(__i386__)
static_assert(kRequestSize == 76);
#endif

BOOL PlatformOpen(OPENFILENAMEA* request) { return GetOpenFileNameA(request); }
BOOL PlatformSave(OPENFILENAMEA* request) { return GetSaveFileNameA(request); }
FileDialogSeam CurrentDialogs{PlatformOpen, PlatformSave};

OPENFILENAMEA Request(HWND owner, const char* filter, char* answer, DWORD capacity, bool withDirectory,
                      const char* title, const char* extension, DWORD flags) {
  OPENFILENAMEA request{};
  request.lStructSize = kRequestSize;
  request.hwndOwner = owner;
  request.lpstrFilter = filter;
  request.nFilterIndex = 1;
  request.lpstrFile = answer;
  request.nMaxFile = capacity - 1;
  request.lpstrInitialDir = withDirectory ? DialogDirectory : nullptr;
  request.lpstrTitle = title;
  request.lpstrDefExt = extension;
  request.Flags = flags;
  return request;
}

HWND HostWindowOf(const HostContext* context) { return context->HostWindow; }

// An empty caption or extension is an absent one: the platform's own caption, no extension.
const char* Given(const char* text) { return text && *text ? text : nullptr; }

}  // namespace

FileDialogSeam ReplaceFileDialogSeam(FileDialogSeam seam) {
  FileDialogSeam previous = CurrentDialogs;
  CurrentDialogs = {seam.open ? seam.open : PlatformOpen, seam.save ? seam.save : PlatformSave};
  return previous;
}

int BuildFilterList(const char* types, LockedBlock& block, char*& list) {
  list = nullptr;
  char* bytes = NewResultBlock(FilterListBytes(types), block);
  if (!bytes) return -1;
  WriteFilterList(types, bytes);
  list = bytes;
  return 0;
}

}  // namespace rxsystem

using namespace rxsystem;

extern "C" HGLOBAL __stdcall SysPromptOpenFileName(const HostContext* context, const char* Directory,
                                                   const char* Title, const char* Types,
                                                   const char* DefaultExt, int32_t MultipleFiles) {
  if (!EnterExport(context)) return nullptr;
  DWORD size = MultipleFiles ? kMultipleAnswer : kPathBuffer;
  LockedBlock block;
  char* answer = NewResultBlock(size, block);
  if (!answer) return nullptr;
  LockedBlock filterBlock;
  char* filter;
  if (BuildFilterList(Types, filterBlock, filter) != 0) return nullptr;
  bool withDirectory = KeepDialogDirectory(Directory, DialogDirectory, sizeof DialogDirectory);
  OPENFILENAMEA request =
      Request(HostWindowOf(context), filter, answer, size, withDirectory, Given(Title), Given(DefaultExt),
              kOpenRequestFlags | (MultipleFiles ? OFN_ALLOWMULTISELECT : 0));
  BOOL chosen = CurrentDialogs.open(&request);
  if (!chosen) return nullptr;
  answer[size - 1] = '\0';
  LowerFirstPart(answer);
  size_t length = MultipleFiles ? JoinSelectedParts(answer, size) : std::strlen(answer);
  // Shrinking in place keeps the handle; should the platform refuse, the larger block serves.
  return block.shrinkAndRelease(length + 1);
}

extern "C" HGLOBAL __stdcall SysPromptSaveFileName(const HostContext* context, const char* Directory,
                                                   const char* DefaultFileName, const char* Title,
                                                   const char*, const char* Types,
                                                   const char* DefaultExtension) {
  if (!EnterExport(context)) return nullptr;
  bool withDirectory = KeepDialogDirectory(Directory, DialogDirectory, sizeof DialogDirectory);
  LockedBlock block;
  char* answer = NewResultBlock(kPathBuffer, block);
  if (!answer) return nullptr;
  ProposeSaveName(DialogDirectory, DefaultFileName, answer, kPathBuffer);
  LockedBlock filterBlock;
  char* filter;
  if (BuildFilterList(Types, filterBlock, filter) != 0) return nullptr;
  OPENFILENAMEA request = Request(HostWindowOf(context), filter, answer, kPathBuffer, withDirectory,
                                  Given(Title), Given(DefaultExtension), kSaveRequestFlags);
  BOOL chosen = CurrentDialogs.save(&request);
  if (!chosen) return nullptr;
  answer[kPathBuffer - 1] = '\0';
  LowerFirstPart(answer);
  return block.release();
}

extern "C" HGLOBAL __stdcall SysPromptDirName(const HostContext* context, const char* DefaultDir,
                                              const char* Title, int32_t NewDirButton) {
  if (!EnterExport(context)) return nullptr;
  LockedBlock block;
  char* path = NewResultBlock(kPathBuffer, block);
  if (!path) return nullptr;
  size_t given = DefaultDir ? std::strlen(DefaultDir) : 0;
  // A starting folder too long for the buffer is treated as none given.
  if (given > 0 && given < kPathBuffer) {
    std::memcpy(path, DefaultDir, given + 1);
  } else {
    DWORD n = GetCurrentDirectoryA(kPathBuffer, path);
    if (n == 0 || n >= kPathBuffer) {
      std::strcpy(path, "c:\\");
    } else {
      for (char* p = path; *p; ++p) *p = LowerAscii(*p);
    }
  }
  int r = VeruDirectoryDialog(HostWindowOf(context), path, Title ? Title : "",
                              static_cast<uint32_t>(NewDirButton));
  if (r != 0) return nullptr;
  return block.release();
}
