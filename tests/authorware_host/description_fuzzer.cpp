// The host's parsers meet whatever bytes a library carries in its resources.
#include <cstddef>
#include <cstdint>

#include "description_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace authorware_host;
  std::span<const unsigned char> bytes(data, size);
  std::string why;
  if (auto d = ParseDescription(bytes, &why)) CheckDescription("SysFuzz", *d);
  if (auto names = ParseIndex(bytes, &why)) CheckIndex(*names);
  ParsePrototype(std::string_view(reinterpret_cast<const char*>(data), size), &why);
  return 0;
}
