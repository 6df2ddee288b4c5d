#include "system_services/windows/help_command.h"

#include <array>
#include <limits>

namespace rxsystem {
namespace {

constexpr char kBlank = ' ';

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsLeadingSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void PutLittleEndian(std::string& bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

HelpCommandParts SplitHelpCommand(std::string_view command) {
  HelpCommandParts parts;
  size_t end = command.find(kBlank);
  if (end == std::string_view::npos) end = command.size();
  parts.word.reserve(end);
  for (char c : command.substr(0, end)) parts.word.push_back(LowerAscii(c));
  size_t operand = command.find_first_not_of(kBlank, end);
  if (operand != std::string_view::npos) parts.operand = std::string(command.substr(operand));
  return parts;
}

std::optional<HelpRequestKind> HelpRequestFor(std::string_view word) {
  struct Row {
    std::string_view word;
    HelpRequestKind kind;
  };
  static constexpr Row kWords[] = {
      {"contents", {kHelpContents, HelpOperandKind::None}},
      {"context", {kHelpContext, HelpOperandKind::Number}},
      {"popup", {kHelpContextPopup, HelpOperandKind::Number}},
      {"topic", {kHelpPartialKey, HelpOperandKind::Text}},
      {"macro", {kHelpCommand, HelpOperandKind::Text}},
      {"winpos", {kHelpSetWinPos, HelpOperandKind::WindowPosition}},
  };
  for (const Row& row : kWords)
    if (row.word == word) return row.kind;
  return std::nullopt;
}

int32_t LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsLeadingSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Gathered as a magnitude one past the largest positive value, so that the most negative
  // value still fits.
  constexpr int64_t kLimit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kLimit) magnitude = kLimit;
  }
  if (negative) return static_cast<int32_t>(-magnitude);
  return static_cast<int32_t>(magnitude == kLimit ? kLimit - 1 : magnitude);
}

HelpWindowNumbers ParseWindowNumbers(std::string_view operand) {
  HelpWindowNumbers numbers;
  std::array<int32_t*, 5> fields = {&numbers.state, &numbers.x, &numbers.y, &numbers.width, &numbers.height};
  size_t filled = 0;
  size_t start = 0;
  while (true) {
    size_t blanks = operand.find(kBlank, start);
    if (blanks == std::string_view::npos) {
      // The last number always goes to the next field still unfilled.
      *fields[filled] = LeadingNumber(operand.substr(start));
      return numbers;
    }
    // Numbers after the fourth and before the last are passed over.
    if (filled < fields.size() - 1) *fields[filled++] = LeadingNumber(operand.substr(start, blanks - start));
    start = operand.find_first_not_of(kBlank, blanks);
    if (start == std::string_view::npos) start = operand.size();
  }
}

int32_t HelpShowState(int32_t state) {
  switch (state) {
    case 1:
      return 6;  // minimized
    case 2:
      return 3;  // maximized
    case 3:
      return 0;  // hidden
    default:
      return 1;  // normal
  }
}

std::string HelpWindowRecord(const HelpWindowNumbers& numbers, std::string_view windowName) {
  const uint32_t size = static_cast<uint32_t>(windowName.size()) + 28;
  std::string bytes;
  bytes.reserve(size);
  PutLittleEndian(bytes, size);
  // The viewer cannot place a window left of or above its first unit.
  PutLittleEndian(bytes, static_cast<uint32_t>(numbers.x < 1 ? 1 : numbers.x));
  PutLittleEndian(bytes, static_cast<uint32_t>(numbers.y < 1 ? 1 : numbers.y));
  PutLittleEndian(bytes, static_cast<uint32_t>(numbers.width));
  PutLittleEndian(bytes, static_cast<uint32_t>(numbers.height));
  PutLittleEndian(bytes, static_cast<uint32_t>(HelpShowState(numbers.state)));
  bytes.append(windowName);
  bytes.resize(size, '\0');
  return bytes;
}

}  // namespace rxsystem
