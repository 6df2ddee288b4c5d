#include "forms/gdi_cache.h"

#include <map>
#include <tuple>

#include "forms/core/text.h"

namespace forms {

COLORREF ToColorRef(Color c) {
  if (c & kSystemColorFlag) return GetSysColor(static_cast<int>(c & 0xFF));
  return static_cast<COLORREF>(c & 0x00FFFFFF);
}

HFONT CachedFont(const FontSpec& spec) {
  using Key = std::tuple<std::string, int, unsigned, std::uint8_t>;
  static std::map<Key, HFONT> fonts;
  Key key{spec.name, spec.height, spec.style, spec.charset};
  auto it = fonts.find(key);
  if (it != fonts.end()) return it->second;
  LOGFONTW lf{};
  lf.lfHeight = -spec.height;
  lf.lfWeight = (spec.style & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (spec.style & fsItalic) ? TRUE : FALSE;
  lf.lfUnderline = (spec.style & fsUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (spec.style & fsStrikeOut) ? TRUE : FALSE;
  lf.lfCharSet = spec.charset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  // The forms were designed for bitmap faces, which are never smoothed; where a TrueType face
  // stands in, a text drawn over again in the background colour (the graph's blanked title)
  // must not leave a smoothed fringe behind.
  lf.lfQuality = NONANTIALIASED_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH;
  std::wstring face = Widen(spec.name);
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&lf);
  fonts.emplace(key, font);
  return font;
}

HBRUSH CachedBrush(Color c) {
  static std::map<COLORREF, HBRUSH> brushes;
  COLORREF rgb = ToColorRef(c);
  auto it = brushes.find(rgb);
  if (it != brushes.end()) return it->second;
  HBRUSH b = CreateSolidBrush(rgb);
  brushes.emplace(rgb, b);
  return b;
}

HPEN CachedPen(Color c, int width, int style) {
  static std::map<std::tuple<COLORREF, int, int>, HPEN> pens;
  std::tuple<COLORREF, int, int> key{ToColorRef(c), width, style};
  auto it = pens.find(key);
  if (it != pens.end()) return it->second;
  HPEN p = CreatePen(style, width, std::get<0>(key));
  pens.emplace(key, p);
  return p;
}

}  // namespace forms
