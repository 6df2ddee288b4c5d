// The small path operations that the families share, on NUL-terminated path buffers.
#pragma once
#include <cstddef>
#include <string_view>

namespace rxsystem {

// Cuts the path after its last '\'; without one after its last ':'; without either it
// becomes empty. C:\a\b.txt -> C:\a\, C:b -> C:
void KeepDirWithSlash(char* path);
// Cuts the path at its last '\' (the backslash goes); without one after its last ':';
// without either it becomes empty. C:\a\b.txt -> C:\a, C:\b -> C:
void KeepDirNoSlash(char* path);

// The levels at which CreatePathDirs checks and creates directories, one call after the
// other: FirstPathSeparator gives the backslash that ends the root (after a leading "\\" of a
// network path), or npos when there is none; NextPathLevel gives the end of each further
// level, the whole path last, and npos after it.
inline constexpr size_t kNoPathLevel = static_cast<size_t>(-1);
size_t FirstPathSeparator(std::string_view path);
size_t NextPathLevel(std::string_view path, size_t previousEnd);

}  // namespace rxsystem
