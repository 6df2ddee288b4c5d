// The host's parsers meet whatever bytes a library carries in its resources. What they accept
// they take whole: the parts written out again are the bytes, and the checker accepts every
// description built to the host's form from an accepted prototype.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "description_check.h"

namespace {

using namespace authorware_host;

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

std::string Joined(const Prototype& p) {
  std::string line;
  if (!p.resultName.empty()) line = p.resultName + ":= ";
  line += p.function + "(";
  if (p.arguments.empty()) {
    line += " )";
  } else {
    for (size_t i = 0; i < p.arguments.size(); ++i) line += (i ? ", " : " ") + p.arguments[i];
    line += " )";
  }
  for (const std::string& l : p.descriptionLines) line += "\r\n" + l;
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const unsigned char> bytes(data, size);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string why;
  if (auto d = ParseDescription(bytes, &why)) {
    const std::string back = d->leading + '\0' + d->result + '\0' + d->arguments + '\0' + d->prototype + '\0';
    Check(back == text);
    CheckDescription("SysFuzz", *d);
  }
  if (auto names = ParseIndex(bytes, &why)) {
    std::string back;
    for (const std::string& n : *names) {
      Check(!n.empty() && n.find('\0') == std::string::npos);
      back += n + '\0';
    }
    back += '\0';
    Check(back == text);
    CheckIndex(*names);
  }
  if (auto p = ParsePrototype(text, &why)) {
    Check(Joined(*p) == text);
    // A description of the host's form around that prototype passes the checks.
    Description d;
    d.result = p->resultName.empty() ? "V" : "S";
    d.arguments = "A" + std::string(p->arguments.size(), 'I');
    d.prototype = std::string(text);
    Check(CheckDescription(p->function, d).empty());
  }
  return 0;
}
