// The exports that ask the user for a file or a folder: the platform's open and save
// dialogs with a file-type list in the library's notation, and the library's own chooser.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <cstdint>

#include "system_services/host/host_interface.h"

namespace rxsystem {

// 0 and the locked address of a new movable block holding the filter list, or -1 after the
// memory box. The block is freed with its owner.
int BuildFilterList(const char* types, LockedBlock& block, char*& list);

// The platform's two common dialogs; tests that cannot drive them put their own here.
struct FileDialogSeam {
  BOOL (*open)(OPENFILENAMEA* request);
  BOOL (*save)(OPENFILENAMEA* request);
};
FileDialogSeam ReplaceFileDialogSeam(FileDialogSeam seam);

}  // namespace rxsystem

extern "C" HGLOBAL __stdcall SysPromptOpenFileName(const rxsystem::HostContext* context,
                                                   const char* Directory, const char* Title,
                                                   const char* Types, const char* DefaultExt,
                                                   int32_t MultipleFiles);
extern "C" HGLOBAL __stdcall SysPromptSaveFileName(const rxsystem::HostContext* context,
                                                   const char* Directory, const char* DefaultFileName,
                                                   const char* Title, const char* Prompt, const char* Types,
                                                   const char* DefaultExtension);
extern "C" HGLOBAL __stdcall SysPromptDirName(const rxsystem::HostContext* context, const char* DefaultDir,
                                              const char* Title, int32_t NewDirButton);
