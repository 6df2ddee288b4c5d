// What the directory chooser decides from texts alone: whether a typed path or a new folder
// name may be used, where a path's root and drive part end, how a typed text becomes a full
// path, how folder names sort and how drive labels read.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rxsystem {

// The message a text earns (0: none); for id 15 the character that broke the rule.
struct RuleBreak {
  int id = 0;
  char character = 0;
};

struct PathShape {
  bool hasDrive = false;
  bool absolute = false;
  size_t scanFrom = 0;  // where the character rules begin: after "\\" or "x:"
};
PathShape ClassifyPath(std::string_view path);

// The text rules of a path (drive, absolute, characters, empty names), in that order. Id 22
// is shown with the path itself, id 15 with the character.
RuleBreak CheckPathText(std::string_view path, bool requireDrive, bool requireAbsolute);

// The rules of a new folder name: looks at no more than 256 characters, so names of 1 to
// 255 characters pass (id 17 is shown with 255).
inline constexpr int kLongestFolderName = 255;
RuleBreak CheckFolderName(const char* name);

// Characters of a drive path's root: 3 for x:\..., 2 for x: and x:name, 0 for any other path.
size_t DriveRootLength(std::string_view path);
// The drive letter and colon, or for a network path the two backslashes and the server name.
size_t DrivePartLength(std::string_view path);

// The full path of a typed text: as typed when it names a drive or server, else under the
// drive part of the current path. False (out untouched) when it would not fit in capacity
// with its NUL.
bool ComposeTypedPath(std::string_view current, std::string_view typed, char* out, size_t capacity);

// Folder-name order of both lists: letters compared in lower case, bytes unsigned.
int CompareFolderNames(std::string_view a, std::string_view b);

// The entry data of both lists: the glyph in the high half, the depth in the low half.
inline constexpr uint32_t EntryData(unsigned kind, unsigned level) {
  return (static_cast<uint32_t>(kind & 0xFFFF) << 16) | (level & 0xFFFF);
}
inline constexpr unsigned FolderEntryKind(uint32_t data) { return data >> 16; }
inline constexpr unsigned FolderEntryLevel(uint32_t data) { return data & 0xFFFF; }

// The glyphs of the chooser's bitmap.
enum FolderGlyph : unsigned {
  kOpenFolderGlyph = 0,
  kClosedFolderGlyph = 2,
  kFirstDriveGlyph = 3,
  kNetworkGlyph = 6,
};

// A remembered network connection's key name as a path: every "./" becomes one backslash.
void RecentNetworkName(char* name);
// A volume or network label as listed: first letter upper case, the rest lower case (only
// the letters a-z and A-Z change).
void CapitalizeLabel(char* label);
// Whether a drive-list entry stands for the path's root: its first rootLength - 1 characters
// equal the path's, ignoring case.
bool DriveEntryMatches(std::string_view entry, std::string_view path, size_t rootLength);

// Where to cut the path so that the root and the first `level` folder names stay.
size_t PathCutForLevel(std::string_view path, size_t rootLength, unsigned level);

char LowerAscii(char c);
char UpperAscii(char c);

}  // namespace rxsystem
