// Any command line an author types: splitting, numbers and the window record stay in bounds,
// and the record always has the size it says.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "system_services/windows/help_command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view command(reinterpret_cast<const char*>(data), size);
  // The host hands a NUL-terminated text: nothing after a NUL reaches the library.
  command = command.substr(0, command.find('\0'));
  rxsystem::HelpCommandParts parts = rxsystem::SplitHelpCommand(command);
  if (parts.word.size() + parts.operand.size() > command.size()) __builtin_trap();
  if (parts.word.find(' ') != std::string::npos) __builtin_trap();
  if (!parts.operand.empty() && parts.operand[0] == ' ') __builtin_trap();
  (void)rxsystem::HelpRequestFor(parts.word);
  (void)rxsystem::LeadingNumber(parts.operand);
  rxsystem::HelpWindowNumbers numbers = rxsystem::ParseWindowNumbers(parts.operand);
  std::string_view name = std::string_view(parts.word).substr(0, 64);
  std::string record = rxsystem::HelpWindowRecord(numbers, name);
  uint32_t stated;
  std::memcpy(&stated, record.data(), 4);
  if (stated != record.size() || record.size() != name.size() + 28) __builtin_trap();
  if (record[24 + name.size()] != '\0') __builtin_trap();
  return 0;
}
