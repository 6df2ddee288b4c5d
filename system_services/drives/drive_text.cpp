#include "system_services/drives/drive_text.h"

#include <cstring>

namespace rxsystem {

const char* DriveRoot(const char* DriveName, char (&root)[4]) {
  if (!DriveName || !*DriveName) return nullptr;
  root[0] = DriveName[0];
  root[1] = ':';
  root[2] = '\\';
  root[3] = '\0';
  return root;
}

bool CopyToBuffer(const char* text, char* buffer, size_t capacity) {
  size_t length = std::strlen(text);
  if (length >= capacity) return false;
  std::memcpy(buffer, text, length + 1);
  return true;
}

bool ClosedDriveRoot(const char* DriveName, char* buffer, size_t capacity) {
  size_t length = std::strlen(DriveName);
  bool closed = length > 0 && DriveName[length - 1] == '\\';
  if (length + (closed ? 0 : 1) >= capacity) return false;
  std::memcpy(buffer, DriveName, length + 1);
  if (!closed) {
    buffer[length] = '\\';
    buffer[length + 1] = '\0';
  }
  return true;
}

}  // namespace rxsystem
