// Whole files, read at once and written at once, for the programs: the data files of the two
// experiments, the floppy report, the viewer's picture. Every handle is held by an owner, so
// no way out leaves one open; a write reports the step that failed, close included, since a
// disk may refuse the last bytes only when the file is closed.
#pragma once
#include <windows.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "forms/platform/owned_handles.h"

namespace forms {

// What other programs may do with the file while it is read, and the largest file taken.
struct WholeFileReading {
  DWORD share = FILE_SHARE_READ;
  std::uint64_t maxBytes = std::numeric_limits<std::uint64_t>::max();
};

// The file's bytes. Nothing when it cannot be opened, when its size cannot be had or passes
// maxBytes, or when a read fails or the file ends before its size. A file too big for the
// memory raises std::bad_alloc.
std::optional<std::string> ReadWholeFile(const std::wstring& path, const WholeFileReading& reading);

// How a write went: when not ok, the platform's code of the step that failed, which is 0 when
// the platform gave none (a write that wrote nothing without an error).
struct WriteOutcome {
  bool ok = true;
  DWORD error = 0;
};

// The file created, or emptied when it is there, open for this process alone to write.
UniqueHandle CreateForWriting(const std::wstring& path);

// Writes every byte, flushes them to the disk and closes the file, stopping at the first step
// that fails; the file is closed on every way out.
WriteOutcome WriteAndClose(UniqueHandle file, std::string_view bytes);

// Codes of the replace's own refusals, beside the platform's.
inline constexpr DWORD kFolderInPlaceOfFile = 336;  // ERROR_DIRECTORY_NOT_SUPPORTED
inline constexpr DWORD kFileReadOnly = ERROR_FILE_READ_ONLY;

// Puts the bytes in place of the file (or creates it). They are written whole to a new file
// beside it and only then moved in, so a write that fails half-way (a full disk, a file held
// open) leaves the file as it was, and nothing is left beside it. A folder in the file's place
// and a read-only file are refused before anything is written, and so is a folder that is not
// there (ERROR_PATH_NOT_FOUND).
WriteOutcome ReplaceWholeFile(const std::wstring& path, std::string_view bytes);

}  // namespace forms
