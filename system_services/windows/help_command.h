// The one-line command language of SysHelp: a command word, blanks, an operand; and the help
// viewer's request and window-position record that a command becomes.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rxsystem {

// The help viewer's requests, by the numbers the viewer knows them.
inline constexpr uint32_t kHelpContext = 0x0001;
inline constexpr uint32_t kHelpQuit = 0x0002;
inline constexpr uint32_t kHelpContents = 0x0003;
inline constexpr uint32_t kHelpContextPopup = 0x0008;
inline constexpr uint32_t kHelpCommand = 0x0102;
inline constexpr uint32_t kHelpPartialKey = 0x0105;
inline constexpr uint32_t kHelpSetWinPos = 0x0203;

struct HelpCommandParts {
  std::string word;     // lower case
  std::string operand;  // everything after the blanks that follow the word, as given
};
// Throws std::bad_alloc like any string copy.
HelpCommandParts SplitHelpCommand(std::string_view command);

// What the operand means for a word: a number, a text, a window position, or nothing.
enum class HelpOperandKind { None, Number, Text, WindowPosition };
struct HelpRequestKind {
  uint32_t request;
  HelpOperandKind operand;
};
// Nothing for a word outside the language.
std::optional<HelpRequestKind> HelpRequestFor(std::string_view word);

// The decimal value at the start of the text: leading blanks and a sign accepted, reading
// stops at the first non-digit, no digits give 0; values beyond 32 bits are held at the limit.
int32_t LeadingNumber(std::string_view text);

// The numbers of a "winpos" operand, with the defaults for those it leaves out. Neither the
// limits of x and y nor the viewer's state are applied yet.
struct HelpWindowNumbers {
  int32_t state = 0;
  int32_t x = 1;
  int32_t y = 1;
  int32_t width = 256;
  int32_t height = 256;
};
HelpWindowNumbers ParseWindowNumbers(std::string_view operand);

// The viewer's show state for a "winpos" state number: 1 minimized, 2 maximized, 3 hidden,
// anything else normal.
int32_t HelpShowState(int32_t state);

// The window-position record as the viewer reads it: six 32-bit fields (size, x, y, width,
// height, show state) and the window name with its NUL; its size field is the name's length
// + 28. The bytes in little-endian order.
std::string HelpWindowRecord(const HelpWindowNumbers& numbers, std::string_view windowName);

}  // namespace rxsystem
