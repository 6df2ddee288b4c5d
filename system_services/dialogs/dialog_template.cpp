#include "system_services/dialogs/dialog_template.h"

#include <algorithm>
#include <cstring>

#include "system_services/host/host_interface.h"

namespace rxsystem {
namespace {

constexpr DWORD kDialogStyle = 0x90C800C0;  // popup, visible, caption, system menu, modal frame, set font
constexpr wchar_t kFontName[] = L"MS Sans Serif";
constexpr WORD kFontPoints = 8;
constexpr size_t kHeaderBytes = 18;  // style, extended style, item count, x, y, cx, cy
constexpr size_t kItemBytes = 18;    // style, extended style, x, y, cx, cy, id
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

class Writer {
 public:
  Writer(BYTE*& at, BYTE* end) : at_(at), end_(end) {}
  bool Room(size_t bytes) const { return static_cast<size_t>(end_ - at_) >= bytes; }
  void Word(WORD v) { Raw(&v, sizeof v); }
  void Short(int16_t v) { Raw(&v, sizeof v); }
  void Dword(DWORD v) { Raw(&v, sizeof v); }
  // The text in UTF-16 from the ANSI code page, then its NUL; false when it does not fit.
  bool Text(std::string_view text) {
    if (!text.empty()) {
      const int room = static_cast<int>(std::min<size_t>((end_ - at_) / 2, 0x7FFFFFFF));
      if (room <= 1) return false;
      const int n = MultiByteToWideChar(CP_ACP, 0, text.data(),
                                        static_cast<int>(std::min<size_t>(text.size(), 0x7FFFFFFF)),
                                        reinterpret_cast<wchar_t*>(at_), room - 1);
      if (n <= 0) return false;
      at_ += 2 * static_cast<size_t>(n);
    }
    if (!Room(2)) return false;
    Word(0);
    return true;
  }
  void Align4(BYTE* base) {
    while ((at_ - base) % 4 != 0 && Room(1)) *at_++ = 0;
  }

 private:
  void Raw(const void* v, size_t n) {
    std::memcpy(at_, v, n);
    at_ += n;
  }
  BYTE*& at_;
  BYTE* end_;
};

}  // namespace

MeasuringFont::MeasuringFont(HWND window) : dc_(window) {
  if (!dc_) return;
  const int height = -(GetDeviceCaps(dc_.get(), LOGPIXELSY) * 8) / 72;
  sans_.reset(CreateFontA(height, 0, 0, 0, 0, FALSE, FALSE, FALSE, 0, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                          PROOF_QUALITY, FF_SWISS, "MS Sans Serif"));
  selected_ = forms::SelectionGuard(dc_.get(), sans_.get());
}

FontMetrics MeasuringFont::Metrics() const {
  FontMetrics m;
  if (!dc_) return m;
  SIZE size{};
  if (GetTextExtentPoint32A(dc_.get(), kAlphabet, 52, &size))
    m.averageWidth = static_cast<uint16_t>(std::clamp<LONG>(size.cx / 52, 1, 0xFFFF));
  TEXTMETRICA tm{};
  if (GetTextMetricsA(dc_.get(), &tm)) m.lineHeight = std::max<LONG>(tm.tmHeight, 1);
  return m;
}

int32_t MeasuringFont::TextWidth(std::string_view text) const {
  if (!dc_ || text.empty()) return 0;
  SIZE size{};
  const int n = static_cast<int>(std::min<size_t>(text.size(), 0x7FFFFFFF));
  return GetTextExtentPoint32A(dc_.get(), text.data(), n, &size) ? size.cx : 0;
}

int32_t MeasuringFont::TextWidthWithNul(std::string_view text) const {
  static constexpr char kNul[1] = {'\0'};
  return TextWidth(text) + TextWidth(std::string_view(kNul, 1));
}

void MeasuringFont::SelectFixed() {
  if (dc_) SelectObject(dc_.get(), GetStockObject(SYSTEM_FIXED_FONT));
}

void MeasuringFont::SelectSans() {
  if (dc_ && sans_) SelectObject(dc_.get(), sans_.get());
}

void MeasuringFont::Release() {
  selected_.reset();
  dc_.reset();
  sans_.reset();
}

int BuildDialogTemplate(FontMetrics metrics, const char* title, int32_t left, int32_t top, int32_t width,
                        int32_t height, int itemCount, size_t textChars, DialogTemplate& out) {
  const std::string_view caption = OptionalText(title);
  // An ANSI character never becomes more than one UTF-16 unit, so the byte counts bound
  // the texts; each item may also need three bytes to reach its 4-byte boundary.
  const size_t items = static_cast<size_t>(std::max(itemCount, 0));
  const size_t headerSize = kHeaderBytes + 2 + 2 + 2 * (caption.size() + 1) + 2 + sizeof kFontName;
  const size_t itemSize = 3 + kItemBytes + 4 + 2 + 2;
  const size_t size = headerSize + items * itemSize + 2 * textChars + 4;

  out.base = reinterpret_cast<BYTE*>(NewResultBlock(size, out.block));
  if (!out.base) return -1;
  out.end = out.base + size;
  out.next = out.base;
  out.metrics = metrics;

  int16_t x = 0;
  int16_t y = 0;
  out.centre = left < 0 || top < 0;
  if (!out.centre) {
    // The template holds the position in 16-bit words: a larger number keeps its low word.
    x = TemplateShort(DialogX(static_cast<int16_t>(left), metrics));
    y = TemplateShort(DialogY(static_cast<int16_t>(top), metrics));
  }
  Writer w(out.next, out.end);
  w.Dword(kDialogStyle);
  w.Dword(0);
  w.Word(static_cast<WORD>(items));
  w.Short(x);
  w.Short(y);
  w.Short(TemplateShort(width));
  w.Short(TemplateShort(height));
  w.Word(0);  // no menu
  w.Word(0);  // the standard dialog class
  w.Text(caption);
  w.Word(kFontPoints);
  std::memcpy(out.next, kFontName, sizeof kFontName);
  out.next += sizeof kFontName;
  return 0;
}

BYTE* AddDialogItem(DialogTemplate& t, int16_t x, int16_t y, int16_t cx, int16_t cy, uint16_t classAtom,
                    uint16_t id, uint32_t style, std::string_view text) {
  if (!t.base) return nullptr;
  BYTE* at = t.next;
  Writer w(at, t.end);
  w.Align4(t.base);
  if (!w.Room(kItemBytes + 4 + 2 * (text.size() + 1) + 2)) return nullptr;
  BYTE* item = at;
  w.Dword(style | WS_CHILD | WS_VISIBLE);
  w.Dword(0);
  w.Short(x);
  w.Short(y);
  w.Short(cx);
  w.Short(cy);
  w.Word(id);
  w.Word(0xFFFF);
  w.Word(classAtom);
  if (!w.Text(text)) return nullptr;
  w.Word(0);  // no creation data
  t.next = at;
  return item;
}

BYTE* AddDialogItem(DialogTemplate& t, const ItemLayout& item) {
  return AddDialogItem(t, item.x, item.y, item.cx, item.cy, item.classAtom, item.id, item.style, item.text);
}

}  // namespace rxsystem
