// The machinery behind the wildcard and list forms of the file family: a file spec split
// into a directory listing and a pattern, the directory walk that can mirror the tree under
// a destination, and the walk over a list text. Each walk calls a per-file operation.
#pragma once
#include <windows.h>

#include <cstdint>

#include "system_services/files/file_walk_text.h"
#include "system_services/host/module_buffers.h"

namespace rxsystem {

// SearchPath := the file spec's directory and "*.*", WalkPattern := its name part; 0, or -1
// after the report (51, 54, 57, or 56 when the listing path would not fit its buffer).
int SplitFileSpec(const char* fileSpec);

// Walks the listing in SearchPath (a directory, '\' and "*.*"): 0 done, 1 stopped by the
// callback, -1 failed (reported). With a destination, TargetPath names the destination
// directory, which is created as one level when missing; SearchPath and TargetPath are
// changed during the walk.
int WalkDirectory(const char* pattern, bool withDestination, bool recurse, bool skipExisting,
                  WalkCallback callback);

// One line per file, lines ended by a carriage return (the last may go without); with a
// destination each line is source, tab, destination. 0, or -1 (reported).
int WalkFileList(const char* list, bool withDestination, bool skipExisting, WalkCallback callback);

}  // namespace rxsystem
