// The path buffers that the file, directory and chooser operations share. The host calls the
// library one export at a time, so one set serves every call; a walk may not keep pointers
// into them past its callback.
#pragma once
#include <windows.h>

#include <cstddef>

// <windows.h> makes SearchPath the name of a platform function. Taking the header in first
// and the macro out here means every unit that sees the buffer sees the same name, whichever
// headers it includes after this one.
#undef SearchPath

namespace rxsystem {

inline constexpr size_t kPathBuffer = 260;  // 259 characters and the NUL

extern char SearchPath[kPathBuffer];
extern char WalkPattern[kPathBuffer];
extern char TargetPath[kPathBuffer];

}  // namespace rxsystem
