#include "system_services/host/path_text.h"

#include <cstring>

namespace rxsystem {

void KeepDirWithSlash(char* path) {
  if (char* slash = std::strrchr(path, '\\')) {
    slash[1] = '\0';
  } else if (char* colon = std::strrchr(path, ':')) {
    colon[1] = '\0';
  } else {
    path[0] = '\0';
  }
}

void KeepDirNoSlash(char* path) {
  if (char* slash = std::strrchr(path, '\\')) {
    slash[0] = '\0';
  } else if (char* colon = std::strrchr(path, ':')) {
    colon[1] = '\0';
  } else {
    path[0] = '\0';
  }
}

size_t FirstPathSeparator(std::string_view path) {
  size_t from = path.starts_with("\\\\") ? 2 : 0;
  size_t at = path.find('\\', from);
  return at == std::string_view::npos ? kNoPathLevel : at;
}

size_t NextPathLevel(std::string_view path, size_t previousEnd) {
  if (previousEnd >= path.size()) return kNoPathLevel;
  size_t at = path.find('\\', previousEnd + 1);
  return at == std::string_view::npos ? path.size() : at;
}

}  // namespace rxsystem
