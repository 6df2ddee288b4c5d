// Colours and fonts as the programs give them: colours 0x00BBGGRR, font heights in pixels.
#pragma once
#include <cstdint>
#include <string>
#include <tuple>

namespace forms {

using Color = std::uint32_t;

// System colours carry the high bit and the system colour index, as the toolkit's designs do.
constexpr Color kSystemColorFlag = 0x80000000u;
constexpr Color clBtnFace = kSystemColorFlag | 15;
constexpr Color clWindow = kSystemColorFlag | 5;
constexpr Color clWindowText = kSystemColorFlag | 8;
constexpr Color clBtnText = kSystemColorFlag | 18;
constexpr Color clBtnShadow = kSystemColorFlag | 16;
constexpr Color clBtnHighlight = kSystemColorFlag | 20;
constexpr Color clHighlight = kSystemColorFlag | 13;
constexpr Color clHighlightText = kSystemColorFlag | 14;
constexpr Color clGrayText = kSystemColorFlag | 17;
constexpr Color clNone = 0x1FFFFFFFu;

constexpr Color clBlack = 0x000000;
constexpr Color clMaroon = 0x000080;
constexpr Color clGreen = 0x008000;
constexpr Color clOlive = 0x008080;
constexpr Color clNavy = 0x800000;
constexpr Color clPurple = 0x800080;
constexpr Color clTeal = 0x808000;
constexpr Color clGray = 0x808080;
constexpr Color clSilver = 0xC0C0C0;
constexpr Color clRed = 0x0000FF;
constexpr Color clLime = 0x00FF00;
constexpr Color clYellow = 0x00FFFF;
constexpr Color clBlue = 0xFF0000;
constexpr Color clFuchsia = 0xFF00FF;
constexpr Color clAqua = 0xFFFF00;
constexpr Color clWhite = 0xFFFFFF;

enum FontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

constexpr std::uint8_t kGreekCharset = 161;

struct FontSpec {
  std::string name = "MS Sans Serif";
  int height = 13;  // character height in pixels (a 10 pt font at 96 dpi is 13)
  unsigned style = 0;
  std::uint8_t charset = kGreekCharset;
  Color color = clWindowText;

  // Points to pixels at the 96 dpi the designs were made for.
  static int HeightOfPoints(int points) { return (points * 96 + 36) / 72; }

  bool SameFace(const FontSpec& o) const {
    return std::tie(name, height, style, charset) == std::tie(o.name, o.height, o.style, o.charset);
  }
  bool operator==(const FontSpec& o) const { return SameFace(o) && color == o.color; }
};

}  // namespace forms
