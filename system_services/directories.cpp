#include "system_services/directories.h"

using namespace rxsystem;

extern "C" HGLOBAL __stdcall SysGetTempDir(const HostContext* context) {
  if (!EnterExport(context)) return nullptr;
  constexpr DWORD kSize = 261;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kSize);
  char* text = block ? static_cast<char*>(GlobalLock(block)) : nullptr;
  if (!text) {
    if (block) GlobalFree(block);
    VeruErrorBox(kInsufficientMemory);
    return nullptr;
  }
  DWORD length = GetTempPathA(kSize, text);
  if (length == 0 || length >= kSize) {
    GlobalUnlock(block);
    GlobalFree(block);
    return nullptr;
  }
  // A root such as C:\ keeps its backslash; every deeper directory loses it.
  if (length > 3 && text[length - 1] == '\\') text[length - 1] = '\0';
  GlobalUnlock(block);
  return block;
}
