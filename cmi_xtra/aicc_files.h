// The AICC file exchange with the course-management system: text handles, the launch file
// "PARAM.CMI" in the Windows directory, single profile values, whole free-text sections, and
// the process-global CMI state.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "forms/platform/owned_handles.h"

namespace lmint {

// A movable, zero-initialised global-memory block holding a zero-ended text; null is no text.
using TextHandle = void*;

std::size_t handleSize(TextHandle handle);
// A copy of the handle's text; nullopt for a null handle or one that cannot be locked.
std::optional<std::string> handleText(TextHandle handle);

// Frees its handle when it goes out of scope, unless handed on.
class OwnedHandle : public forms::UniqueGlobal {
 public:
  using forms::UniqueGlobal::UniqueGlobal;
  std::optional<std::string> text() const { return handleText(get()); }
};

// Null when there is no memory.
OwnedHandle handleAlloc(std::size_t size);
// The block, given size bytes; a block that cannot be resized stays as it was.
void handleReAlloc(OwnedHandle& handle, std::size_t size);
OwnedHandle emptyStringHandle();
// A new handle sized for the text.
OwnedHandle handleWithText(std::string_view text);

OwnedHandle windowsDirectoryHandle();
OwnedHandle paramFilePath();
OwnedHandle readProfileString(const std::string& file, const std::string& section, const std::string& key);
void writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);
// Null when the file name is empty or the file cannot be opened; the empty text when the
// section is not there.
OwnedHandle readWholeSection(const std::string& file, const std::string& section);
void replaceWholeSection(const std::string& file, const std::string& section, const std::string& text);
// The profile functions may keep the last file they parsed in memory; after the Xtra changes
// or deletes one behind their back, that copy must go (the documented flush).
void forgetProfileCache(const std::string& file);
// Appends bytes to a file, creating it with header first when it does not exist. An existing
// file is never truncated; false when nothing could be written.
bool appendToFile(const std::string& file, std::string_view headerIfNew, std::string_view bytes);

// Empty means that no name is cached.
extern std::string cachedOutputFile;
extern std::string cachedInteractionsFile;
// The course and student of the lesson, kept with the names so that interaction records
// written after the launch file is gone still say whose they are.
extern std::string keptCourseId;
extern std::string keptStudentId;
// Entry i - 1: the key number of the i-th objective found by the last count.
extern std::int32_t objectiveIndexTable[100];

void cmiStateReset();
void cmiStateFree();
OwnedHandle cmiReadValue(const std::string& section, const std::string& key);
std::int32_t cmiReadInteger(const std::string& section, const std::string& key);
void cmiWriteValue(const std::string& section, const std::string& key, const std::string& value);
void cmiWriteSection(const std::string& section, const std::string& text);

}  // namespace lmint
