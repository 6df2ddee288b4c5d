#include "system_services/windows/system_info.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "system_services/windows/help_command.h"

using namespace rxsystem;

namespace rxsystem {
namespace {

BOOL PlatformVersion(OSVERSIONINFOA* info) { return GetVersionExA(info); }

BOOL PlatformEnumDisplaySettings(DWORD mode, DEVMODEA* settings) {
  return EnumDisplaySettingsA(nullptr, mode, settings);
}

LONG PlatformChangeDisplaySettings(DEVMODEA* settings, DWORD flags) {
  return ChangeDisplaySettingsA(settings, flags);
}

BOOL PlatformSystemParametersInfo(UINT action, UINT parameter, void* value, UINT profileFlags) {
  return SystemParametersInfoA(action, parameter, value, profileFlags);
}

BOOL PlatformOpenProcessToken(DWORD access, HANDLE* token) {
  return OpenProcessToken(GetCurrentProcess(), access, token);
}

BOOL PlatformLookupPrivilegeValue(const char* name, LUID* luid) {
  return LookupPrivilegeValueA(nullptr, name, luid);
}

BOOL PlatformAdjustTokenPrivileges(HANDLE token, TOKEN_PRIVILEGES* privileges) {
  return AdjustTokenPrivileges(token, FALSE, privileges, 0, nullptr, nullptr);
}

BOOL PlatformExitWindowsEx(UINT flags, DWORD reason) { return ExitWindowsEx(flags, reason); }

BOOL PlatformWinHelp(HWND owner, const char* helpFile, UINT command, ULONG_PTR data) {
  return WinHelpA(owner, helpFile, command, data);
}

SystemPlatformSeam PlatformSeam() {
  return {PlatformVersion,
          PlatformEnumDisplaySettings,
          PlatformChangeDisplaySettings,
          PlatformSystemParametersInfo,
          PlatformOpenProcessToken,
          PlatformLookupPrivilegeValue,
          PlatformAdjustTokenPrivileges,
          PlatformExitWindowsEx,
          PlatformWinHelp};
}

SystemPlatformSeam CurrentSeam = PlatformSeam();

// The record size the display driver is told: the layout without the later panning fields.
constexpr WORD kDisplayModeRecordSize = 156;
static_assert(sizeof(DEVMODEA) >= kDisplayModeRecordSize);

// The header names the ANSI block's query only under its plain name, which a wide build
// turns into the wide one.
#pragma push_macro("GetEnvironmentStrings")
#undef GetEnvironmentStrings
char* AnsiEnvironmentStrings() { return GetEnvironmentStrings(); }
#pragma pop_macro("GetEnvironmentStrings")

bool PlatformIsNT() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  return CurrentSeam.getVersion(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool NextDisplayMode(DWORD mode, DEVMODEA& settings) {
  settings = DEVMODEA{};
  settings.dmSize = kDisplayModeRecordSize;
  return CurrentSeam.enumDisplaySettings(mode, &settings) != FALSE;
}

constexpr UINT kDirectoryBlock = 260;

HGLOBAL DirectoryBlock(UINT(WINAPI* query)(LPSTR, UINT)) {
  LockedBlock block;
  char* text = NewLockedBlock(kDirectoryBlock, block);
  if (!text) return nullptr;
  UINT length = query(text, kDirectoryBlock);
  if (length == 0 || length >= kDirectoryBlock) return nullptr;
  return block.release();
}

std::string_view FamilyWord(const OSVERSIONINFOA& version) {
  switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
      return "32s";
    case VER_PLATFORM_WIN32_WINDOWS:
      return version.dwMinorVersion == 10 ? "98" : "95";
    case VER_PLATFORM_WIN32_NT:
      return "NT";
    default:
      return {};
  }
}

}  // namespace

SystemPlatformSeam PlatformSystemSeam() { return PlatformSeam(); }

SystemPlatformSeam ReplaceSystemSeam(SystemPlatformSeam seam) {
  SystemPlatformSeam previous = CurrentSeam;
  CurrentSeam = seam;
  return previous;
}

}  // namespace rxsystem

extern "C" HGLOBAL __stdcall SysGetDOSEnvironment(const HostContext* context) {
  if (!EnterExport(context)) return nullptr;
  char* environment = AnsiEnvironmentStrings();
  if (!environment) return nullptr;
  size_t size = 1;
  for (const char* entry = environment; *entry; entry += std::strlen(entry) + 1)
    size += std::strlen(entry) + 1;
  LockedBlock block;
  char* text = NewLockedBlock(size, block);
  if (text) {
    char* out = text;
    for (const char* entry = environment; *entry; entry += std::strlen(entry) + 1) {
      size_t length = std::strlen(entry);
      std::memcpy(out, entry, length);
      out += length;
      *out++ = '\r';
    }
    *out = '\0';
  }
  FreeEnvironmentStringsA(environment);
  return block.release();
}

extern "C" HGLOBAL __stdcall SysGetEnvVariable(const HostContext* context, const char* VariableName) {
  if (!EnterExport(context)) return nullptr;
  if (!VariableName || !*VariableName) {
    ReportError(kInvalidParameter);
    return nullptr;
  }
  constexpr DWORD kSize = 30000;
  LockedBlock block;
  char* text = NewResultBlock(kSize, block);
  if (!text) return nullptr;
  DWORD length = GetEnvironmentVariableA(VariableName, text, kSize - 1);
  // A value longer than the block is not read at all; it answers like an unset variable
  // rather than with the block's stale bytes.
  if (length == 0 || length >= kSize - 1) return nullptr;
  return block.shrinkAndRelease(length + 1);
}

extern "C" HGLOBAL __stdcall SysGetWindowsDir(const HostContext* context) {
  if (!EnterExport(context)) return nullptr;
  return DirectoryBlock(GetWindowsDirectoryA);
}

extern "C" HGLOBAL __stdcall SysGetSystemDir(const HostContext* context) {
  if (!EnterExport(context)) return nullptr;
  return DirectoryBlock(GetSystemDirectoryA);
}

extern "C" int32_t __stdcall SysGetSystemFontHeight(const HostContext* context) {
  if (!EnterExport(context)) return 0;
  forms::WindowDC dc(context->HostWindow);
  if (!dc) return 0;
  int mode = SetMapMode(dc.get(), MM_TEXT);
  TEXTMETRICA metrics{};
  BOOL measured;
  {
    forms::SelectionGuard font(dc.get(), GetStockObject(SYSTEM_FONT));
    measured = GetTextMetricsA(dc.get(), &metrics);
  }
  if (mode) SetMapMode(dc.get(), mode);
  return measured ? metrics.tmHeight : 0;
}

extern "C" int32_t __stdcall SysEnableScreenSaver(const HostContext* context, int32_t Enable) {
  if (!EnterExport(context)) return 0;
  BOOL active = FALSE;
  if (!CurrentSeam.systemParametersInfo(SPI_GETSCREENSAVEACTIVE, 0, &active, 0)) active = FALSE;
  // Neither written to the user's profile nor broadcast: the switch lasts for this session.
  CurrentSeam.systemParametersInfo(SPI_SETSCREENSAVEACTIVE, Enable ? TRUE : FALSE, nullptr, 0);
  return active;
}

extern "C" HGLOBAL __stdcall SysGetAvailScreenRes(const HostContext* context, int32_t AllColorDepths) {
  if (!EnterExport(context)) return nullptr;
  LockedBlock block;
  char* text = NewLockedBlock(kScreenResBlock, block);
  if (!text) return nullptr;
  DWORD depth = 0;
  if (!AllColorDepths) {
    forms::WindowDC dc(GetDesktopWindow());
    if (dc) depth = static_cast<DWORD>(GetDeviceCaps(dc.get(), BITSPIXEL));
  }
  size_t used = 0;
  DEVMODEA settings;
  for (DWORD mode = 0; NextDisplayMode(mode, settings); ++mode) {
    char line[48];
    int length;
    if (AllColorDepths) {
      length = std::snprintf(line, sizeof line, "%lu,%lu,%lu\r", settings.dmPelsWidth, settings.dmPelsHeight,
                             settings.dmBitsPerPel);
    } else {
      if (settings.dmBitsPerPel != depth) continue;
      length = std::snprintf(line, sizeof line, "%lu,%lu\r", settings.dmPelsWidth, settings.dmPelsHeight);
    }
    // The list ends with the last line that fits whole, never with a part of one.
    if (length <= 0 || used + static_cast<size_t>(length) >= kScreenResBlock) break;
    std::memcpy(text + used, line, static_cast<size_t>(length));
    used += static_cast<size_t>(length);
  }
  return block.release();
}

extern "C" int32_t __stdcall SysSetScreenRes(const HostContext*, int32_t Width, int32_t Height,
                                             int32_t ColorBits) {
  const DWORD width = static_cast<DWORD>(Width);
  const DWORD height = static_cast<DWORD>(Height);
  DWORD rate = 0;
  if (PlatformIsNT()) {
    DEVMODEA mode;
    for (DWORD i = 0; NextDisplayMode(i, mode); ++i)
      if (mode.dmPelsWidth == width && mode.dmPelsHeight == height && mode.dmDisplayFrequency > rate)
        rate = mode.dmDisplayFrequency;
  }
  DEVMODEA settings{};
  settings.dmSize = kDisplayModeRecordSize;
  settings.dmDriverExtra = 0;
  settings.dmPelsWidth = width;
  settings.dmPelsHeight = height;
  settings.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  if (ColorBits > 0) {
    settings.dmBitsPerPel = static_cast<DWORD>(ColorBits);
    settings.dmFields |= DM_BITSPERPEL;
  }
  if (rate > 0) {
    settings.dmDisplayFrequency = rate;
    settings.dmFields |= DM_DISPLAYFREQUENCY;
  }
  switch (CurrentSeam.changeDisplaySettings(&settings, 0)) {
    case DISP_CHANGE_SUCCESSFUL:
      return 0;
    case DISP_CHANGE_RESTART:
      return -2;
    default:
      return -1;
  }
}

extern "C" void __stdcall SysRestart(const HostContext* context) {
  if (!EnterExport(context)) return;
  if (PlatformIsNT()) {
    forms::UniqueHandle token;
    if (CurrentSeam.openProcessToken(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) {
      TOKEN_PRIVILEGES privileges{};
      privileges.PrivilegeCount = 1;
      privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
      if (CurrentSeam.lookupPrivilegeValue("SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        CurrentSeam.adjustTokenPrivileges(token.get(), &privileges);
    }
  }
  CurrentSeam.exitWindowsEx(EWX_REBOOT | EWX_FORCE, 0);
}

extern "C" HGLOBAL __stdcall SysGetOSVersion(const HostContext* context) {
  if (!EnterExport(context)) return nullptr;
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!CurrentSeam.getVersion(&version)) return nullptr;
  std::string_view word = FamilyWord(version);
  if (word.empty()) return nullptr;
  return BlockWith(word, 5);
}

extern "C" HGLOBAL __stdcall SysGetFileVersion(const HostContext* context, const char* FileName) {
  if (!EnterExport(context)) return nullptr;
  if (!FileName) FileName = "";
  if (!PathExists(FileName)) return nullptr;
  DWORD unused = 0;
  DWORD size = GetFileVersionInfoSizeA(FileName, &unused);
  if (size == 0) return nullptr;
  forms::UniqueGlobal data(GlobalAlloc(GPTR, size));
  if (!data) {
    VeruPlainError("no mem");
    return nullptr;
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!GetFileVersionInfoA(FileName, 0, size, data.get()) ||
      !VerQueryValueA(data.get(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed ||
      fixedSize < sizeof(VS_FIXEDFILEINFO)) {
    VeruPlainError("error retrieving version info.");
    return nullptr;
  }
  char text[30];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", HIWORD(fixed->dwFileVersionMS),
                LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                LOWORD(fixed->dwFileVersionLS));
  HGLOBAL block = BlockWith(text, sizeof text);
  if (!block) VeruPlainError("no mem");
  return block;
}

extern "C" HGLOBAL __stdcall SysGetVideoVersion(const HostContext* context) {
  if (!EnterExport(context)) return nullptr;
  return BlockWith("2.0", 4);
}

extern "C" int32_t __stdcall SysHelp(const HostContext* context, const char* HelpFileName,
                                     const char* SecondaryWindowName, const char* Command) {
  if (!EnterExport(context)) return -1;
  if (!HelpFileName || !*HelpFileName || !Command || !*Command) {
    VeruPlainError("bad arg");
    return -1;
  }
  if (!SecondaryWindowName) SecondaryWindowName = "";
  std::string target;
  HelpCommandParts parts;
  try {
    target = HelpFileName;
    if (*SecondaryWindowName) (target += '>') += SecondaryWindowName;
    parts = SplitHelpCommand(Command);
  } catch (const std::bad_alloc&) {
    VeruErrorBox(kInsufficientMemory);
    return 0;
  }
  std::optional<HelpRequestKind> kind = HelpRequestFor(parts.word);
  // A word outside the language has no request to send.
  if (!kind) {
    VeruPlainError("bad arg");
    return -1;
  }
  ULONG_PTR data = 0;
  std::string record;
  switch (kind->operand) {
    case HelpOperandKind::None:
      break;
    case HelpOperandKind::Number:
      data = static_cast<ULONG_PTR>(static_cast<uint32_t>(LeadingNumber(parts.operand)));
      break;
    case HelpOperandKind::Text:
      data = reinterpret_cast<ULONG_PTR>(parts.operand.c_str());
      break;
    case HelpOperandKind::WindowPosition:
      try {
        record = HelpWindowRecord(ParseWindowNumbers(parts.operand), SecondaryWindowName);
      } catch (const std::bad_alloc&) {
        VeruPlainError("no mem");
        return -1;
      }
      data = reinterpret_cast<ULONG_PTR>(record.data());
      break;
  }
  return CurrentSeam.winHelp(context->HostWindow, target.c_str(), kind->request, data);
}

extern "C" void __stdcall SysCloseHelp(const HostContext* context, const char* FileName) {
  if (!EnterExport(context)) return;
  CurrentSeam.winHelp(context->HostWindow, FileName ? FileName : "", HELP_QUIT, 0);
}
