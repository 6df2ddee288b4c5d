#include "system_services/windows/window_services.h"

#include <cstring>

#include "system_services/windows/window_geometry.h"

using namespace rxsystem;

namespace {

CursorClipSeam CurrentClipSeam = PlatformCursorClipSeam();

constexpr UINT kKeepPlaceAndSize = SWP_NOMOVE | SWP_NOSIZE;
constexpr UINT kFrameChange = SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE;

// The presentation window without a caption: a bordered pop-up.
constexpr DWORD kTitleLessStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER;
// With a caption and its system menu, but neither a sizing frame nor minimise or maximise boxes.
constexpr DWORD kCaptionedStyle = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;
static_assert(kTitleLessStyle == 0x96800000 && kCaptionedStyle == 0x16C80000);

// Room for a class name of at most 99 characters and its NUL.
constexpr size_t kClassBlock = 100;

HWND WindowOf(const HostContext* context, uint32_t WindowID) {
  if (WindowID == 0) return context->HostWindow;
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(WindowID));
}

uint32_t IdOf(HWND window) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)); }

int32_t PlacementCommand(HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(window, &placement)) return -1;
  return static_cast<int32_t>(placement.showCmd);
}

// A point of the host window's client area on the screen. False when the host window cannot
// convert it: the cursor is then left where it is rather than sent to a point that means
// something else.
bool HostPointOnScreen(const HostContext* context, POINT& point) {
  return ClientToScreen(context->HostWindow, &point) != FALSE;
}

void SetStyleWord(const HostContext* context, DWORD style) {
  if (context->ChildWindowFlag != 0) style |= WS_CHILD;
  SetWindowLongA(context->HostWindow, GWL_STYLE, static_cast<LONG>(style));
  SetWindowPos(context->HostWindow, nullptr, 0, 0, 0, 0, kFrameChange);
}

// The drop-down at DropDownPos of the window's menu bar, null when there is none.
HMENU DropDown(const HostContext* context, uint32_t WindowID, int32_t DropDownPos) {
  HMENU bar = GetMenu(WindowOf(context, WindowID));
  if (!bar) return nullptr;
  return GetSubMenu(bar, DropDownPos);
}

// The item answer of the window manager: its previous state, or -1 when there is no such item.
int32_t MenuResult(DWORD answer) { return answer == static_cast<DWORD>(-1) ? -1 : 0; }

}  // namespace

CursorClipSeam rxsystem::PlatformCursorClipSeam() { return {&ClipCursor}; }

CursorClipSeam rxsystem::ReplaceCursorClipSeam(CursorClipSeam seam) {
  const CursorClipSeam previous = CurrentClipSeam;
  CurrentClipSeam = seam;
  return previous;
}

// ---------------------------------------------------------------- clipboard

extern "C" int32_t __stdcall SysTextToClipboard(const HostContext* context, const char* Text) {
  if (!EnterExport(context)) return -1;
  if (!Text || !*Text) {
    ReportError(kInvalidParameter);
    return -1;
  }
  forms::UniqueGlobal block(BlockWith(Text, std::strlen(Text) + 1));
  if (!block) {
    ReportError(kInsufficientMemory);
    return -1;
  }
  // While another program holds the clipboard open nothing can be placed there: the block
  // would be lost, and the author would believe the text was copied.
  forms::OpenedClipboard clipboard(context->HostWindow);
  if (!clipboard) return -1;
  EmptyClipboard();
  // The clipboard owns the block once it has taken it.
  if (!SetClipboardData(CF_TEXT, block.get())) return -1;
  (void)block.release();
  return 0;
}

extern "C" HGLOBAL __stdcall SysClipboardToText(const HostContext* context) {
  if (!EnterExport(context)) return nullptr;
  forms::UniqueGlobal block;
  {
    // Closed again before any box, so that other programs never wait on it.
    forms::OpenedClipboard clipboard(context->HostWindow);
    if (!clipboard) return nullptr;
    HANDLE data = GetClipboardData(CF_TEXT);
    forms::GlobalLockGuard text(data);
    if (!text) return nullptr;
    // Another program's text need not end inside its block; the copy never reads past it.
    const size_t length = strnlen(text.get(), GlobalSize(data));
    block.reset(GlobalAlloc(GMEM_MOVEABLE, length + 1));
    forms::GlobalLockGuard copy(block.get());
    if (copy) {
      std::memcpy(copy.get(), text.get(), length);
      copy.get()[length] = '\0';
    } else {
      block.reset();
    }
  }
  if (!block) ReportError(kInsufficientMemory);
  return block.release();
}

extern "C" void __stdcall SysEmptyClipboard(const HostContext* context) {
  if (!EnterExport(context)) return;
  forms::OpenedClipboard clipboard(context->HostWindow);
  if (clipboard) EmptyClipboard();
}

// ---------------------------------------------------------------- cursor

extern "C" void __stdcall SysSetCursorPos(const HostContext* context, int32_t Left, int32_t Top,
                                          int32_t WindowRelative) {
  if (!EnterExport(context)) return;
  POINT point{Left, Top};
  if (WindowRelative != 0 && !HostPointOnScreen(context, point)) return;
  SetCursorPos(point.x, point.y);
}

extern "C" void __stdcall SysRestrictCursor(const HostContext* context, int32_t Left, int32_t Top,
                                            int32_t Right, int32_t Bottom) {
  if (!EnterExport(context)) return;
  POINT topLeft{Left, Top};
  POINT bottomRight{Right, Bottom};
  if (!HostPointOnScreen(context, topLeft) || !HostPointOnScreen(context, bottomRight)) return;
  const RECT area{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
  CurrentClipSeam.clip(&area);
}

extern "C" void __stdcall SysReleaseCursor(const HostContext* context) {
  if (!EnterExport(context)) return;
  CurrentClipSeam.clip(nullptr);
}

// ---------------------------------------------------------------- veru states and z-order

extern "C" void __stdcall SysSetWindowNormal(const HostContext* context, uint32_t WindowID) {
  if (!EnterExport(context)) return;
  HWND window = WindowOf(context, WindowID);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kKeepPlaceAndSize);
  ShowWindow(window, SW_SHOWNORMAL);
}

extern "C" void __stdcall SysMinimizeWindow(const HostContext* context, uint32_t WindowID) {
  if (!EnterExport(context)) return;
  ShowWindow(WindowOf(context, WindowID), SW_MINIMIZE);
}

extern "C" int32_t __stdcall SysIsWindowMinimized(const HostContext* context, uint32_t WindowID) {
  if (!EnterExport(context)) return 0;
  return PlacementCommand(WindowOf(context, WindowID)) == SW_SHOWMINIMIZED ? 1 : 0;
}

extern "C" void __stdcall SysMaximizeWindow(const HostContext* context, uint32_t WindowID) {
  if (!EnterExport(context)) return;
  ShowWindow(WindowOf(context, WindowID), SW_SHOWMAXIMIZED);
}

extern "C" int32_t __stdcall SysIsWindowMaximized(const HostContext* context, uint32_t WindowID) {
  if (!EnterExport(context)) return 0;
  return PlacementCommand(WindowOf(context, WindowID)) == SW_SHOWMAXIMIZED ? 1 : 0;
}

extern "C" void __stdcall SysHideWindow(const HostContext* context, uint32_t WindowID) {
  if (!EnterExport(context)) return;
  ShowWindow(WindowOf(context, WindowID), SW_HIDE);
}

extern "C" void __stdcall SysVeruWindow(const HostContext* context, uint32_t WindowID) {
  if (!EnterExport(context)) return;
  ShowWindow(WindowOf(context, WindowID), SW_SHOW);
}

extern "C" int32_t __stdcall SysIsWindowVisible(const HostContext* context, uint32_t WindowID) {
  if (!EnterExport(context)) return 0;
  return IsWindowVisible(WindowOf(context, WindowID));
}

extern "C" void __stdcall SysSetWindowTop(const HostContext* context, uint32_t WindowID) {
  if (!EnterExport(context)) return;
  SetWindowPos(WindowOf(context, WindowID), HWND_TOP, 0, 0, 0, 0, kKeepPlaceAndSize);
}

extern "C" void __stdcall SysSetWindowAboveAll(const HostContext* context, uint32_t WindowID) {
  if (!EnterExport(context)) return;
  SetWindowPos(WindowOf(context, WindowID), HWND_TOPMOST, 0, 0, 0, 0, kKeepPlaceAndSize);
}

extern "C" int32_t __stdcall SysIsWindowActive(const HostContext* context, uint32_t WindowID) {
  if (!EnterExport(context)) return 0;
  return GetActiveWindow() == WindowOf(context, WindowID) ? 1 : 0;
}

// ---------------------------------------------------------------- finding and activating

extern "C" uint32_t __stdcall SysFindWindow(const HostContext* context, const char* ClassName,
                                            const char* Title) {
  if (!EnterExport(context)) return 0;
  const char* className = ClassName && *ClassName ? ClassName : nullptr;
  const char* title = Title && *Title ? Title : nullptr;
  return IdOf(FindWindowA(className, title));
}

extern "C" uint32_t __stdcall SysGetActiveWindow(const HostContext* context) {
  if (!EnterExport(context)) return 0;
  return IdOf(GetForegroundWindow());
}

extern "C" void __stdcall SysSetActiveWindow(const HostContext* context, uint32_t WindowID) {
  if (!EnterExport(context)) return;
  SetForegroundWindow(WindowOf(context, WindowID));
}

extern "C" HGLOBAL __stdcall SysGetWindowClass(const HostContext* context, const char* WindowTitle) {
  if (!EnterExport(context)) return nullptr;
  const char* title = WindowTitle ? WindowTitle : "";
  // Without a title the window manager would answer with whichever top-level window comes
  // first, a class the author never asked about.
  HWND window = *title ? FindWindowA(nullptr, title) : nullptr;
  if (!window) {
    ReportError(kNoWindowFound, title);
    return nullptr;
  }
  LockedBlock block;
  char* name = NewResultBlock(kClassBlock, block);
  if (!name) return nullptr;
  GetClassNameA(window, name, static_cast<int>(kClassBlock));
  return block.release();
}

// ---------------------------------------------------------------- place, size, title, close

extern "C" int32_t __stdcall SysPosWindow(const HostContext* context, uint32_t WindowID, int32_t Left,
                                          int32_t Top, int32_t HorizPos, int32_t VertPos) {
  if (!EnterExport(context)) return -1;
  HWND window = WindowOf(context, WindowID);
  int32_t left = Left;
  int32_t top = Top;
  if (HorizPos > 0 || VertPos > 0) {
    RECT frame{};
    GetWindowRect(window, &frame);
    left = PlacedEdge(Left, HorizPos, GetSystemMetrics(SM_CXSCREEN), frame.right - frame.left);
    top = PlacedEdge(Top, VertPos, GetSystemMetrics(SM_CYSCREEN), frame.bottom - frame.top);
  }
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
  return 0;
}

extern "C" int32_t __stdcall SysSizeWindow(const HostContext* context, uint32_t WindowID, int32_t Width,
                                           int32_t Height, int32_t HorizPercent, int32_t VertPercent) {
  if (!EnterExport(context)) return -1;
  const int32_t width = SizedExtent(Width, HorizPercent, GetSystemMetrics(SM_CXSCREEN));
  const int32_t height = SizedExtent(Height, VertPercent, GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(WindowOf(context, WindowID), nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE);
  return 0;
}

extern "C" int32_t __stdcall SysSetWindowTitle(const HostContext* context, uint32_t WindowID,
                                               const char* Title) {
  if (!EnterExport(context)) return -1;
  SetWindowTextA(WindowOf(context, WindowID), Title ? Title : "");
  return 0;
}

extern "C" int32_t __stdcall SysCloseWindow(const HostContext* context, uint32_t WindowID) {
  if (!EnterExport(context)) return -1;
  SendMessageA(WindowOf(context, WindowID), WM_CLOSE, 0, 0);
  return 0;
}

extern "C" void __stdcall SysHideWindowTitle(const HostContext* context) {
  if (!EnterExport(context)) return;
  SetStyleWord(context, kTitleLessStyle);
}

extern "C" void __stdcall SysVeruWindowTitle(const HostContext* context) {
  if (!EnterExport(context)) return;
  SetStyleWord(context, kCaptionedStyle);
}

// ---------------------------------------------------------------- menus

extern "C" int32_t __stdcall SysEnableMenuItem(const HostContext* context, uint32_t WindowID,
                                               int32_t DropDownPos, int32_t ItemPos, int32_t Enable) {
  if (!EnterExport(context)) return -1;
  HMENU dropDown = DropDown(context, WindowID, DropDownPos);
  if (!dropDown) return -1;
  const UINT flags = MF_BYPOSITION | (Enable != 0 ? MF_ENABLED : MF_GRAYED);
  return MenuResult(EnableMenuItem(dropDown, static_cast<UINT>(ItemPos), flags));
}

extern "C" int32_t __stdcall SysCheckMenuItem(const HostContext* context, uint32_t WindowID,
                                              int32_t DropDownPos, int32_t ItemPos, int32_t Enable) {
  if (!EnterExport(context)) return -1;
  HMENU dropDown = DropDown(context, WindowID, DropDownPos);
  if (!dropDown) return -1;
  const UINT flags = MF_BYPOSITION | (Enable != 0 ? MF_CHECKED : MF_UNCHECKED);
  return MenuResult(CheckMenuItem(dropDown, static_cast<UINT>(ItemPos), flags));
}
