// Feeds untrusted INI bytes to the section reader and writer. The first byte picks how long
// the section name is (taken from the bytes after it); of the rest, the next two bytes say
// which share of it is the file and which the new section text, so that either can run to
// the section limit and past it.
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

// A "[" that opens a line would end the section when it is read back.
bool opensLineWithBracket(std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i)
    if (s[i] == '[' && (i == 0 || s[i - 1] == '\r' || s[i - 1] == '\n')) return true;
  return false;
}

// Bytes that the reader builds from the text's lines: each line with a CR LF.
size_t readCost(std::string_view text) {
  size_t cost = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) return cost + text.size() - pos + 2;
    cost += end - pos + 2;
    pos = (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? end + 2 : end + 1;
  }
  return cost;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const std::size_t nameLength = std::min<std::size_t>(static_cast<std::uint8_t>(all[0]) % 16, size - 1);
  const std::string_view section = all.substr(1, nameLength);
  const std::string_view rest = all.substr(1 + nameLength);
  if (rest.size() < 2) return 0;
  const std::uint64_t share = static_cast<std::uint8_t>(rest[0]) | (static_cast<std::uint8_t>(rest[1]) << 8);
  const std::string_view body = rest.substr(2);
  const std::size_t split = static_cast<std::size_t>((share * (body.size() + 1)) >> 16);
  const std::string_view file = body.substr(0, split);
  const std::string_view text = body.substr(split);

  const std::string read = lmint::sectionText(file, section);
  if (read.size() > lmint::sectionTextLimit + 1) std::abort();

  const std::string written = lmint::withSection(file, section, text);
  const std::string created = lmint::withSection(std::nullopt, section, text);
  if (created.size() < section.size() + 4 || created.compare(0, 1, "[") != 0) std::abort();

  // With a plain name and a text that opens no line with "[", the section reads back with the
  // same characters as far as the section limit lets it, and writing it again changes nothing.
  if (!section.empty() && plainName(section) && !opensLineWithBracket(text)) {
    const std::string back = lmint::sectionText(written, section);
    if (back.size() > lmint::sectionTextLimit + 1) std::abort();
    const std::string backChars = withoutLineEnds(back);
    const std::string textChars = withoutLineEnds(text);
    if (textChars.compare(0, backChars.size(), backChars) != 0) std::abort();
    if (readCost(lmint::expandLoneCR(text)) <= lmint::sectionTextLimit && backChars != textChars)
      std::abort();
    if (lmint::withSection(written, section, text) != written) std::abort();
  }
  return 0;
}
