// Every Greek letter of code page 1253 in the face and sizes the forms ask for draws a
// picture of its own. A face can "have" every letter and still misspell every caption: the
// Greek bitmaps of "MS Sans Serif" drew several letters with one picture (accented and plain
// vowels, delta and zeta, phi and psi). The fonts come from the forms' own font cache, from
// the font descriptions the forms give it, so the test asks for the very LOGFONT the
// programs ask for.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "forms/gdi_cache.h"
#include "forms/core/graphics_types.h"
#include "forms/core/text.h"
#include "pixel_capture.h"

namespace {

// The code page's Greek letters by their bytes: capitals and small letters, with and without
// tonos or dialytika, and the final sigma (0xD2 and 0xFF are no characters; 0xA1 and 0xB4
// are the accents alone).
std::vector<unsigned char> GreekLetterBytes() {
  std::vector<unsigned char> bytes{0xA2, 0xB8, 0xB9, 0xBA, 0xBC};
  for (int b = 0xBE; b <= 0xFE; ++b) {
    if (b != 0xD2) bytes.push_back(static_cast<unsigned char>(b));
  }
  return bytes;
}

std::string Describe(unsigned char byte) {
  char hex[8];
  snprintf(hex, sizeof hex, "0x%02X", byte);
  return forms::ToUtf8(std::string(1, static_cast<char>(byte))) + " (" + hex + ")";
}

// What a letter leaves on the canvas, cut to its ink: two letters that leave the same ink,
// wherever on the canvas, read alike.
struct Picture {
  int width = 0, height = 0;
  std::vector<bool> ink;
  bool operator==(const Picture&) const = default;
};

Picture Draw(HFONT font, wchar_t letter, int size) {
  testing_support::PixelCapture canvas(size, size);
  HDC dc = canvas.DC();
  RECT all{0, 0, size, size};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  // Well inside the canvas, so that overhangs and accents above the cell are drawn too.
  TextOutW(dc, size / 4, size / 4, &letter, 1);
  SelectObject(dc, old);
  std::vector<std::uint32_t> px = canvas.Pixels();
  int left = size, top = size, right = -1, bottom = -1;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if ((px[static_cast<size_t>(y * size + x)] & 0xFFFFFF) != 0xFFFFFF) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  Picture p;
  if (right < 0) return p;
  p.width = right - left + 1;
  p.height = bottom - top + 1;
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      p.ink.push_back((px[static_cast<size_t>(y * size + x)] & 0xFFFFFF) != 0xFFFFFF);
    }
  }
  return p;
}

forms::FontSpec FormsFont(int height, unsigned style) {
  forms::FontSpec f;
  f.name = "MS Sans Serif";
  f.height = height;
  f.style = style;
  f.charset = forms::kGreekCharset;
  return f;
}

TEST(GreekLetters, TheCodePageTakesEachByteToItsLetter) {
  // Each letter's UTF-16 unit is its byte moved into the Greek block (Ά alone sits apart).
  std::vector<unsigned char> bytes = GreekLetterBytes();
  ASSERT_EQ(bytes.size(), 69u);
  for (unsigned char b : bytes) {
    std::wstring w = forms::Widen(std::string(1, static_cast<char>(b)));
    ASSERT_EQ(w.size(), 1u) << Describe(b);
    EXPECT_EQ(static_cast<unsigned>(w[0]), b == 0xA2 ? 0x0386u : b + 0x02D0u) << Describe(b);
  }
}

TEST(GreekLetters, EachLetterDrawsAPictureOfItsOwn) {
  struct Case {
    const char* name;
    int height;  // pixels, as the forms' font descriptions give it
    unsigned style;
  };
  // 8 and 10 points at the designs' 96 dpi, and the other heights the forms' designs use.
  const Case cases[] = {
      {"8 pt", forms::FontSpec::HeightOfPoints(8), 0},
      {"8 pt bold", forms::FontSpec::HeightOfPoints(8), forms::fsBold},
      {"10 pt", forms::FontSpec::HeightOfPoints(10), 0},
      {"10 pt bold", forms::FontSpec::HeightOfPoints(10), forms::fsBold},
      {"12 px bold", 12, forms::fsBold},
      {"15 px", 15, 0},
      {"15 px bold", 15, forms::fsBold},
      {"19 px bold", 19, forms::fsBold},
  };
  const std::vector<unsigned char> bytes = GreekLetterBytes();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HFONT font = forms::CachedFont(FormsFont(c.height, c.style));
    ASSERT_NE(font, nullptr);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    ASSERT_TRUE(GetTextMetricsW(dc, &tm));
    // The name a face answers to is the one asked for where the prefix substitutes it; the
    // outline's own name tells which face draws, and a bitmap face has none.
    std::string face = "a bitmap face";
    if (UINT n = GetOutlineTextMetricsW(dc, 0, nullptr)) {
      std::vector<char> buf(n);
      auto* otm = reinterpret_cast<OUTLINETEXTMETRICW*>(buf.data());
      if (GetOutlineTextMetricsW(dc, n, otm)) {
        face = forms::ToUtf8(forms::Narrow(
            reinterpret_cast<const wchar_t*>(buf.data() + reinterpret_cast<uintptr_t>(otm->otmpFamilyName))));
      }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    std::cout << c.name << ": \"MS Sans Serif\" (Greek) is drawn in " << face << ", character set "
              << int(tm.tmCharSet) << ", cell height " << tm.tmHeight << "\n";
    EXPECT_EQ(tm.tmCharSet, GREEK_CHARSET) << "the face chosen is no Greek face";

    const int size = 4 * c.height;
    std::vector<Picture> pictures;
    for (unsigned char b : bytes) {
      std::wstring w = forms::Widen(std::string(1, static_cast<char>(b)));
      pictures.push_back(Draw(font, w[0], size));
      EXPECT_FALSE(pictures.back().ink.empty()) << Describe(b) << " draws nothing";
    }
    std::string alike;
    int pairs = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
      for (size_t j = i + 1; j < bytes.size(); ++j) {
        if (!pictures[i].ink.empty() && pictures[i] == pictures[j]) {
          alike += "\n  " + Describe(bytes[i]) + " = " + Describe(bytes[j]);
          ++pairs;
        }
      }
    }
    EXPECT_EQ(pairs, 0) << "letters drawn alike in " << face << ":" << alike;
  }
}

}  // namespace
