// The X side of a test desktop: programs of the host system run from a Windows test, what the
// window manager says of the windows, and input given through the X server (XTEST), which the
// window manager sees as a user's. Wine's own SendInput reaches the programs but never the
// window manager, which is what a click on a managed desktop first meets.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// The unix path of the test's own Wine prefix (WINEPREFIX), the place for the files of host
// commands: Windows process ids, which name such files, are unique only among the processes
// of one wineserver, so a folder shared by prefixes (/tmp) would meet another test's.
std::string PrefixFolder();

// Runs `commandLine` with the host's /bin/sh (a unix program, not a Windows one) and waits for
// it; what it printed, output and errors. It must hold no double quote. Throws when the
// command cannot be started or has not ended within `timeoutMs`.
std::string RunHostCommand(const std::string& commandLine, DWORD timeoutMs = 10000);

// The X window that Wine made for a top-level window; 0 when it has none (not shown yet).
unsigned long XWindowOf(HWND hwnd);

// The windows the window manager manages, from the bottom of its stack to the top
// (_NET_CLIENT_LIST_STACKING); empty without a window manager.
std::vector<unsigned long> ManagedStacking();
// True when the window manager stacks `upper` above `lower`; both must be managed.
bool ManagerStacksAbove(HWND upper, HWND lower);
// The window the window manager made active (_NET_ACTIVE_WINDOW); 0 when none.
unsigned long ManagerActiveWindow();
// The windows of one of the window manager's window properties as xprop prints it
// ("NAME(WINDOW): window id # 0x400001, 0x600003"), for a test's own xprop command.
std::vector<unsigned long> ParseWindowList(const std::string& xpropOutput);

// A left click of the real pointer at a point of the screen.
void XClickAt(POINT screen);
// Keys pressed and let go one after the other, by their X names ("Escape", "Return", "x").
void XKeys(const std::string& keyNames);

}  // namespace testing_support
