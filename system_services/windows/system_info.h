// The system information family's exports: environment, system directories and font, the
// platform family, file versions, display modes, the screen saver switch, restart and help.
#pragma once
#include "system_services/host/host_interface.h"

namespace rxsystem {

// The platform calls that change the machine or reach outside the process (display mode,
// screen saver, restart, the help viewer) and the platform version they depend on; tests put
// recorders here so that nothing is restarted or reconfigured for real.
struct SystemPlatformSeam {
  BOOL (*getVersion)(OSVERSIONINFOA* info);
  BOOL (*enumDisplaySettings)(DWORD mode, DEVMODEA* settings);
  LONG (*changeDisplaySettings)(DEVMODEA* settings, DWORD flags);
  BOOL (*systemParametersInfo)(UINT action, UINT parameter, void* value, UINT profileFlags);
  BOOL (*openProcessToken)(DWORD access, HANDLE* token);
  BOOL (*lookupPrivilegeValue)(const char* name, LUID* luid);
  BOOL (*adjustTokenPrivileges)(HANDLE token, TOKEN_PRIVILEGES* privileges);
  BOOL (*exitWindowsEx)(UINT flags, DWORD reason);
  BOOL (*winHelp)(HWND owner, const char* helpFile, UINT command, ULONG_PTR data);
};
SystemPlatformSeam PlatformSystemSeam();
// Returns the seam that was in place.
SystemPlatformSeam ReplaceSystemSeam(SystemPlatformSeam seam);

// Room for the display-mode list, terminating NUL included.
inline constexpr size_t kScreenResBlock = 2000;

}  // namespace rxsystem

extern "C" {
HGLOBAL __stdcall SysGetDOSEnvironment(const rxsystem::HostContext* context);
HGLOBAL __stdcall SysGetEnvVariable(const rxsystem::HostContext* context, const char* VariableName);
HGLOBAL __stdcall SysGetWindowsDir(const rxsystem::HostContext* context);
HGLOBAL __stdcall SysGetSystemDir(const rxsystem::HostContext* context);
int32_t __stdcall SysGetSystemFontHeight(const rxsystem::HostContext* context);
int32_t __stdcall SysEnableScreenSaver(const rxsystem::HostContext* context, int32_t Enable);
HGLOBAL __stdcall SysGetAvailScreenRes(const rxsystem::HostContext* context, int32_t AllColorDepths);
int32_t __stdcall SysSetScreenRes(const rxsystem::HostContext* context, int32_t Width, int32_t Height,
                                  int32_t ColorBits);
void __stdcall SysRestart(const rxsystem::HostContext* context);
HGLOBAL __stdcall SysGetOSVersion(const rxsystem::HostContext* context);
HGLOBAL __stdcall SysGetFileVersion(const rxsystem::HostContext* context, const char* FileName);
HGLOBAL __stdcall SysGetVideoVersion(const rxsystem::HostContext* context);
int32_t __stdcall SysHelp(const rxsystem::HostContext* context, const char* HelpFileName,
                          const char* SecondaryWindowName, const char* Command);
void __stdcall SysCloseHelp(const rxsystem::HostContext* context, const char* FileName);
}
