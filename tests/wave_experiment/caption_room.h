// Whether a one-line caption is shown whole in its box. Both sides are taken from the window
// itself: the width the caption takes is measured on the control's own device context with
// the font the control paints with, and the room is the control's client width less what its
// kind draws beside the text there. Wine's faces are not the design's, so no width of a face
// is assumed.
#pragma once
#include <windows.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "forms/button.h"
#include "forms/check_button.h"
#include "forms/control.h"
#include "forms/edit.h"
#include "forms/gdi_cache.h"
#include "forms/label.h"
#include "forms/memo.h"
#include "forms/panel.h"
#include "forms/static_text.h"
#include "forms/string_grid.h"
#include "forms/core/text.h"
#include "forms/track_bar.h"

namespace kelmora_test {

struct CaptionFit {
  std::string name;
  std::string text;  // code page 1253, as the program gave it
  int needed = 0;    // pixels the caption takes on one line
  int room = 0;      // pixels the box leaves it
};

inline std::ostream& operator<<(std::ostream& os, const CaptionFit& f) {
  return os << f.name << " \"" << forms::ToUtf8(f.text) << "\": " << f.needed << " px in " << f.room << " px";
}

// The caption as the platform shows it: "&x" underlines x and takes no room itself, "&&"
// shows one "&".
inline std::wstring WithoutMnemonics(const std::wstring& text) {
  std::wstring shown;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

// The width `text` takes on `hwnd`'s own device context in the font of `font`.
inline int TextExtentOn(HWND hwnd, const forms::FontSpec& font, const std::wstring& text) {
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, forms::CachedFont(font));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return size.cx;
}

inline int ClientWidthOf(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return r.right - r.left;
}

// The width of one image of the glyph the programs give their glyph buttons (two images side
// by side: normal and greyed).
inline int GlyphButtonImageWidth() {
  HBITMAP glyph = forms::MakeMarkGlyph('v', RGB(0, 0, 0));
  BITMAP bm{};
  GetObjectW(glyph, sizeof(bm), &bm);
  DeleteObject(glyph);
  return bm.bmWidth / 2;
}

// What a control's kind leaves its caption on one line.
inline int CaptionRoom(const forms::Control& c) {
  HWND h = c.Handle();
  int width = ClientWidthOf(h);
  // A push button's 3-D frame is drawn inside its client area.
  int frame = 2 * GetSystemMetrics(SM_CXEDGE);
  if (auto* b = dynamic_cast<const forms::BitBtn*>(&c)) {
    // The black frame of the focused or default button takes a pixel more on each side, and
    // the glyph stands left of the caption, four pixels apart.
    int room = width - frame - 2;
    if (b->HasGlyph()) room -= GlyphButtonImageWidth() + 4;
    return room;
  }
  if (dynamic_cast<const forms::Button*>(&c)) return width - frame;
  if (dynamic_cast<const forms::CheckButton*>(&c)) {
    // The platform's button puts the caption half a digit's width beyond the mark's box.
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, forms::CachedFont(c.Font()));
    INT digit = 0;
    GetCharWidth32W(dc, L'0', L'0', &digit);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    return width - GetSystemMetrics(SM_CXMENUCHECK) - digit / 2;
  }
  return width;
}

// Controls that show a caption on one line: edits and grids show values rather than
// captions (the grid's headers are measured against its columns), memos wrap what they
// hold, track bars show none.
inline bool ShowsOneLineCaption(const forms::Control& c) {
  return !dynamic_cast<const forms::Edit*>(&c) && !dynamic_cast<const forms::StringGrid*>(&c) &&
         !dynamic_cast<const forms::Memo*>(&c) && !dynamic_cast<const forms::TrackBar*>(&c);
}

inline CaptionFit MeasureCaption(const std::string& name, const forms::Control& c) {
  std::string text = c.Text();
  return {name, text, TextExtentOn(c.Handle(), c.Font(), WithoutMnemonics(forms::Widen(text))),
          CaptionRoom(c)};
}

using ControlNames = std::vector<std::pair<std::string, const forms::Control*>>;

inline std::string NameIn(const ControlNames& names, const forms::Control* c) {
  for (const auto& [n, p] : names) {
    if (p == c) return n;
  }
  return "";
}

inline std::string KindOf(const forms::Control& c) {
  if (dynamic_cast<const forms::BitBtn*>(&c)) return "glyph button";
  if (dynamic_cast<const forms::Button*>(&c)) return "button";
  if (dynamic_cast<const forms::CheckButton*>(&c)) return "check or radio button";
  if (dynamic_cast<const forms::Label*>(&c)) return "label";
  if (dynamic_cast<const forms::StaticText*>(&c)) return "static text";
  if (dynamic_cast<const forms::Panel*>(&c)) return "panel";
  return "control";
}

// Blanks leave nothing on the screen for a box to cut (the graph keeps a blanked title).
inline bool ShowsInk(const std::string& text) {
  return text.find_first_not_of(" \t\r\n") != std::string::npos;
}

// Every shown control with a caption under `root`, its own children included, each named by
// `names` where it is listed there (else by its window class). The controls in `wrapped`
// break their text into lines and are measured otherwise.
inline void MeasureCaptions(const forms::Control& root, const ControlNames& names,
                            const std::vector<const forms::Control*>& wrapped, std::vector<CaptionFit>& out) {
  for (const forms::Control* c : root.Children()) {
    bool wraps = false;
    for (const forms::Control* w : wrapped) wraps = wraps || w == c;
    if (!wraps && IsWindowVisible(c->Handle()) && ShowsOneLineCaption(*c) && ShowsInk(c->Text())) {
      std::string name = NameIn(names, c);
      if (name.empty()) {
        // A control the program's table does not name (the graph's own titles).
        std::string parent = NameIn(names, c->Parent());
        name = KindOf(*c) + (parent.empty() ? "" : " in " + parent);
      }
      out.push_back(MeasureCaption(name, *c));
    }
    MeasureCaptions(*c, names, wrapped, out);
  }
}

// A header or row label of a string grid: its text is drawn two pixels into its cell,
// clipped at the cell's edge, as it is (no mnemonics); a cell the grid's client area cuts
// leaves only what is inside.
inline CaptionFit MeasureGridCell(const std::string& name, const forms::StringGrid& g, int col, int row) {
  std::string text = g.Cell(col, row);
  RECT cell = g.CellRect(col, row);
  RECT client;
  GetClientRect(g.Handle(), &client);
  int right = cell.right < client.right ? cell.right : client.right;
  std::wstring w = forms::Widen(text);
  return {name, text, TextExtentOn(g.Handle(), g.Font(), w), right - cell.left - 2};
}

}  // namespace kelmora_test
