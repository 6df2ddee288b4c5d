#include "system_services/drives/directories.h"

#include <winnetwk.h>

#include <cstring>
#include <string_view>

#include "system_services/drives/drive_text.h"
#include "system_services/host/module_buffers.h"

using namespace rxsystem;

namespace rxsystem {
namespace {

BOOL PlatformVersion(OSVERSIONINFOA* info) { return GetVersionExA(info); }

int PlatformExtendedDiskSpace(const char* root, ULARGE_INTEGER* available, ULARGE_INTEGER* total) {
  // Looked up at the call: the platforms that lack it must still load the library.
  using Query = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
  forms::UniqueModule kernel(LoadLibraryA("KERNEL32.DLL"));
  if (!kernel) return 1;
  auto query =
      reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(kernel.get(), "GetDiskFreeSpaceExA")));
  ULARGE_INTEGER totalFree{};
  BOOL done = query ? query(root, available, total, &totalFree) : FALSE;
  return done ? 0 : 1;
}

BOOL PlatformClassicDiskSpace(const char* root, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                              DWORD* freeClusters, DWORD* totalClusters) {
  return GetDiskFreeSpaceA(root, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
}

DWORD PlatformAddConnection(const char* remote, const char* password, const char* localName) {
  return WNetAddConnectionA(remote, password, localName);
}

DWORD PlatformCancelConnection(const char* name, BOOL force) { return WNetCancelConnectionA(name, force); }

UINT PlatformDriveType(const char* root) { return GetDriveTypeA(root); }

DrivePlatformSeam CurrentDriveSeam = {PlatformVersion,          PlatformExtendedDiskSpace,
                                      PlatformClassicDiskSpace, PlatformAddConnection,
                                      PlatformCancelConnection, PlatformDriveType};

// The device name that a share is connected to for the classic query.
constexpr const char* kShareDevice = "z:";

bool UsesExtendedQuery(const OSVERSIONINFOA& version) {
  if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
    return (version.dwBuildNumber & 0xFFFF) > 1000 || version.dwMinorVersion >= 1;
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 4;
}

void Split(uint64_t value, DWORD* low, DWORD* high) {
  if (low) *low = static_cast<DWORD>(value & 0xFFFFFFFFu);
  if (high) *high = static_cast<DWORD>(value >> 32);
}

int ClassicQuery(const char* root, DWORD* freeLow, DWORD* freeHigh, DWORD* totalLow, DWORD* totalHigh) {
  DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
  if (!CurrentDriveSeam.classicDiskSpace(root, &sectors, &bytes, &freeClusters, &totalClusters)) return 1;
  // Computed in 64 bits: a 32-bit product of a large disk's figures would wrap to a small one.
  const uint64_t cluster = static_cast<uint64_t>(bytes) * sectors;
  Split(cluster * freeClusters, freeLow, freeHigh);
  Split(cluster * totalClusters, totalLow, totalHigh);
  return 0;
}

bool IsShare(const char* root) { return root[0] == '\\' && root[1] == '\\'; }

// Removes the directory in SearchPath[0, length) and every directory below it; files stay, so
// a directory that holds one fails and ends the removal. SearchPath is used for every level.
int RemoveDirTree(size_t length) {
  static constexpr std::string_view kEverything = "\\*.*";
  SearchPath[length] = '\0';
  // A level too deep for the buffer cannot be listed; its directory is the one left behind.
  if (length + kEverything.size() >= kPathBuffer) {
    ReportError(kErrorDeletingTree, static_cast<const char*>(SearchPath));
    return -1;
  }
  std::memcpy(SearchPath + length, kEverything.data(), kEverything.size() + 1);
  WIN32_FIND_DATAA entry;
  // The listing is closed before the directory is removed.
  if (forms::UniqueFind find(FindFirstFileA(SearchPath, &entry)); find) {
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
      std::string_view name(entry.cFileName);
      if (name == "." || name.starts_with("..")) continue;
      if (length + 1 + name.size() >= kPathBuffer) {
        SearchPath[length] = '\0';
        ReportError(kErrorDeletingTree, static_cast<const char*>(SearchPath));
        return -1;
      }
      std::memcpy(SearchPath + length + 1, name.data(), name.size());
      if (RemoveDirTree(length + 1 + name.size()) != 0) return -1;
      // The child level overwrote the pattern after this directory's backslash.
      std::memcpy(SearchPath + length, kEverything.data(), kEverything.size() + 1);
    } while (FindNextFileA(find.get(), &entry));
  }
  SearchPath[length] = '\0';
  if (!RemoveDirectoryA(SearchPath)) {
    ReportError(kErrorDeletingTree, static_cast<const char*>(SearchPath));
    return -1;
  }
  return 0;
}

// The root of the disk-space queries in SearchPath: DriveName with a closing backslash, or the
// current directory's first three characters. False when there is none to be had.
bool DiskSpaceRoot(const char* DriveName) {
  if (DriveName && *DriveName) return ClosedDriveRoot(DriveName, SearchPath, kPathBuffer);
  DWORD length = GetCurrentDirectoryA(kPathBuffer, SearchPath);
  if (length == 0 || length >= kPathBuffer) return false;
  if (length > 3) SearchPath[3] = '\0';
  return true;
}

// Kilobytes of a 64-bit byte count in the 32 bits the host reads. A count beyond what they
// hold answers the largest value rather than the few bits that would be left of it.
uint32_t Kilobytes(DWORD low, DWORD high) {
  if (high >= (1u << 10)) return 0xFFFFFFFFu;
  return (high << 22) | (low >> 10);
}

uint32_t DiskSpace(const char* DriveName, bool total) {
  if (!DiskSpaceRoot(DriveName)) return 0;
  DWORD low = 0, high = 0;
  int failed = total ? QueryDiskSpace(SearchPath, nullptr, nullptr, &low, &high)
                     : QueryDiskSpace(SearchPath, &low, &high, nullptr, nullptr);
  return failed ? 0 : Kilobytes(low, high);
}

constexpr size_t kDriveLetterBlock = 2;

HGLOBAL DriveLetterBlock(char letter) {
  const char text[] = {letter, '\0'};
  return BlockWith(std::string_view(text, 1), kDriveLetterBlock);
}

std::string_view DriveTypeWord(UINT type) {
  switch (type) {
    case DRIVE_REMOVABLE:
      return "removable";
    case DRIVE_FIXED:
      return "fixed";
    case DRIVE_REMOTE:
      return "remote";
    case DRIVE_CDROM:
      return "cdrom";
    case DRIVE_RAMDISK:
      return "ramdisk";
    default:
      return "error";
  }
}

}  // namespace

DrivePlatformSeam PlatformDriveSeam() {
  return {PlatformVersion,       PlatformExtendedDiskSpace, PlatformClassicDiskSpace,
          PlatformAddConnection, PlatformCancelConnection,  PlatformDriveType};
}

DrivePlatformSeam ReplaceDriveSeam(DrivePlatformSeam seam) {
  DrivePlatformSeam previous = CurrentDriveSeam;
  CurrentDriveSeam = seam;
  return previous;
}

int QueryDiskSpace(const char* root, DWORD* freeLow, DWORD* freeHigh, DWORD* totalLow, DWORD* totalHigh) {
  for (DWORD* out : {freeLow, freeHigh, totalLow, totalHigh})
    if (out) *out = 0;
  if (!root) return 1;
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (CurrentDriveSeam.getVersion(&version) && UsesExtendedQuery(version)) {
    ULARGE_INTEGER available{}, total{};
    if (CurrentDriveSeam.extendedDiskSpace(root, &available, &total) != 0) return 1;
    Split(available.QuadPart, freeLow, freeHigh);
    Split(total.QuadPart, totalLow, totalHigh);
    return 0;
  }
  if (!IsShare(root)) return ClassicQuery(root, freeLow, freeHigh, totalLow, totalHigh);
  if (CurrentDriveSeam.addConnection(root, nullptr, kShareDevice) != NO_ERROR) return 1;
  int failed = ClassicQuery(kShareDevice, freeLow, freeHigh, totalLow, totalHigh);
  CurrentDriveSeam.cancelConnection(kShareDevice, TRUE);
  return failed;
}

}  // namespace rxsystem

extern "C" int32_t __stdcall SysCreateDir(const HostContext* context, const char* DirectoryName) {
  if (!EnterExport(context)) return -1;
  if (!DirectoryName || !*DirectoryName) {
    ReportError(kInvalidParameter);
    return -1;
  }
  // Too long for the buffer is refused before the platform is asked whether it exists: its
  // answer to such a name is no "not found", which would count as present.
  if (!CopyToBuffer(DirectoryName, SearchPath, kPathBuffer)) {
    ReportError(kErrorCreating, DirectoryName);
    return -1;
  }
  if (PathExists(SearchPath)) return 0;
  return CreatePathDirs(SearchPath);
}

extern "C" int32_t __stdcall SysRemoveDir(const HostContext* context, const char* DirName,
                                          int32_t RemoveSubDirs) {
  if (!EnterExport(context)) return -1;
  if (!DirName || !*DirName || !PathExists(DirName)) {
    ReportError(kInvalidParameter);
    return -1;
  }
  if (!RemoveSubDirs) {
    if (!RemoveDirectoryA(DirName)) {
      ReportError(kErrorDeletingDirectory, DirName);
      return -1;
    }
    return 0;
  }
  if (!CopyToBuffer(DirName, SearchPath, kPathBuffer)) {
    ReportError(kErrorDeletingTree, DirName);
    return -1;
  }
  return RemoveDirTree(std::strlen(SearchPath));
}

extern "C" HGLOBAL __stdcall SysGetCurDir(const HostContext* context) {
  if (!EnterExport(context)) return nullptr;
  constexpr DWORD kSize = 261;
  LockedBlock block;
  char* text = NewResultBlock(kSize, block);
  if (!text) return nullptr;
  DWORD length = GetCurrentDirectoryA(kSize - 1, text);
  if (length == 0 || length >= kSize - 1) {
    ReportError(kErrorCurrentDirectory);
    return nullptr;
  }
  return block.release();
}

extern "C" int32_t __stdcall SysSetCurDir(const HostContext* context, const char* DirName) {
  if (!EnterExport(context)) return -1;
  if (!DirName || !*DirName) {
    ReportError(kInvalidParameter);
    return -1;
  }
  if (!SetCurrentDirectoryA(DirName)) {
    ReportError(kInvalidFilePath, DirName);
    return -1;
  }
  return 0;
}

extern "C" HGLOBAL __stdcall SysGetTempDir(const HostContext* context) {
  if (!EnterExport(context)) return nullptr;
  constexpr DWORD kSize = 261;
  LockedBlock block;
  char* text = NewResultBlock(kSize, block);
  if (!text) return nullptr;
  DWORD length = GetTempPathA(kSize - 1, text);
  if (length == 0 || length >= kSize - 1) return nullptr;
  // A root such as C:\ keeps its backslash; every deeper directory loses it.
  if (length > 3 && text[length - 1] == '\\') text[length - 1] = '\0';
  return block.release();
}

extern "C" HGLOBAL __stdcall SysGetTempFileName(const HostContext* context, const char* Prefix) {
  if (!EnterExport(context)) return nullptr;
  constexpr DWORD kSize = 260;
  LockedBlock block;
  char* text = NewResultBlock(kSize, block);
  if (!text) return nullptr;
  if (!Prefix || !*Prefix) Prefix = "tmp";
  char directory[kSize];
  DWORD length = GetTempPathA(kSize - 1, directory);
  if (length == 0 || length >= kSize - 1 || GetTempFileNameA(directory, Prefix, 0, text) == 0) return nullptr;
  CharLowerA(text);
  return block.release();
}

extern "C" HGLOBAL __stdcall SysGetCurDrive(const HostContext* context) {
  if (!EnterExport(context)) return nullptr;
  DWORD length = GetCurrentDirectoryA(kPathBuffer, SearchPath);
  if (length == 0 || length >= kPathBuffer) return nullptr;
  return DriveLetterBlock(SearchPath[0]);
}

extern "C" int32_t __stdcall SysSetCurDrive(const HostContext* context, const char* DriveName) {
  if (!EnterExport(context)) return -1;
  char root[4];
  if (!DriveRoot(DriveName, root)) {
    ReportError(kInvalidParameter);
    return -1;
  }
  return SetCurrentDirectoryA(root) ? 0 : -1;
}

extern "C" uint32_t __stdcall SysGetFreeDiskSpace(const HostContext* context, const char* DriveName) {
  if (!EnterExport(context)) return 0;
  return DiskSpace(DriveName, false);
}

extern "C" uint32_t __stdcall SysGetTotalDiskSpace(const HostContext* context, const char* DriveName) {
  if (!EnterExport(context)) return 0;
  return DiskSpace(DriveName, true);
}

extern "C" HGLOBAL __stdcall SysGetVolumeName(const HostContext* context, const char* DriveName) {
  if (!EnterExport(context)) return nullptr;
  char root[4];
  TargetPath[0] = '\0';
  if (!GetVolumeInformationA(DriveRoot(DriveName, root), TargetPath, kPathBuffer, nullptr, nullptr, nullptr,
                             nullptr, 0))
    return nullptr;
  TargetPath[kPathBuffer - 1] = '\0';
  size_t length = std::strlen(TargetPath);
  HGLOBAL block = BlockWith(std::string_view(TargetPath, length), length + 1);
  if (!block) VeruErrorBox(kInsufficientMemory);
  return block;
}

extern "C" int32_t __stdcall SysIsCDDrive(const HostContext* context, const char* DriveName) {
  if (!EnterExport(context)) return 0;
  char root[4];
  return CurrentDriveSeam.driveType(DriveRoot(DriveName, root)) == DRIVE_CDROM ? 1 : 0;
}

extern "C" HGLOBAL __stdcall SysGetCDDrive(const HostContext* context) {
  if (!EnterExport(context)) return nullptr;
  char root[] = "C:\\";
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    root[0] = letter;
    if (CurrentDriveSeam.driveType(root) == DRIVE_CDROM) return DriveLetterBlock(letter);
  }
  return nullptr;
}

extern "C" HGLOBAL __stdcall SysGetDriveType(const HostContext* context, const char* DriveName) {
  if (!EnterExport(context)) return nullptr;
  char root[4];
  return BlockWith(DriveTypeWord(CurrentDriveSeam.driveType(DriveRoot(DriveName, root))), 15);
}

extern "C" HGLOBAL __stdcall SysGetDriveList(const HostContext* context) {
  if (!EnterExport(context)) return nullptr;
  char list[2 * 26 + 1];
  size_t used = 0;
  char root[] = "A:\\";
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    root[0] = letter;
    if (CurrentDriveSeam.driveType(root) <= DRIVE_NO_ROOT_DIR) continue;
    list[used++] = letter;
    list[used++] = '\r';
  }
  return BlockWith(std::string_view(list, used), 60);
}
