// The window, cursor, clipboard and menu family's exports. A WindowID of 0 is the host's
// presentation window; any other value is a window handle used as it is.
#pragma once
#include "system_services/host/host_interface.h"

namespace rxsystem {

// Where the cursor exports confine the cursor. Wine grants the confinement only where the X
// server offers XInput2, so tests put a recorder here to see the rectangle asked for.
struct CursorClipSeam {
  BOOL(WINAPI* clip)(const RECT* area);  // null lifts the confinement
};
CursorClipSeam PlatformCursorClipSeam();
// Returns the seam that was in place.
CursorClipSeam ReplaceCursorClipSeam(CursorClipSeam seam);

}  // namespace rxsystem

extern "C" {
int32_t __stdcall SysTextToClipboard(const rxsystem::HostContext* context, const char* Text);
HGLOBAL __stdcall SysClipboardToText(const rxsystem::HostContext* context);
void __stdcall SysEmptyClipboard(const rxsystem::HostContext* context);

void __stdcall SysSetCursorPos(const rxsystem::HostContext* context, int32_t Left, int32_t Top,
                               int32_t WindowRelative);
void __stdcall SysRestrictCursor(const rxsystem::HostContext* context, int32_t Left, int32_t Top,
                                 int32_t Right, int32_t Bottom);
void __stdcall SysReleaseCursor(const rxsystem::HostContext* context);

void __stdcall SysSetWindowNormal(const rxsystem::HostContext* context, uint32_t WindowID);
void __stdcall SysMinimizeWindow(const rxsystem::HostContext* context, uint32_t WindowID);
int32_t __stdcall SysIsWindowMinimized(const rxsystem::HostContext* context, uint32_t WindowID);
void __stdcall SysMaximizeWindow(const rxsystem::HostContext* context, uint32_t WindowID);
int32_t __stdcall SysIsWindowMaximized(const rxsystem::HostContext* context, uint32_t WindowID);
void __stdcall SysHideWindow(const rxsystem::HostContext* context, uint32_t WindowID);
void __stdcall SysVeruWindow(const rxsystem::HostContext* context, uint32_t WindowID);
int32_t __stdcall SysIsWindowVisible(const rxsystem::HostContext* context, uint32_t WindowID);
void __stdcall SysSetWindowTop(const rxsystem::HostContext* context, uint32_t WindowID);
void __stdcall SysSetWindowAboveAll(const rxsystem::HostContext* context, uint32_t WindowID);
int32_t __stdcall SysIsWindowActive(const rxsystem::HostContext* context, uint32_t WindowID);

uint32_t __stdcall SysFindWindow(const rxsystem::HostContext* context, const char* ClassName,
                                 const char* Title);
uint32_t __stdcall SysGetActiveWindow(const rxsystem::HostContext* context);
void __stdcall SysSetActiveWindow(const rxsystem::HostContext* context, uint32_t WindowID);
HGLOBAL __stdcall SysGetWindowClass(const rxsystem::HostContext* context, const char* WindowTitle);

int32_t __stdcall SysPosWindow(const rxsystem::HostContext* context, uint32_t WindowID, int32_t Left,
                               int32_t Top, int32_t HorizPos, int32_t VertPos);
int32_t __stdcall SysSizeWindow(const rxsystem::HostContext* context, uint32_t WindowID, int32_t Width,
                                int32_t Height, int32_t HorizPercent, int32_t VertPercent);
int32_t __stdcall SysSetWindowTitle(const rxsystem::HostContext* context, uint32_t WindowID,
                                    const char* Title);
int32_t __stdcall SysCloseWindow(const rxsystem::HostContext* context, uint32_t WindowID);
void __stdcall SysHideWindowTitle(const rxsystem::HostContext* context);
void __stdcall SysVeruWindowTitle(const rxsystem::HostContext* context);

int32_t __stdcall SysEnableMenuItem(const rxsystem::HostContext* context, uint32_t WindowID,
                                    int32_t DropDownPos, int32_t ItemPos, int32_t Enable);
int32_t __stdcall SysCheckMenuItem(const rxsystem::HostContext* context, uint32_t WindowID,
                                   int32_t DropDownPos, int32_t ItemPos, int32_t Enable);
}
