// File paths with patterns and file lists as the host passes them, into the fixed path
// buffers: nothing is written past a buffer, a refused file path or list line leaves the
// buffers as they were, the paths a callback gets put back together are the list's lines,
// and every line meets the check its rule names, in order, with the platform's answers that
// a test platform gives.
// Layout: a byte of switches, one of platform answers, one of callback answers, a byte for
// the buffers' capacity, then the file path, a NUL and the list.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "system_services/files/file_walk_text.h"
#include "system_services/host/message_table.h"

namespace {

using namespace rxsystem;

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

// What the walk did, in order, as text: the platform's questions, the reports and the calls.
struct Recording {
  std::vector<std::string> events;
  std::uint8_t platformAnswers = 0;
  std::uint8_t callbackAnswers = 0;
  unsigned calls = 0;
  char* source = nullptr;
  char* target = nullptr;
  size_t capacity = 0;
};
Recording recording;

// A path is there by a rule of its bytes, so the same path always gives the same answer.
bool TestExists(std::string_view path) {
  unsigned sum = recording.platformAnswers;
  for (char c : path) sum = sum * 31 + static_cast<unsigned char>(c);
  return (sum >> 3) % 3 == 0;
}
bool TestCreateFails(std::string_view directory) {
  return (recording.platformAnswers & 1) && directory.size() % 2 == 0;
}
int TestCallbackAnswer(unsigned call) {
  const unsigned bits = (recording.callbackAnswers >> (2 * (call % 4))) & 3;
  return bits == 3 ? 2 : bits == 2 && (recording.callbackAnswers & 0x80) ? 1 : 0;
}

bool Exists(const char* path) {
  recording.events.push_back("exists " + std::string(path));
  return TestExists(path);
}
int CreateDirs(char* directory) {
  recording.events.push_back("create " + std::string(directory));
  if (TestCreateFails(directory)) {
    recording.events.push_back("report 9 " + std::string(directory));
    return -1;
  }
  return 0;
}
void Report(int id, const char* path) {
  recording.events.push_back("report " + std::to_string(id) +
                             (path ? " " + std::string(path) : std::string()));
}
int Callback(const char* source, const char* destination) {
  // The callback gets the walk's own buffers, each ended inside its capacity.
  Check(source == recording.source && destination == recording.target);
  Check(std::memchr(source, '\0', recording.capacity) != nullptr);
  recording.events.push_back("call " + std::string(source) + "\t" + std::string(destination));
  return TestCallbackAnswer(recording.calls++);
}

constexpr ListWalkPlatform kTestPlatform = {Exists, CreateDirs, Report};

// The walk of a list as its rules read, line by line, with the same test platform.
int ReferenceWalk(std::string_view list, bool withDestination, bool skipExisting, size_t capacity,
                  std::vector<std::string>& events, std::string target) {
  unsigned calls = 0;
  auto fail = [&](int id, const std::string* path) {
    events.push_back("report " + std::to_string(id) + (path ? " " + *path : std::string()));
    return -1;
  };
  while (!list.empty()) {
    const size_t end = list.find('\r');
    const std::string_view line = list.substr(0, end);
    list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
    std::string source(line);
    if (withDestination) {
      const size_t tab = line.find('\t');
      if (tab == std::string_view::npos) return fail(kInvalidPathInList, nullptr);
      const std::string destination(line.substr(tab + 1));
      if (destination.size() >= capacity) return fail(kPathTooLong, nullptr);
      if (destination.size() < 3) return fail(kInvalidPathInList, nullptr);
      target = destination;
      if (skipExisting) {
        events.push_back("exists " + destination);
        if (TestExists(destination)) continue;
      }
      const size_t slash = destination.rfind('\\');
      if (slash == std::string::npos) return fail(kInvalidFilePath, &destination);
      const std::string directory = destination.substr(0, slash);
      if (directory.size() > 2) {
        events.push_back("exists " + directory);
        if (!TestExists(directory)) {
          events.push_back("create " + directory);
          if (TestCreateFails(directory)) {
            events.push_back("report 9 " + directory);
            return -1;
          }
        }
      }
      source = line.substr(0, tab);
    }
    if (source.size() >= capacity) return fail(kPathTooLong, nullptr);
    if (source.size() < 3) return fail(kInvalidFilePath, &source);
    events.push_back("call " + source + "\t" + target);
    if (TestCallbackAnswer(calls++) != 0) return -1;
  }
  return 0;
}

void CheckSplit(const char* filePath, size_t capacity) {
  std::vector<char> search(std::max<size_t>(capacity, 1), '#'), pattern(search);
  const std::vector<char> untouched = search;
  const int id = SplitFileSpecText(filePath, search.data(), pattern.data(), capacity);
  const std::string_view s(filePath ? filePath : "");
  const size_t slash = s.rfind('\\');
  int expected = 0;
  if (s.empty() || slash == std::string_view::npos)
    expected = kInvalidParameter;
  else if (slash + 1 == s.size())
    expected = kInvalidPattern;
  else if (s.size() - slash - 1 >= capacity)
    expected = kPatternTooLong;
  else if (slash + 1 + 3 >= capacity)
    expected = kPathTooLong;
  Check(id == expected);
  if (id != 0) {
    Check(search == untouched && pattern == untouched);
    return;
  }
  // Put back together, the listing's directory and the pattern are the path given.
  const std::string_view listing(search.data()), name(pattern.data());
  Check(listing.size() < capacity && name.size() < capacity);
  Check(listing.ends_with("*.*"));
  Check(std::string(listing.substr(0, listing.size() - 3)) + std::string(name) == s);
  Check(listing.substr(0, listing.size() - 3).ends_with('\\') && name.find('\\') == std::string_view::npos);
}

void CheckPut(std::string_view text, std::string_view tail, size_t at, size_t capacity) {
  std::vector<char> buffer(std::max<size_t>(capacity, 1), '#');
  const std::vector<char> before = buffer;
  const bool put = PutPathText(buffer.data(), capacity, at, text, tail);
  Check(put == (at + text.size() + tail.size() < capacity));
  if (!put) {
    Check(buffer == before);
    return;
  }
  Check(std::equal(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(at), before.begin()));
  Check(std::string_view(buffer.data() + at, text.size()) == text);
  Check(std::string_view(buffer.data() + at + text.size(), tail.size()) == tail);
  Check(buffer[at + text.size() + tail.size()] == '\0');
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

void CheckNames(const char* a, const char* b) {
  std::string x(a), y(b);
  for (char& c : x) c = Upper(c);
  for (char& c : y) c = Upper(c);
  Check(EqualIgnoringAsciiCase(a, b) == (x == y));
  Check(EqualIgnoringAsciiCase(a, a));
  const std::string_view name(a);
  Check(IsWalkedDirectory(a) == (name != "." && !name.starts_with("..")));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::uint8_t switches = data[0];
  const bool withDestination = switches & 1;
  const bool skipExisting = switches & 2;
  // Mostly the module buffers' 260 bytes; now and then a small capacity, so that short texts
  // reach its edge too.
  const size_t capacity = (switches & 4) ? data[3] % 40 : 260;
  const std::string input(reinterpret_cast<const char*>(data + 4), size - 4);
  const char* filePath = input.c_str();
  const size_t pathLength = std::strlen(filePath);
  // The host's list ends at its NUL.
  const std::string list =
      pathLength < input.size() ? std::string(input.c_str() + pathLength + 1) : std::string();

  CheckSplit(filePath, capacity);
  if (switches & 8) CheckSplit(nullptr, capacity);
  const std::string_view pathText(filePath, pathLength);
  CheckPut(pathText.substr(0, pathLength / 2), pathText.substr(pathLength / 2), data[3] % 64, capacity);
  CheckNames(filePath, list.c_str());

  std::vector<char> source(std::max<size_t>(capacity, 1), '\0'), target(source);
  recording = Recording{};
  recording.platformAnswers = data[1];
  recording.callbackAnswers = data[2];
  recording.source = source.data();
  recording.target = target.data();
  recording.capacity = capacity;
  const int result = WalkListText(list, withDestination, skipExisting, source.data(), target.data(), capacity,
                                  kTestPlatform, Callback);
  std::vector<std::string> expected;
  const int expectedResult =
      ReferenceWalk(list, withDestination, skipExisting, capacity, expected, std::string());
  Check(result == expectedResult);
  Check(recording.events == expected);

  // The calls put back together are the lines that reached them.
  std::string rebuilt;
  for (const std::string& e : recording.events) {
    if (!e.starts_with("call ")) continue;
    // Source, tab, destination: without a destination the walk leaves the target empty.
    const std::string pair = e.substr(5);
    const std::string line = withDestination ? pair : pair.substr(0, pair.size() - 1);
    if (!withDestination) Check(pair.ends_with('\t'));
    Check(list.find(line) != std::string::npos);
    rebuilt += line + "\r";
  }
  if (result == 0 && (!withDestination || !skipExisting)) {
    std::string lines = list;
    if (!lines.empty() && lines.back() != '\r') lines.push_back('\r');
    Check(rebuilt == lines);
  }
  return 0;
}
