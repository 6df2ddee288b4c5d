#include "system_services/files/file_operations.h"

#include <cstring>

#include "system_services/files/file_dates.h"
#include "system_services/files/file_walk.h"
#include "system_services/host/module_buffers.h"

using namespace rxsystem;

namespace {

constexpr DWORD kTransferSize = 32768;

bool FileIdentity(const char* path, BY_HANDLE_FILE_INFORMATION* info) {
  forms::UniqueHandle h(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return h && GetFileInformationByHandle(h.get(), info) != FALSE;
}

// Whether both names reach one file: written alike once made absolute, or the same file of
// the same volume (short names, other spellings, links). The single forms delete an
// existing destination first, which would otherwise take the source with it.
bool NamesSameFile(const char* a, const char* b) {
  char fullA[MAX_PATH], fullB[MAX_PATH];
  DWORD lengthA = GetFullPathNameA(a, MAX_PATH, fullA, nullptr);
  DWORD lengthB = GetFullPathNameA(b, MAX_PATH, fullB, nullptr);
  if (lengthA && lengthA < MAX_PATH && lengthB && lengthB < MAX_PATH && EqualIgnoringAsciiCase(fullA, fullB))
    return true;
  BY_HANDLE_FILE_INFORMATION infoA, infoB;
  return FileIdentity(a, &infoA) && FileIdentity(b, &infoB) &&
         infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
         infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
}

bool SameExistingFile(const char* source, const char* destination) {
  return PathExists(destination) && NamesSameFile(source, destination);
}

int CopyFileData(const char* source, const char* destination) {
  if (GetFileAttributesA(source) == INVALID_FILE_ATTRIBUTES && IsNotFoundError(GetLastError())) {
    ReportError(kFileNotFound, source);
    return -1;
  }
  forms::UniqueHandle in(CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!in) {
    ReportError(kErrorOpening, source);
    return -1;
  }
  LockedBlock block;
  char* buffer = NewResultBlock(kTransferSize, block);
  if (!buffer) return -1;
  // A read-only file is never replaced, also where the platform would let this process write
  // it anyway (an administrator's, or one running as the system's superuser).
  const DWORD existing = GetFileAttributesA(destination);
  const bool readOnly = existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY);
  forms::UniqueHandle out(readOnly ? INVALID_HANDLE_VALUE
                                   : CreateFileA(destination, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) {
    ReportError(kErrorCreating, destination);
    return -1;
  }
  int result = 0;
  for (;;) {
    DWORD got = 0;
    // A read that fails ends the copy as a failure: a move would otherwise delete a source
    // whose data never arrived.
    if (!ReadFile(in.get(), buffer, kTransferSize, &got, nullptr)) {
      ReportError(kErrorReading, source);
      result = -1;
      break;
    }
    if (got == 0) break;
    DWORD written = 0;
    if (!WriteFile(out.get(), buffer, got, &written, nullptr)) written = 0;
    if (written < got) {
      ReportError(kErrorWriting, destination);
      result = -1;
      break;
    }
  }
  return result;
}

// A file the walk finds already at its destination has nothing to copy.
int CopyFileCallback(const char* source, const char* destination) {
  if (SameExistingFile(source, destination)) return 0;
  return CopyFileData(source, destination);
}

int MoveFileCallback(const char* source, const char* destination) {
  if (SameExistingFile(source, destination)) return 0;
  if (CopyFileData(source, destination) != 0) return -1;
  if (!DeleteFileA(source)) {
    ReportError(kErrorDeletingFile, source);
    return -1;
  }
  return 0;
}

int DeleteFileCallback(const char* source, const char*) {
  if (!DeleteFileA(source)) {
    ReportError(kErrorDeletingFile, source);
    return -1;
  }
  return 0;
}

int RenameWithReport(const char* source, const char* destination) {
  if (MoveFileA(source, destination)) return 0;
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      ReportError(kFileNotFound, source);
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      ReportError(kInvalidFilePath, destination);
      break;
    default:
      break;
  }
  return -1;
}

int RenameFileCallback(const char* source, const char* destination) {
  return RenameWithReport(source, destination);
}

enum class SingleTransfer { Copy, Move, Rename };

int TransferOneFile(const HostContext* context, const char* source, const char* destination,
                    SingleTransfer kind) {
  if (!EnterExport(context)) return -1;
  if (Missing(source) || Missing(destination)) {
    ReportError(kInvalidParameter);
    return -1;
  }
  if (std::strlen(destination) >= kPathBuffer) {
    ReportError(kPathTooLong);
    return -1;
  }
  std::strcpy(TargetPath, destination);
  KeepDirNoSlash(TargetPath);
  if (std::strlen(TargetPath) > 2 && !PathExists(TargetPath) && CreatePathDirs(TargetPath) != 0) return -1;
  if (PathExists(destination)) {
    if (NamesSameFile(source, destination)) {
      // Already where it should be; a rename may still change how the name is written.
      if (kind == SingleTransfer::Rename) return RenameWithReport(source, destination);
      return 0;
    }
    DeleteFileA(destination);
  }
  switch (kind) {
    case SingleTransfer::Copy:
      return CopyFileData(source, destination);
    case SingleTransfer::Move:
      if (CopyFileData(source, destination) != 0) return -1;
      if (!DeleteFileA(source)) {
        ReportError(kErrorDeletingFile, source);
        return -1;
      }
      return 0;
    case SingleTransfer::Rename:
      return RenameWithReport(source, destination);
  }
  return -1;
}

// The wildcard forms: with a destination for copy and move, without for delete.
int TransferMatchingFiles(const HostContext* context, const char* fileSpec, const char* destination,
                          bool withDestination, bool recurse, bool overwrite, WalkCallback callback) {
  if (!EnterExport(context)) return -1;
  if (Missing(fileSpec) || (withDestination && Missing(destination))) {
    ReportError(kInvalidParameter);
    return -1;
  }
  if (SplitFileSpec(fileSpec) != 0) return -1;
  if (withDestination) {
    if (std::strlen(destination) >= kPathBuffer) {
      ReportError(kPathTooLong);
      return -1;
    }
    std::strcpy(TargetPath, destination);
  }
  const WaitCursorGuard waiting;
  int result = WalkDirectory(WalkPattern, withDestination, recurse, withDestination && !overwrite, callback);
  return result == -1 ? -1 : 0;
}

int TransferListedFiles(const HostContext* context, const char* list, bool withDestination, bool overwrite,
                        WalkCallback callback) {
  if (!EnterExport(context)) return -1;
  if (Missing(list)) {
    ReportError(kInvalidParameter);
    return -1;
  }
  return WalkFileList(list, withDestination, withDestination && !overwrite, callback);
}

// Seconds since 1970 on the universal clock, the scale of the search bounds.
int64_t FileTimeSeconds(const FILETIME& t) {
  constexpr int64_t kTicksTo1970 = 116444736000000000LL;
  const int64_t ticks =
      static_cast<int64_t>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  return (ticks - kTicksTo1970) / 10000000;
}

int64_t NowSeconds() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return FileTimeSeconds(now);
}

SYSTEMTIME ToSystemTime(const CalendarTime& t) {
  SYSTEMTIME s{};
  s.wYear = static_cast<WORD>(t.year);
  s.wMonth = static_cast<WORD>(t.month);
  s.wDay = static_cast<WORD>(t.day);
  s.wHour = static_cast<WORD>(t.hour);
  s.wMinute = static_cast<WORD>(t.minute);
  s.wSecond = static_cast<WORD>(t.second);
  return s;
}

// The platform's calendar spans the years 1601 to 30827. Local to universal with the
// daylight saving of that day, not of today.
bool LocalToUniversal(const CalendarTime& local, SYSTEMTIME* universal) {
  if (local.year < 1601 || local.year > 30827) return false;
  SYSTEMTIME s = ToSystemTime(local);
  return TzSpecificLocalTimeToSystemTime(nullptr, &s, universal) != FALSE;
}

// A search bound from its date text: the day's 00:00:01 local time as a second count that
// a signed 32-bit value holds, or false.
bool SearchBound(const char* text, int64_t* bound) {
  std::optional<CalendarTime> local = ParseSearchDate(text);
  SYSTEMTIME universal;
  if (!local || !LocalToUniversal(*local, &universal)) return false;
  CalendarTime u{universal.wYear, universal.wMonth,  universal.wDay,
                 universal.wHour, universal.wMinute, universal.wSecond};
  int64_t seconds = SecondsSince1970(u);
  if (seconds < 0 || seconds > INT32_MAX) return false;
  *bound = seconds;
  return true;
}

// The state of one SysFindFiles call, for its callback.
struct FindState {
  bool hasLower = false, hasUpper = false;
  int64_t lower = 0, upper = 0;
  bool firstOnly = false;
  LockedBlock block;  // locked while the search runs
  size_t used = 0;    // characters before the NUL
  size_t capacity = 0;
};
FindState Find;

// Room for `more` characters and the NUL; a result that outgrows its block gets a larger one.
bool MakeRoom(size_t more) {
  if (Find.used + more + 1 <= Find.capacity) return true;
  size_t wanted = Find.capacity * 2;
  if (wanted < Find.used + more + 1) wanted = Find.used + more + 1;
  const bool larger = Find.block.resize(wanted);
  if (larger) Find.capacity = wanted;
  if (!larger || !Find.block.text()) {
    VeruErrorBox(kInsufficientMemory);
    return false;
  }
  return true;
}

int FindFilesCallback(const char* path, const char*) {
  if (Find.hasLower || Find.hasUpper) {
    forms::UniqueHandle h(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) {
      ReportError(kErrorOpening, path);
      return -1;
    }
    FILETIME written;
    BOOL ok = GetFileTime(h.get(), nullptr, nullptr, &written);
    if (!ok) {
      ReportError(kCannotAccessFile, path);
      return -1;
    }
    int64_t seconds = FileTimeSeconds(written);
    if ((Find.hasLower && seconds < Find.lower) || (Find.hasUpper && seconds > Find.upper)) return 0;
  }
  size_t length = std::strlen(path);
  if (!MakeRoom(length + 1)) return -1;
  char* text = Find.block.text();
  std::memcpy(text + Find.used, path, length);
  Find.used += length;
  text[Find.used++] = '\r';
  text[Find.used] = '\0';
  return Find.firstOnly ? 1 : 0;
}

// Walks the roots of every fixed disk from C: to Z:; the result is what was found, even when
// a walk failed (that failure has been reported).
void FindOnEveryFixedDisk(bool recurse) {
  for (char drive = 'C'; drive <= 'Z'; ++drive) {
    const char root[] = {drive, ':', '\\', '\0'};
    if (GetDriveTypeA(root) != DRIVE_FIXED) continue;
    std::strcpy(SearchPath, root);
    std::strcat(SearchPath, "*.*");
    int result = WalkDirectory(WalkPattern, false, recurse, false, FindFilesCallback);
    if (result == 1 || result == -1) return;
  }
}

// The name part of a file spec searched on every disk, refused as the single-directory search
// refuses it.
bool PutSearchAllPattern(const char* fileSpec) {
  if (Missing(fileSpec)) {
    ReportError(kInvalidParameter);
    return false;
  }
  const char* slash = std::strrchr(fileSpec, '\\');
  const char* pattern = slash ? slash + 1 : fileSpec;
  size_t length = std::strlen(pattern);
  if (length == 0) {
    ReportError(kInvalidPattern);
    return false;
  }
  if (length >= kPathBuffer) {
    ReportError(kPatternTooLong);
    return false;
  }
  std::memcpy(WalkPattern, pattern, length + 1);
  return true;
}

}  // namespace

extern "C" int32_t __stdcall SysCopyFile(const HostContext* context, const char* SourceFileName,
                                         const char* DestFileName) {
  return TransferOneFile(context, SourceFileName, DestFileName, SingleTransfer::Copy);
}

extern "C" int32_t __stdcall SysMoveFile(const HostContext* context, const char* SourceFileName,
                                         const char* DestFileName) {
  return TransferOneFile(context, SourceFileName, DestFileName, SingleTransfer::Move);
}

extern "C" int32_t __stdcall SysRenameFile(const HostContext* context, const char* SourceFileName,
                                           const char* DestFileName) {
  return TransferOneFile(context, SourceFileName, DestFileName, SingleTransfer::Rename);
}

extern "C" int32_t __stdcall SysCopyFiles(const HostContext* context, const char* FileSpec,
                                          const char* DestDir, const char*, int32_t CopyDirs,
                                          int32_t Overwrite) {
  return TransferMatchingFiles(context, FileSpec, DestDir, true, CopyDirs != 0, Overwrite != 0,
                               CopyFileCallback);
}

extern "C" int32_t __stdcall SysMoveFiles(const HostContext* context, const char* SourceFileSpec,
                                          const char* DestDirectory, const char*, int32_t TraverseDirs,
                                          int32_t Overwrite) {
  return TransferMatchingFiles(context, SourceFileSpec, DestDirectory, true, TraverseDirs != 0,
                               Overwrite != 0, MoveFileCallback);
}

extern "C" int32_t __stdcall SysDeleteFiles(const HostContext* context, const char* FileSpec, const char*,
                                            int32_t TraverseDirs) {
  return TransferMatchingFiles(context, FileSpec, nullptr, false, TraverseDirs != 0, true,
                               DeleteFileCallback);
}

extern "C" int32_t __stdcall SysCopyFileList(const HostContext* context, const char* FileNameList,
                                             int32_t Overwrite) {
  return TransferListedFiles(context, FileNameList, true, Overwrite != 0, CopyFileCallback);
}

extern "C" int32_t __stdcall SysMoveFileList(const HostContext* context, const char* FileNameList,
                                             int32_t Overwrite) {
  return TransferListedFiles(context, FileNameList, true, Overwrite != 0, MoveFileCallback);
}

extern "C" int32_t __stdcall SysRenameFileList(const HostContext* context, const char* FileNameList,
                                               int32_t Overwrite) {
  return TransferListedFiles(context, FileNameList, true, Overwrite != 0, RenameFileCallback);
}

extern "C" int32_t __stdcall SysDeleteFileList(const HostContext* context, const char* FileList) {
  return TransferListedFiles(context, FileList, false, true, DeleteFileCallback);
}

extern "C" int32_t __stdcall SysDeleteFile(const HostContext* context, const char* FileName) {
  if (!EnterExport(context)) return -1;
  if (Missing(FileName)) {
    ReportError(kInvalidParameter);
    return -1;
  }
  if (!DeleteFileA(FileName)) {
    ReportError(kErrorDeletingFile, FileName);
    return -1;
  }
  return 0;
}

extern "C" int32_t __stdcall SysFileExists(const HostContext* context, const char* FileName) {
  if (!EnterExport(context)) return -1;
  if (Missing(FileName)) {
    ReportError(kInvalidParameter);
    return -1;
  }
  return PathExists(FileName) ? 1 : 0;
}

extern "C" HGLOBAL __stdcall SysFindFiles(const HostContext* context, const char* FileSpec, const char*,
                                          int32_t SearchDirs, int32_t SearchAll, int32_t FindFirstOnly,
                                          const char* MinDate, const char* MaxDate, int32_t MinNumDays,
                                          int32_t MaxNumDays) {
  if (!EnterExport(context)) return nullptr;
  Find = FindState{};
  if (!Missing(MinDate)) {
    if (!SearchBound(MinDate, &Find.lower)) {
      ReportError(kBadDateFormat);
      return nullptr;
    }
    Find.hasLower = true;
  } else if (MinNumDays >= 1) {
    Find.lower = NowSeconds() - static_cast<int64_t>(MinNumDays) * 86400;
    Find.hasLower = true;
  }
  if (!Missing(MaxDate)) {
    if (!SearchBound(MaxDate, &Find.upper)) {
      ReportError(kBadDateFormat);
      return nullptr;
    }
    Find.hasUpper = true;
  } else if (MaxNumDays >= 1) {
    Find.upper = NowSeconds() - static_cast<int64_t>(MaxNumDays) * 86400;
    Find.hasUpper = true;
  }
  Find.firstOnly = FindFirstOnly != 0;
  if (SearchAll && !PutSearchAllPattern(FileSpec)) return nullptr;

  Find.capacity = Find.firstOnly ? 262 : 29999;
  char* text = NewResultBlock(Find.capacity, Find.block);
  if (!text) return nullptr;
  text[0] = '\0';

  const WaitCursorGuard waiting;
  if (SearchAll) {
    FindOnEveryFixedDisk(SearchDirs != 0);
  } else {
    if (SplitFileSpec(FileSpec) != 0 ||
        WalkDirectory(WalkPattern, false, SearchDirs != 0, false, FindFilesCallback) == -1) {
      Find.block.reset();
      return nullptr;
    }
  }
  return Find.block.release();
}

extern "C" HGLOBAL __stdcall SysGetFileAttrib(const HostContext* context, const char* FileName) {
  if (!EnterExport(context)) return nullptr;
  if (Missing(FileName)) {
    ReportError(kInvalidParameter);
    return nullptr;
  }
  DWORD attributes = GetFileAttributesA(FileName);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    ReportError(kGetAttributesFailed, FileName);
    return nullptr;
  }
  struct Letter {
    DWORD flag;
    char letter;
  };
  static const Letter kLetters[] = {{FILE_ATTRIBUTE_READONLY, 'R'},
                                    {FILE_ATTRIBUTE_HIDDEN, 'H'},
                                    {FILE_ATTRIBUTE_SYSTEM, 'S'},
                                    {FILE_ATTRIBUTE_DIRECTORY, 'D'},
                                    {FILE_ATTRIBUTE_ARCHIVE, 'A'}};
  LockedBlock block;
  char* text = NewResultBlock(6, block);
  if (!text) return nullptr;
  size_t at = 0;
  for (const Letter& l : kLetters)
    if (attributes & l.flag) text[at++] = l.letter;
  text[at] = '\0';
  return block.release();
}

extern "C" int32_t __stdcall SysSetFileAttrib(const HostContext* context, const char* FileName,
                                              const char* Attributes) {
  if (!EnterExport(context)) return -1;
  if (Missing(FileName) || !Attributes) {
    ReportError(kInvalidParameter);
    return -1;
  }
  // The letters are read without regard to case; the host's text is left as it came.
  DWORD flags = 0;
  for (const char* c = Attributes; *c; ++c) {
    switch (*c) {
      case 'A':
      case 'a':
        flags |= FILE_ATTRIBUTE_ARCHIVE;
        break;
      case 'H':
      case 'h':
        flags |= FILE_ATTRIBUTE_HIDDEN;
        break;
      case 'R':
      case 'r':
        flags |= FILE_ATTRIBUTE_READONLY;
        break;
      case 'S':
      case 's':
        flags |= FILE_ATTRIBUTE_SYSTEM;
        break;
      default:
        break;
    }
  }
  if (!SetFileAttributesA(FileName, flags ? flags : FILE_ATTRIBUTE_NORMAL)) {
    ReportError(kSetAttributesFailed, FileName);
    return -1;
  }
  return 0;
}

extern "C" HGLOBAL __stdcall SysGetFileTime(const HostContext* context, const char* FileName) {
  if (!EnterExport(context)) return nullptr;
  if (Missing(FileName)) {
    ReportError(kInvalidParameter);
    return nullptr;
  }
  forms::UniqueHandle h(CreateFileA(FileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) {
    ReportError(kErrorOpening, FileName);
    return nullptr;
  }
  FILETIME written;
  BOOL ok = GetFileTime(h.get(), nullptr, nullptr, &written);
  SYSTEMTIME universal, local;
  if (!ok || !FileTimeToSystemTime(&written, &universal) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
    ReportError(kGetFileTimeFailed, FileName);
    return nullptr;
  }
  constexpr size_t kSize = 25;
  LockedBlock block;
  char* text = NewResultBlock(kSize, block);
  if (!text) return nullptr;
  FormatFileTime(
      CalendarTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond}, text,
      kSize);
  return block.release();
}

extern "C" int32_t __stdcall SysSetFileTime(const HostContext* context, const char* FileName,
                                            const char* Date, const char* Time) {
  if (!EnterExport(context)) return -1;
  if (Missing(FileName) || Missing(Date) || Missing(Time)) {
    ReportError(kInvalidParameter);
    return -1;
  }
  std::optional<CalendarTime> local = ParseFileDateTime(Date, Time);
  SYSTEMTIME universal;
  FILETIME stamp;
  if (!local || !LocalToUniversal(*local, &universal) || !SystemTimeToFileTime(&universal, &stamp)) {
    ReportError(kBadDateFormat);
    return -1;
  }
  forms::UniqueHandle h(
      CreateFileA(FileName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) {
    ReportError(kErrorOpening, FileName);
    return -1;
  }
  if (!SetFileTime(h.get(), &stamp, &stamp, &stamp)) {
    ReportError(kSetFileTimeFailed, FileName);
    return -1;
  }
  return 0;
}

extern "C" uint32_t __stdcall SysGetFileSize(const HostContext* context, const char* FileName) {
  if (!EnterExport(context)) return static_cast<uint32_t>(-1);
  // No message for any failure, the null name included.
  if (!FileName) return static_cast<uint32_t>(-1);
  forms::UniqueHandle h(CreateFileA(FileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return static_cast<uint32_t>(-1);
  return GetFileSize(h.get(), nullptr);
}
