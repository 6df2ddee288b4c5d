#include "system_services/programs/programs.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "system_services/programs/program_texts.h"

using namespace rxsystem;

namespace {

constexpr size_t kDirectoryBuffer = 260;
constexpr size_t kShortcutFolderBuffer = 276;
constexpr size_t kLinkPathBuffer = 368;
constexpr size_t kExtensionKeyBuffer = 100;
constexpr DWORD kShellFolderLimit = 259;
constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

void ReportShellFailure(const char* fileName, intptr_t code) {
  MessageId id = ShellErrorMessage(code);
  if (id == kShellOtherError)
    ReportError(id, fileName, static_cast<int>(code));
  else
    ReportError(id, fileName);
}

// A string result: a new movable block holding the text, unlocked.
HGLOBAL NewHostText(const char* text) {
  HGLOBAL block = BlockWith(text, std::strlen(text) + 1);
  if (!block) VeruErrorBox(kInsufficientMemory);
  return block;
}

int32_t DocumentRequest(const HostContext* context, const char* fileName, const char* verb, int show) {
  if (!EnterExport(context)) return -1;
  if (Missing(fileName)) {
    ReportError(kInvalidParameter);
    return -1;
  }
  return Guarded<int32_t>(-1, [&]() -> int32_t {
    std::string directory = DocumentDirectory(fileName);
    if (directory.size() >= kDirectoryBuffer) {
      ReportError(kPathTooLong);
      return -1;
    }
    HINSTANCE result = ShellExecuteA(context->HostWindow, verb, fileName, nullptr,
                                     directory.empty() ? nullptr : directory.c_str(), show);
    auto code = reinterpret_cast<intptr_t>(result);
    if (code > 32) return 0;
    ReportShellFailure(fileName, code);
    return -1;
  });
}

int ShowCommandOf(int32_t state) {
  switch (state) {
    case 1:
      return SW_MINIMIZE;
    case 2:
      return SW_SHOWMAXIMIZED;
    case 3:
      return SW_HIDE;
    default:
      return SW_SHOWNORMAL;
  }
}

// Reads one value of the user's shell folders into destination (kShellFolderLimit + 1 bytes).
int ReadShellFolder(const char* valueName, char* destination) {
  forms::UniqueKey key;
  bool read = false;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS) {
    DWORD size = kShellFolderLimit;
    DWORD type = 0;
    LONG status =
        RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(destination), &size);
    // The stored data need not end with a NUL.
    if (status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
      destination[size < kShellFolderLimit ? size : kShellFolderLimit] = '\0';
      read = destination[0] != '\0';
    }
  }
  if (!read) {
    ReportError(kStartMenuUnavailable);
    return -1;
  }
  return 0;
}

HGLOBAL ShellFolderResult(const char* valueName) {
  char folder[kShellFolderLimit + 1];
  if (ReadShellFolder(valueName, folder) != 0) return nullptr;
  return NewHostText(folder);
}

// The shell-link object of one SysCreateIcons call and the COM initialisation before it.
IShellLinkA* ShellLink = nullptr;
HRESULT ComStart = E_FAIL;
char ShortcutFolder[kShortcutFolderBuffer];
char LinkPath[kLinkPathBuffer];

void EndCom() {
  // S_FALSE too: every successful initialisation needs its own uninitialisation.
  if (SUCCEEDED(ComStart)) CoUninitialize();
  ComStart = E_FAIL;
}

void ReleaseShortcut() {
  if (!ShellLink) return;
  ShellLink->Release();
  ShellLink = nullptr;
  EndCom();
}

int OpenShortcutFolder(const char* groupPath, char* destination) {
  if (ReadShellFolder("Start Menu", destination) != 0) return -1;
  if (*groupPath) {
    if (std::strlen(destination) + 1 + std::strlen(groupPath) >= kShortcutFolderBuffer) {
      ReportError(kPathTooLong);
      return -1;
    }
    std::strcat(destination, "\\");
    std::strcat(destination, groupPath);
    if (CreatePathDirs(destination) != 0) return -1;
  }
  ComStart = CoInitialize(nullptr);
  if (SUCCEEDED(ComStart)) {
    void* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, &link)) &&
        link) {
      ShellLink = static_cast<IShellLinkA*>(link);
      return 0;
    }
    EndCom();
  }
  ComStart = E_FAIL;
  VeruErrorBox(kShortcutFailed);
  return -1;
}

int SaveShortcut(const char* linkFile, const IconSpec& spec) {
  ShellLink->SetPath(spec.exePath.c_str());
  ShellLink->SetWorkingDirectory(spec.startDir.c_str());
  ShellLink->SetArguments(spec.args.c_str());
  ShellLink->SetDescription(spec.description.c_str());
  ShellLink->SetIconLocation(spec.iconPath.c_str(), 0);
  bool saved = false;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(ShellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) && file) {
    wchar_t wide[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, linkFile, -1, wide, MAX_PATH) > 0)
      saved = SUCCEEDED(file->Save(wide, TRUE));
    file->Release();
  }
  if (saved) return 0;
  ReleaseShortcut();
  VeruErrorBox(kShortcutFailed);
  return -1;
}

}  // namespace

extern "C" HGLOBAL __stdcall SysAppFind(const HostContext* context, const char* FileName) {
  if (!EnterExport(context)) return nullptr;
  if (Missing(FileName)) {
    ReportError(kInvalidParameter);
    return nullptr;
  }
  LockedBlock block;
  char* text = NewLockedBlock(kDirectoryBuffer, block);
  if (!text) return nullptr;
  auto code = reinterpret_cast<intptr_t>(FindExecutableA(FileName, nullptr, text));
  text[kDirectoryBuffer - 1] = '\0';
  if (code > 32) return block.release();
  ReportShellFailure(FileName, code);
  return nullptr;
}

extern "C" int32_t __stdcall SysAppOpen(const HostContext* context, const char* FileName) {
  return DocumentRequest(context, FileName, nullptr, SW_SHOWNORMAL);
}

extern "C" int32_t __stdcall SysAppPrint(const HostContext* context, const char* FileName) {
  return DocumentRequest(context, FileName, "print", SW_MINIMIZE);
}

extern "C" int32_t __stdcall SysRunProgram(const HostContext* context, const char* ProgramFileName,
                                           int32_t State, int32_t Wait) {
  if (!EnterExport(context)) return -1;
  if (Missing(ProgramFileName)) {
    ReportError(kInvalidParameter);
    return -1;
  }
  if (!PathExists(ProgramFileName)) {
    ReportError(kFileNotFound, ProgramFileName);
    return -1;
  }
  return Guarded<int32_t>(-1, [&]() -> int32_t {
    std::string directory = DocumentDirectory(ProgramFileName);
    if (directory.size() >= kDirectoryBuffer) {
      ReportError(kPathTooLong);
      return -1;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(ShowCommandOf(State));
    // The name is the program itself, quoted by the one rule of every command line built
    // from a host path.
    std::string commandLine = QuotedProgramPath(ProgramFileName);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
      ReportError(kErrorExecuting, ProgramFileName);
      return -1;
    }
    forms::UniqueHandle thread(process.hThread);
    forms::UniqueHandle started(process.hProcess);
    if (Wait) WaitForSingleObject(started.get(), INFINITE);
    return 0;
  });
}

extern "C" HGLOBAL __stdcall SysGetStartMenuDir(const HostContext*) {
  return ShellFolderResult("Start Menu");
}

extern "C" HGLOBAL __stdcall SysGetStartupDir(const HostContext*) { return ShellFolderResult("Startup"); }

extern "C" HGLOBAL __stdcall SysGetDesktopDir(const HostContext*) { return ShellFolderResult("Desktop"); }

extern "C" int32_t __stdcall SysCreateIcons(const HostContext* context, const char* GroupName,
                                            const char* IconSpecs) {
  if (!EnterExport(context)) return -1;
  return Guarded<int32_t>(-1, [&]() -> int32_t {
    // Without a group the shortcuts go straight into Programs, not into "Programs\".
    std::string group = Missing(GroupName) ? std::string("Programs") : std::string("Programs\\") + GroupName;
    IconSpecScan scan = ScanIconSpecs(IconSpecs ? IconSpecs : "");
    if (OpenShortcutFolder(group.c_str(), ShortcutFolder) != 0) return -1;
    for (const IconSpec& spec : scan.specs) {
      size_t length = std::strlen(ShortcutFolder) + 1 + spec.description.size() + 4;
      if (length >= kLinkPathBuffer) {
        ReleaseShortcut();
        ReportError(kPathTooLong);
        return -1;
      }
      std::strcpy(LinkPath, ShortcutFolder);
      std::strcat(LinkPath, "\\");
      std::strcat(LinkPath, spec.description.c_str());
      std::strcat(LinkPath, ".lnk");
      if (SaveShortcut(LinkPath, spec) != 0) {
        scan.invalid = true;
        break;
      }
    }
    ReleaseShortcut();
    if (scan.invalid) {
      ReportError(kInvalidIconSpecification);
      return -1;
    }
    return 0;
  });
}

namespace {

bool SetDefaultValue(const forms::UniqueKey& key, const char* subKey, const std::string& text) {
  return RegSetValueA(key.get(), subKey, REG_SZ, text.c_str(), static_cast<DWORD>(text.size())) ==
         ERROR_SUCCESS;
}

}  // namespace

extern "C" int32_t __stdcall SysAssociateFileType(const HostContext* context, const char* ClassName,
                                                  const char* ClassDescription, const char* FileExtension,
                                                  const char* IconFileName, int32_t IconNumber,
                                                  const char* FileName, const char* OpenParams,
                                                  const char* PrintParams) {
  if (!EnterExport(context)) return -1;
  if (Missing(ClassName) || Missing(ClassDescription) || Missing(FileExtension) || Missing(FileName)) {
    ReportError(kInvalidParameter);
    return -1;
  }
  return Guarded<int32_t>(-1, [&]() -> int32_t {
    const std::string extensionKey = ExtensionKeyName(FileExtension);
    if (extensionKey.size() >= kExtensionKeyBuffer) {
      ReportError(kInvalidParameter);
      return -1;
    }
    forms::UniqueKey key;
    if (RegCreateKeyA(HKEY_CLASSES_ROOT, extensionKey.c_str(), key.put()) != ERROR_SUCCESS) {
      ReportError(kErrorCreatingKey, extensionKey.c_str());
      return -1;
    }
    bool set = SetDefaultValue(key, nullptr, ClassName);
    if (!set) {
      ReportError(kErrorSettingKeyValue);
      return -1;
    }

    if (RegCreateKeyA(HKEY_CLASSES_ROOT, ClassName, key.put()) != ERROR_SUCCESS) {
      ReportError(kErrorCreatingKey, ClassName);
      return -1;
    }
    set = SetDefaultValue(key, nullptr, ClassDescription);
    if (set && !Missing(IconFileName))
      set = SetDefaultValue(key, "DefaultIcon", DefaultIconValue(IconFileName, IconNumber));
    if (set)
      set = SetDefaultValue(key, "shell\\open\\command",
                            OpenCommandValue(FileName, OpenParams ? OpenParams : ""));
    if (set && !Missing(PrintParams))
      set = SetDefaultValue(key, "shell\\print\\command", PrintCommandValue(FileName, PrintParams));
    if (!set) {
      ReportError(kErrorSettingKeyValue);
      return -1;
    }
    WriteProfileStringA("Extensions", ExtensionsProfileKey(extensionKey).c_str(),
                        ExtensionsProfileValue(FileName, extensionKey).c_str());
    return 0;
  });
}
