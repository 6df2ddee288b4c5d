// The directory and drive family's exports, and the platform calls behind the drive queries.
#pragma once
#include "system_services/host/host_interface.h"

namespace rxsystem {

// The platform calls of the drive queries that a test machine cannot always make for real (an
// old platform version, a network share, a CD-ROM drive); tests put recorders here.
struct DrivePlatformSeam {
  BOOL (*getVersion)(OSVERSIONINFOA* info);
  // The extended free-space query, looked up in KERNEL32.DLL at the call; 0 on success,
  // nonzero when the function is missing or the call fails.
  int (*extendedDiskSpace)(const char* root, ULARGE_INTEGER* available, ULARGE_INTEGER* total);
  using ClassicDiskSpace = BOOL (*)(const char* root, DWORD* sectorsPerCluster, DWORD* bytesPerSector,
                                    DWORD* freeClusters, DWORD* totalClusters);
  ClassicDiskSpace classicDiskSpace;
  DWORD (*addConnection)(const char* remote, const char* password, const char* localName);
  DWORD (*cancelConnection)(const char* name, BOOL force);
  UINT (*driveType)(const char* root);
};
DrivePlatformSeam PlatformDriveSeam();
// Returns the seam that was in place.
DrivePlatformSeam ReplaceDriveSeam(DrivePlatformSeam seam);

// Free and total bytes of the drive or share at root; each output may be null, and every one
// given is 0 unless the query succeeds. 0 on success, nonzero on failure.
int QueryDiskSpace(const char* root, DWORD* freeLow, DWORD* freeHigh, DWORD* totalLow, DWORD* totalHigh);

}  // namespace rxsystem

extern "C" {
int32_t __stdcall SysCreateDir(const rxsystem::HostContext* context, const char* DirectoryName);
int32_t __stdcall SysRemoveDir(const rxsystem::HostContext* context, const char* DirName,
                               int32_t RemoveSubDirs);
HGLOBAL __stdcall SysGetCurDir(const rxsystem::HostContext* context);
int32_t __stdcall SysSetCurDir(const rxsystem::HostContext* context, const char* DirName);
HGLOBAL __stdcall SysGetTempDir(const rxsystem::HostContext* context);
HGLOBAL __stdcall SysGetTempFileName(const rxsystem::HostContext* context, const char* Prefix);
HGLOBAL __stdcall SysGetCurDrive(const rxsystem::HostContext* context);
int32_t __stdcall SysSetCurDrive(const rxsystem::HostContext* context, const char* DriveName);
uint32_t __stdcall SysGetFreeDiskSpace(const rxsystem::HostContext* context, const char* DriveName);
uint32_t __stdcall SysGetTotalDiskSpace(const rxsystem::HostContext* context, const char* DriveName);
HGLOBAL __stdcall SysGetVolumeName(const rxsystem::HostContext* context, const char* DriveName);
int32_t __stdcall SysIsCDDrive(const rxsystem::HostContext* context, const char* DriveName);
HGLOBAL __stdcall SysGetCDDrive(const rxsystem::HostContext* context);
HGLOBAL __stdcall SysGetDriveType(const rxsystem::HostContext* context, const char* DriveName);
HGLOBAL __stdcall SysGetDriveList(const rxsystem::HostContext* context);
}
