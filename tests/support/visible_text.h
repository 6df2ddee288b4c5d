// Texts with their line ends shown, so a failing comparison reads by itself.
#pragma once
#include <string>

namespace testing_support {

inline std::string Visible(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace testing_support
