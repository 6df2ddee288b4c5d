// The text side of the file family's walks: a path with a name pattern split into its
// listing path and pattern, paths put together in the fixed path buffers, and the lines of a
// list text with their checks. No Windows header: the walks hand in their buffers and the platform calls.
#pragma once
#include <cstddef>
#include <string_view>

namespace rxsystem {

// Called with (source path, destination path), both module buffers that the callback must
// not keep; without a destination the second means nothing. 0 = go on, 1 = stop the walk
// (no failure), anything else = failure, already reported.
using WalkCallback = int (*)(const char* source, const char* destination);

// Paths compared as the platform's file names are, for the ASCII letters at least.
bool EqualIgnoringAsciiCase(const char* a, const char* b);

// Puts text and then tail at buffer[at], NUL-terminated; false, with the buffer as it was,
// when they would not fit in capacity bytes with the NUL.
bool PutPathText(char* buffer, size_t capacity, size_t at, std::string_view text, std::string_view tail = {});

// Whether a recursive walk enters the directory of that name.
bool IsWalkedDirectory(const char* name);

// searchPath := the file path's directory and "*.*", pattern := its name part, both buffers of
// capacity bytes. 0, or the id of the message to report (51, 54, 57, or 56 when the listing
// path would not fit), with both buffers as they were.
int SplitFileSpecText(const char* fileSpec, char* searchPath, char* pattern, size_t capacity);

// What a list walk asks of the platform: whether a path is there, the creation of a
// directory with its parents (0, or nonzero after its own report), and the report of a
// message, with the path or (null) without.
struct ListWalkPlatform {
  bool (*exists)(const char* path);
  int (*createDirs)(char* directory);
  void (*report)(int id, const char* path);
};

// One line of a list, carried out: source into source[], destination into target[], both of
// capacity bytes. 0, or -1 (reported).
int WalkListLine(std::string_view line, bool withDestination, bool skipExisting, char* source, char* target,
                 size_t capacity, const ListWalkPlatform& platform, WalkCallback callback);

// One line per file, lines ended by a carriage return (the last may go without); with a
// destination each line is source, tab, destination. Stops at the first line that fails:
// 0, or -1 (reported).
int WalkListText(std::string_view list, bool withDestination, bool skipExisting, char* source, char* target,
                 size_t capacity, const ListWalkPlatform& platform, WalkCallback callback);

}  // namespace rxsystem
