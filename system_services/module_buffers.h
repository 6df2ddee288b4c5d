// The path buffers that the file, directory and chooser operations share. The host calls the
// library one export at a time, so one set serves every call; a walk may not keep pointers
// into them past its callback.
#pragma once
#include <cstddef>

namespace rxsystem {

inline constexpr size_t kPathBuffer = 260;  // 259 characters and the NUL

extern char SearchPath[kPathBuffer];
extern char WalkPattern[kPathBuffer];
extern char TargetPath[kPathBuffer];

}  // namespace rxsystem
