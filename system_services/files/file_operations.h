// The file family's exports: copy, move, delete and rename one file, every file that matches
// a wildcard file spec, or the files of a list; existence, search by pattern and date, attributes,
// times and size.
#pragma once
#include <cstdint>

#include "system_services/host/host_interface.h"

extern "C" {

int32_t __stdcall SysCopyFile(const rxsystem::HostContext* context, const char* SourceFileName,
                              const char* DestFileName);
int32_t __stdcall SysCopyFiles(const rxsystem::HostContext* context, const char* FileSpec,
                               const char* DestDir, const char* FileType, int32_t CopyDirs,
                               int32_t Overwrite);
int32_t __stdcall SysCopyFileList(const rxsystem::HostContext* context, const char* FileNameList,
                                  int32_t Overwrite);
int32_t __stdcall SysMoveFile(const rxsystem::HostContext* context, const char* SourceFileName,
                              const char* DestFileName);
int32_t __stdcall SysMoveFiles(const rxsystem::HostContext* context, const char* SourceFileSpec,
                               const char* DestDirectory, const char* FileType, int32_t TraverseDirs,
                               int32_t Overwrite);
int32_t __stdcall SysMoveFileList(const rxsystem::HostContext* context, const char* FileNameList,
                                  int32_t Overwrite);
int32_t __stdcall SysDeleteFile(const rxsystem::HostContext* context, const char* FileName);
int32_t __stdcall SysDeleteFiles(const rxsystem::HostContext* context, const char* FileSpec,
                                 const char* FileType, int32_t TraverseDirs);
int32_t __stdcall SysDeleteFileList(const rxsystem::HostContext* context, const char* FileList);
int32_t __stdcall SysRenameFile(const rxsystem::HostContext* context, const char* SourceFileName,
                                const char* DestFileName);
int32_t __stdcall SysRenameFileList(const rxsystem::HostContext* context, const char* FileNameList,
                                    int32_t Overwrite);
int32_t __stdcall SysFileExists(const rxsystem::HostContext* context, const char* FileName);
HGLOBAL __stdcall SysFindFiles(const rxsystem::HostContext* context, const char* FileSpec,
                               const char* FileType, int32_t SearchDirs, int32_t SearchAll,
                               int32_t FindFirstOnly, const char* MinDate, const char* MaxDate,
                               int32_t MinNumDays, int32_t MaxNumDays);
HGLOBAL __stdcall SysGetFileAttrib(const rxsystem::HostContext* context, const char* FileName);
int32_t __stdcall SysSetFileAttrib(const rxsystem::HostContext* context, const char* FileName,
                                   const char* Attributes);
HGLOBAL __stdcall SysGetFileTime(const rxsystem::HostContext* context, const char* FileName);
int32_t __stdcall SysSetFileTime(const rxsystem::HostContext* context, const char* FileName, const char* Date,
                                 const char* Time);
uint32_t __stdcall SysGetFileSize(const rxsystem::HostContext* context, const char* FileName);

}  // extern "C"
