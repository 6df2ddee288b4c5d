#include "system_services/dialogs/file_dialog_rules.h"

#include <cstring>

namespace rxsystem {
namespace {

constexpr char kAllFiles[] = "All Files (*.*)";
constexpr size_t kAllFilesPattern = 16;
constexpr size_t kAllFilesBytes = 25;

bool Empty(const char* text) { return !text || !*text; }

}  // namespace

size_t FilterListBytes(const char* types) { return Empty(types) ? kAllFilesBytes : std::strlen(types) + 2; }

void WriteFilterList(const char* types, char* block) {
  size_t size = FilterListBytes(types);
  std::memset(block, 0, size);
  if (Empty(types)) {
    std::memcpy(block, kAllFiles, sizeof kAllFiles);
    std::memcpy(block + kAllFilesPattern, "*.*", 4);
    return;
  }
  for (size_t i = 0; types[i]; ++i) block[i] = (types[i] == '\t' || types[i] == '\r') ? '\0' : types[i];
}

bool KeepDialogDirectory(const char* directory, char* buffer, size_t capacity) {
  buffer[0] = '\0';
  if (Empty(directory)) return false;
  size_t length = std::strlen(directory);
  if (length + 1 > capacity) return false;
  std::memcpy(buffer, directory, length + 1);
  if (buffer[length - 1] == '\\') buffer[length - 1] = '\0';
  return true;
}

void ProposeSaveName(const char* directory, const char* defaultName, char* out, size_t capacity) {
  size_t name = Empty(defaultName) ? 0 : std::strlen(defaultName);
  size_t dir = Empty(directory) ? 0 : std::strlen(directory);
  if (name > 0 && dir > 0 && dir + 1 + name + 1 <= capacity) {
    std::memcpy(out, directory, dir);
    out[dir] = '\\';
    std::memcpy(out + dir + 1, defaultName, name + 1);
  } else if (name > 0 && name + 1 <= capacity) {
    std::memcpy(out, defaultName, name + 1);
  } else {
    std::strncpy(out, "*.*", capacity);
    out[capacity - 1] = '\0';
  }
}

void LowerFirstPart(char* answer) {
  for (char* p = answer; *p; ++p) {
    if (*p >= 'A' && *p <= 'Z') *p = static_cast<char>(*p - 'A' + 'a');
  }
}

size_t JoinSelectedParts(char* answer, size_t capacity) {
  size_t i = 0;
  while (i < capacity && answer[i] != '\0') {
    while (i < capacity && answer[i] != '\0') ++i;
    if (i == capacity) break;
    answer[i++] = '\r';
  }
  // A walk that ran off the end keeps the last byte as the NUL the host needs.
  if (i >= capacity) {
    answer[capacity - 1] = '\0';
    return capacity - 1;
  }
  return i;
}

}  // namespace rxsystem
