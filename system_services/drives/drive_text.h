// The texts of the directory and drive family: a drive's root from its name, and host paths
// put into the fixed path buffers. No Windows header: the exports hand in their buffers.
#pragma once
#include <cstddef>

namespace rxsystem {

// The drive's root from the first character of DriveName, as given; null for the platform's
// current drive when there is no name.
const char* DriveRoot(const char* DriveName, char (&root)[4]);

// Copies text with its NUL into a buffer of capacity bytes; false, with the buffer as it was,
// when it does not fit.
bool CopyToBuffer(const char* text, char* buffer, size_t capacity);

// The root of the disk-space queries for a named drive or share: DriveName with a closing
// backslash (C: gives C:\, C:\ stays). False, with the buffer as it was, when that does not
// fit in capacity bytes with its NUL.
bool ClosedDriveRoot(const char* DriveName, char* buffer, size_t capacity);

}  // namespace rxsystem
