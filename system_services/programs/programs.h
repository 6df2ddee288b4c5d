// The program family's exports: documents through the shell, starting programs, the user's
// shell folders, Start Menu shortcuts and document-type registration.
#pragma once
#include <cstdint>

#include "system_services/host/host_interface.h"

extern "C" {
HGLOBAL __stdcall SysAppFind(const rxsystem::HostContext* context, const char* FileName);
int32_t __stdcall SysAppOpen(const rxsystem::HostContext* context, const char* FileName);
int32_t __stdcall SysAppPrint(const rxsystem::HostContext* context, const char* FileName);
int32_t __stdcall SysRunProgram(const rxsystem::HostContext* context, const char* ProgramFileName,
                                int32_t State, int32_t Wait);
// The host pushes its record for these too, but they leave LastHostWindow as it was.
HGLOBAL __stdcall SysGetStartMenuDir(const rxsystem::HostContext* context);
HGLOBAL __stdcall SysGetStartupDir(const rxsystem::HostContext* context);
HGLOBAL __stdcall SysGetDesktopDir(const rxsystem::HostContext* context);
int32_t __stdcall SysCreateIcons(const rxsystem::HostContext* context, const char* GroupName,
                                 const char* IconSpecs);
int32_t __stdcall SysAssociateFileType(const rxsystem::HostContext* context, const char* ClassName,
                                       const char* ClassDescription, const char* FileExtension,
                                       const char* IconFileName, int32_t IconNumber, const char* FileName,
                                       const char* OpenParams, const char* PrintParams);
}
