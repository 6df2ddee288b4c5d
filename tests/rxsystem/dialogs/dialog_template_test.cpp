// The in-memory templates read back byte by byte as the dialog manager reads them, and the
// measuring font's metrics.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "system_services/dialogs/dialog_template.h"
#include "system_services/host/host_interface.h"

using namespace rxsystem;

namespace {

// Reads a template the way the platform walks it.
class TemplateReader {
 public:
  explicit TemplateReader(const BYTE* at) : base_(at), at_(at) {}
  WORD Word() {
    WORD v;
    std::memcpy(&v, at_, 2);
    at_ += 2;
    return v;
  }
  DWORD Dword() {
    DWORD v;
    std::memcpy(&v, at_, 4);
    at_ += 4;
    return v;
  }
  int16_t Short() { return static_cast<int16_t>(Word()); }
  std::wstring Text() {
    std::wstring s;
    for (WORD c = Word(); c != 0; c = Word()) s.push_back(static_cast<wchar_t>(c));
    return s;
  }
  void Align4() {
    while ((at_ - base_) % 4) ++at_;
  }
  const BYTE* At() const { return at_; }

 private:
  const BYTE* base_;
  const BYTE* at_;
};

constexpr FontMetrics kFont{6, 13};

// What the system's ANSI code page makes of a text, whichever page that is.
std::wstring Ansi(const char* text) {
  wchar_t wide[64] = {};
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64);
  return wide;
}

}  // namespace

TEST(DialogTemplate, HeaderItemsAndTexts) {
  LibraryEntry(GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH, nullptr);
  DialogTemplate t;
  ASSERT_EQ(BuildDialogTemplate(kFont, "Price \x80 5", 60, 26, 200, 50, 2, 14, t), 0);
  EXPECT_FALSE(t.centre);
  ASSERT_NE(AddDialogItem(t, 8, 10, 100, 8, kStaticClassAtom, 0, kStaticCenter, "Cost \x80 2"), nullptr);
  ASSERT_NE(AddDialogItem(t, 8, 30, 50, 14, kButtonClassAtom, kButton1Id, kButtonStyle, "OK"), nullptr);
  EXPECT_LE(t.next, t.end);

  TemplateReader r(t.base);
  EXPECT_EQ(r.Dword(), 0x90C800C0u);
  EXPECT_EQ(r.Dword(), 0u);
  EXPECT_EQ(r.Word(), 2);
  EXPECT_EQ(r.Short(), 60 * 4 / 6) << "pixels to units of the measuring font";
  EXPECT_EQ(r.Short(), 26 * 8 / 13);
  EXPECT_EQ(r.Short(), 200);
  EXPECT_EQ(r.Short(), 50);
  EXPECT_EQ(r.Word(), 0) << "no menu";
  EXPECT_EQ(r.Word(), 0) << "the standard class";
  // 0x80 is the euro sign in the ANSI pages, not the control character U+0080.
  ASSERT_NE(Ansi("Price \x80 5"), L"Price \x80 5");
  EXPECT_EQ(r.Text(), Ansi("Price \x80 5")) << "from the ANSI code page";
  EXPECT_EQ(r.Word(), 8);
  EXPECT_EQ(r.Text(), L"MS Sans Serif");

  struct Item {
    DWORD style;
    int16_t x, y, cx, cy;
    WORD id, atom;
    std::wstring text;
  } const items[] = {
      {WS_CHILD | WS_VISIBLE | kStaticCenter, 8, 10, 100, 8, 0, kStaticClassAtom, Ansi("Cost \x80 2")},
      {WS_CHILD | WS_VISIBLE | kButtonStyle, 8, 30, 50, 14, kButton1Id, kButtonClassAtom, L"OK"},
  };
  for (const Item& item : items) {
    SCOPED_TRACE(item.atom);
    r.Align4();
    EXPECT_EQ(r.Dword(), item.style);
    EXPECT_EQ(r.Dword(), 0u);
    EXPECT_EQ(r.Short(), item.x);
    EXPECT_EQ(r.Short(), item.y);
    EXPECT_EQ(r.Short(), item.cx);
    EXPECT_EQ(r.Short(), item.cy);
    EXPECT_EQ(r.Word(), item.id);
    EXPECT_EQ(r.Word(), 0xFFFF);
    EXPECT_EQ(r.Word(), item.atom);
    EXPECT_EQ(r.Text(), item.text);
    EXPECT_EQ(r.Word(), 0) << "no creation data";
  }
  EXPECT_EQ(r.At(), t.next);
}

TEST(DialogTemplate, NegativeLeftOrTopCentres) {
  const struct {
    int32_t left, top;
    bool centre;
  } cases[] = {{-1, 50, true}, {50, -1, true}, {0, 0, false}, {-5, -5, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.left) + "," + std::to_string(c.top));
    DialogTemplate t;
    ASSERT_EQ(BuildDialogTemplate(kFont, nullptr, c.left, c.top, 100, 40, 0, 0, t), 0);
    EXPECT_EQ(t.centre, c.centre);
    TemplateReader r(t.base + 10);
    if (c.centre) {
      EXPECT_EQ(r.Short(), 0);
      EXPECT_EQ(r.Short(), 0);
    }
    TemplateReader title(t.base + 22);
    EXPECT_EQ(title.Text(), L"") << "an absent title is empty";
  }
}

TEST(DialogTemplate, TheBlockHoldsWhatItWasSizedForAndNoMore) {
  // Fifteen items with long texts: all fit in the block sized from their counts.
  const std::string text(300, 'x');
  const std::string title(200, 'T');
  DialogTemplate t;
  ASSERT_EQ(BuildDialogTemplate(kFont, title.c_str(), 0, 0, 100, 40, 15, 15 * text.size(), t), 0);
  for (int i = 0; i < 15; ++i)
    ASSERT_NE(AddDialogItem(t, 0, 0, 1, 1, kStaticClassAtom, 0, 0, text), nullptr) << "item " << i;
  EXPECT_LE(t.next, t.end);
  // One more than it was sized for is refused instead of written past the block.
  EXPECT_EQ(AddDialogItem(t, 0, 0, 1, 1, kStaticClassAtom, 0, 0, text), nullptr);
  EXPECT_LE(t.next, t.end);
}

TEST(DialogTemplate, MeasuringFontMetrics) {
  MeasuringFont font(nullptr);
  const FontMetrics sans = font.Metrics();
  EXPECT_GE(sans.averageWidth, 1);
  EXPECT_GE(sans.lineHeight, 1);
  EXPECT_EQ(font.TextWidth(""), 0);
  EXPECT_GT(font.TextWidthWithNul("OK"), font.TextWidth("OK") - 1);
  EXPECT_GT(font.TextWidth("WWWW"), font.TextWidth("W"));

  font.SelectFixed();
  // Every character of a fixed-pitch font is as wide as every other.
  EXPECT_EQ(font.TextWidth("iiii"), font.TextWidth("WWWW"));
  font.SelectSans();
  EXPECT_EQ(font.Metrics().averageWidth, sans.averageWidth);
  font.Release();
  EXPECT_EQ(font.TextWidth("W"), 0) << "nothing measured after the release";
}
