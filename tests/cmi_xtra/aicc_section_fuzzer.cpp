// Feeds untrusted INI bytes to the section reader and writer. The first byte picks how long
// the section name is (taken from the bytes after it); the rest is the file, split once more
// into file and new section text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cmi_xtra/aicc_text.h"

namespace {

std::string withoutLineEnds(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c != '\r' && c != '\n') out.push_back(c);
  }
  return out;
}

bool plainName(std::string_view s) {
  for (char c : s) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!ok) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const std::size_t nameLength = std::min<std::size_t>(static_cast<std::uint8_t>(all[0]) % 16, size - 1);
  const std::string_view section = all.substr(1, nameLength);
  const std::string_view rest = all.substr(1 + nameLength);
  const std::size_t split = rest.empty() ? 0 : static_cast<std::uint8_t>(rest[0]) % (rest.size() + 1);
  const std::string_view file = rest.substr(0, split);
  const std::string_view text = rest.substr(split);

  const std::string read = lmint::sectionText(file, section);
  if (read.size() > lmint::sectionTextLimit + 1) std::abort();

  const std::string written = lmint::withSection(file, section, text);
  const std::string created = lmint::withSection(std::nullopt, section, text);
  (void)created;

  // With a plain name and a text that opens no line with "[", the section reads back with the
  // same characters, and writing it again changes nothing.
  if (!section.empty() && plainName(section) && text.find('[') == std::string_view::npos &&
      text.size() < 10000) {
    if (withoutLineEnds(lmint::sectionText(written, section)) != withoutLineEnds(text)) std::abort();
    if (lmint::withSection(written, section, text) != written) std::abort();
  }
  return 0;
}
