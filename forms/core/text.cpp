#include "forms/core/text.h"

#include <array>
#include <cstdint>
#include <unordered_map>

namespace forms {
namespace {

constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x0088, 0x2030, 0x008A, 0x2039, 0x008C, 0x008D, 0x008E, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0098, 0x2122, 0x009A, 0x203A, 0x009C, 0x009D, 0x009E, 0x009F,  // 0x98
    0x00A0, 0x0385, 0x0386, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,  // 0xA0
    0x00A8, 0x00A9, 0xF8F9, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x2015,  // 0xA8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x0384, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0388, 0x0389, 0x038A, 0x00BB, 0x038C, 0x00BD, 0x038E, 0x038F,  // 0xB8
    0x0390, 0x0391, 0x0392, 0x0393, 0x0394, 0x0395, 0x0396, 0x0397,  // 0xC0
    0x0398, 0x0399, 0x039A, 0x039B, 0x039C, 0x039D, 0x039E, 0x039F,  // 0xC8
    0x03A0, 0x03A1, 0xF8FA, 0x03A3, 0x03A4, 0x03A5, 0x03A6, 0x03A7,  // 0xD0
    0x03A8, 0x03A9, 0x03AA, 0x03AB, 0x03AC, 0x03AD, 0x03AE, 0x03AF,  // 0xD8
    0x03B0, 0x03B1, 0x03B2, 0x03B3, 0x03B4, 0x03B5, 0x03B6, 0x03B7,  // 0xE0
    0x03B8, 0x03B9, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BE, 0x03BF,  // 0xE8
    0x03C0, 0x03C1, 0x03C2, 0x03C3, 0x03C4, 0x03C5, 0x03C6, 0x03C7,  // 0xF0
    0x03C8, 0x03C9, 0x03CA, 0x03CB, 0x03CC, 0x03CD, 0x03CE, 0xF8FB,  // 0xF8
};

const std::unordered_map<char16_t, unsigned char>& ReverseTable() {
  static const auto table = [] {
    std::unordered_map<char16_t, unsigned char> m;
    for (unsigned i = 0; i < kHighHalf.size(); ++i)
      m.emplace(kHighHalf[i], static_cast<unsigned char>(0x80 + i));
    return m;
  }();
  return table;
}

}  // namespace

std::wstring Widen(std::string_view cp1253) {
  std::wstring out;
  out.reserve(cp1253.size());
  for (char c : cp1253) {
    auto b = static_cast<unsigned char>(c);
    out.push_back(static_cast<wchar_t>(b < 0x80 ? b : kHighHalf[b - 0x80]));
  }
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  const auto& reverse = ReverseTable();
  for (wchar_t w : utf16) {
    if (w < 0x80) {
      out.push_back(static_cast<char>(w));
      continue;
    }
    auto it = reverse.find(static_cast<char16_t>(w));
    out.push_back(it == reverse.end() ? '?' : static_cast<char>(it->second));
  }
  return out;
}

char UpperCp1253(char c) {
  auto b = static_cast<unsigned char>(c);
  if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
  if (b == 0xF2) return static_cast<char>(0xD3);  // final sigma
  if (b >= 0xE1 && b <= 0xFB) return static_cast<char>(b - 32);
  switch (b) {
    case 0xDC:
      return static_cast<char>(0xA2);
    case 0xDD:
      return static_cast<char>(0xB8);
    case 0xDE:
      return static_cast<char>(0xB9);
    case 0xDF:
      return static_cast<char>(0xBA);
    case 0xFC:
      return static_cast<char>(0xBC);
    case 0xFD:
      return static_cast<char>(0xBE);
    case 0xFE:
      return static_cast<char>(0xBF);
  }
  return c;
}

std::string ToUtf8(std::string_view cp1253) {
  std::string out;
  for (wchar_t w : Widen(cp1253)) {
    auto c = static_cast<std::uint32_t>(w);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace forms
