// The host's shortcut specifications and variable lists, as any bytes: the scans never read
// outside the text, and what they hand on holds no separator.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "system_services/programs/program_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  rxsystem::IconSpecScan scan = rxsystem::ScanIconSpecs(text);
  for (const rxsystem::IconSpec& spec : scan.specs) {
    if (spec.description.empty()) std::abort();
    for (const std::string* field :
         {&spec.description, &spec.exePath, &spec.args, &spec.startDir, &spec.iconPath})
      if (field->find_first_of("\t\r") != std::string::npos) std::abort();
  }
  for (std::string_view name : rxsystem::VariablesToSave(text))
    if (name.empty() || name.find('\r') != std::string_view::npos) std::abort();
  for (char separator : {'\r', '\0'})
    for (std::string_view name : rxsystem::VariablesToLoad(text, separator))
      if (name.empty() || name.find(separator) != std::string_view::npos) std::abort();
  (void)rxsystem::DocumentDirectory(text);
  return 0;
}
