#include "forms/string_grid.h"

#include <gtest/gtest.h>

#include <atomic>

#include "forms/button.h"
#include "forms/core/message_service.h"
#include "forms/form.h"
#include "forms/gdi_cache.h"
#include "forms/core/text.h"
#include "gui_driver.h"
#include "gui_thread.h"

using forms::GridCoord;
using namespace testing_support;

namespace {

const wchar_t kCaption[] = L"Πίνακας δοκιμής";

// A form with the results table's grid: 6 x 6, one fixed row and column, and an OK and a
// Cancel button (Esc).
class GridForm : public forms::Form {
 public:
  GridForm() : grid(this), ok(this), cancel(this) {
    SetBorderStyle(forms::BorderStyle::Dialog);
    SetCaption("Πίνακας δοκιμής");
    SetClientSize(760, 260);
    grid.SetBounds(8, 8, 744, 180);
    grid.SetColCount(6);
    grid.SetRowCount(6);
    grid.SetDefaultColWidth(110);
    grid.SetDefaultRowHeight(21);
    for (int c = 1; c < 6; ++c) grid.SetCell(c, 0, "Στήλη " + std::to_string(c));
    for (int r = 1; r < 6; ++r) grid.SetCell(0, r, std::to_string(r) + "η Μέτρηση");
    ok.SetCaption("&OK");
    ok.SetBounds(400, 210, 100, 33);
    ok.modalResult = forms::mrOk;
    cancel.SetCaption("&Ακύρωση");
    cancel.SetBounds(520, 210, 100, 33);
    cancel.modalResult = forms::mrCancel;
    cancel.SetCancel(true);
    activeControl = &grid;
  }
  forms::StringGrid grid;
  forms::Button ok;
  forms::Button cancel;
};

class StringGridWindow : public ::testing::Test {
 protected:
  void SetUp() override { forms::Application::Get().ResetTerminated(); }
  GuiThread gui;
};

struct Step {
  char kind;         // 'T' type text, 'K' key, 'C' current cell set from code
  std::string text;  // text to type
  UINT vk;
  GridCoord current;  // expected afterwards
  bool editing;
  GridCoord checked;  // a cell whose text is checked afterwards
  std::string cell;
};

TEST_F(StringGridWindow, KeysMoveBetweenCellsAndTypingEditsInPlace) {
  const Step steps[] = {
      {'T', "12", 0, {1, 1}, true, {1, 1}, "12"},  // typing opens the editor, text reaches the cell at once
      {'K', "", VK_TAB, {2, 1}, false, {1, 1}, "12"},
      {'T', "3/4", 0, {2, 1}, true, {2, 1}, "3/4"},
      {'K', "", VK_DOWN, {2, 2}, false, {2, 1}, "3/4"},
      {'K', "", VK_RIGHT, {3, 2}, false, {3, 2}, ""},  // 5
      {'K', "", VK_UP, {3, 1}, false, {3, 1}, ""},
      {'K', "", VK_UP, {3, 1}, false, {0, 1}, "1η Μέτρηση"},  // the fixed row is never current
      {'K', "", VK_LEFT, {2, 1}, false, {2, 1}, "3/4"},
      {'K', "", VK_LEFT, {1, 1}, false, {1, 1}, "12"},
      {'K', "", VK_LEFT, {1, 1}, false, {0, 1}, "1η Μέτρηση"},  // 10: nor the fixed column
      {'K', "", VK_RETURN, {1, 1}, true, {1, 1}, "12"},         // Enter opens the editor on the text
      {'T', "ΑΒ", 0, {1, 1}, true, {1, 1}, "ΑΒ"},               // which is selected, so typing replaces it
      {'K', "", VK_LEFT, {1, 1}, true, {1, 1}, "ΑΒ"},           // sideways arrows move the caret first
      {'K', "", VK_LEFT, {1, 1}, true, {1, 1}, "ΑΒ"},
      {'K', "", VK_LEFT, {1, 1}, false, {1, 1}, "ΑΒ"},  // 15: at the start of the text; no cell further left
      {'K', "", VK_RETURN, {1, 1}, true, {1, 1}, "ΑΒ"},
      {'K', "", VK_RETURN, {1, 1}, false, {1, 1}, "ΑΒ"},  // Enter again closes it, keeping the text
      {'C', "", 0, {5, 1}, false, {5, 1}, ""},
      {'K', "", VK_TAB, {1, 2}, false, {1, 2}, ""},    // Tab at the row's end goes on in the next row
      {'C', "", 0, {5, 5}, false, {5, 5}, ""},         // 20
      {'K', "", VK_TAB, {1, 1}, false, {1, 1}, "ΑΒ"},  // and from the last cell to the first
      {'K', "", VK_F2, {1, 1}, true, {1, 1}, "ΑΒ"},
      {'K', "", VK_END, {1, 1}, true, {1, 1}, "ΑΒ"},  // End inside the editor stays in the text
      {'T', "5", 0, {1, 1}, true, {1, 1}, "ΑΒ5"},
      {'K', "", VK_DOWN, {1, 2}, false, {1, 1}, "ΑΒ5"},  // 25
  };
  GridForm form;
  std::vector<std::string> failures;
  Driver d([&] {
    HWND w = WaitForTopWindow(kCaption);
    if (!w) return;
    gui.Call([&] { form.grid.SetFocus(); });
    int row = 0;
    for (const Step& s : steps) {
      ++row;
      if (s.kind == 'T') gui.Type(s.text);
      if (s.kind == 'K') gui.Key(s.vk);
      if (s.kind == 'C') gui.Call([&] { form.grid.SetCurrent(s.current.col, s.current.row); });
      GridCoord cur;
      bool editing = false;
      std::string cell;
      gui.Call([&] {
        cur = form.grid.Current();
        editing = form.grid.EditorMode();
        cell = form.grid.Cell(s.checked.col, s.checked.row);
      });
      if (!(cur == s.current) || editing != s.editing || cell != s.cell) {
        failures.push_back("row " + std::to_string(row) + ": current " + std::to_string(cur.col) + "," +
                           std::to_string(cur.row) + " editing " + std::to_string(editing) + " cell '" +
                           forms::ToUtf8(cell) + "'");
      }
    }
    ClickChild(FindChildByText(w, L"&OK"));
  });
  int result = form.ShowModal();
  d.Join();
  EXPECT_EQ(result, forms::mrOk);
  for (const std::string& f : failures) ADD_FAILURE() << f;
}

TEST_F(StringGridWindow, TextTypedJustBeforeOkIsInTheCell) {
  GridForm form;
  Driver d([&] {
    HWND w = WaitForTopWindow(kCaption);
    if (!w) return;
    gui.Call([&] {
      form.grid.SetFocus();
      form.grid.SetCurrent(3, 4);
    });
    gui.Type("0.25");
    // The mouse goes straight to OK while the editor is still open.
    ClickChild(FindChildByText(w, L"&OK"));
  });
  int result = form.ShowModal();
  d.Join();
  EXPECT_EQ(result, forms::mrOk);
  EXPECT_EQ(form.grid.Cell(3, 4), "0.25");
  EXPECT_FALSE(form.grid.EditorMode());
}

TEST_F(StringGridWindow, EscapeWhileEditingIsTheFormsCancel) {
  GridForm form;
  std::atomic<bool> closedByEscape{false};
  Driver d([&] {
    HWND w = WaitForTopWindow(kCaption);
    if (!w) return;
    gui.Call([&] { form.grid.SetFocus(); });
    gui.Type("7");
    // No sync after it: the modal loop it ends pumps no more.
    PressKey(gui.Focus(), VK_ESCAPE);
    for (int i = 0; i < 100 && IsWindowVisible(w); ++i) Sleep(5);
    closedByEscape = !IsWindowVisible(w);
    if (!closedByEscape) PostMessageW(w, WM_CLOSE, 0, 0);
  });
  int result = form.ShowModal();
  d.Join();
  EXPECT_TRUE(closedByEscape);
  EXPECT_EQ(result, forms::mrCancel);
}

TEST_F(StringGridWindow, MouseSelectsEditsAndExtendsARange) {
  GridForm form;
  struct Seen {
    GridCoord afterFirst, afterShift;
    forms::GridRect range;
    bool editingAfterSecond = false;
    std::wstring editorText;
  } seen;
  Driver d([&] {
    HWND w = WaitForTopWindow(kCaption);
    if (!w) return;
    HWND grid = form.grid.Handle();
    RECT r24{}, r45{};
    gui.Call([&] {
      form.grid.SetCell(2, 4, "9.81");
      r24 = form.grid.CellRect(2, 4);
      r45 = form.grid.CellRect(4, 5);
    });
    auto at = [](const RECT& r) { return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2); };
    PostMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, at(r24));
    PostMessageW(grid, WM_LBUTTONUP, 0, at(r24));
    gui.Sync();
    gui.Call([&] { seen.afterFirst = form.grid.Current(); });
    PostMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, at(r45));
    PostMessageW(grid, WM_LBUTTONUP, MK_SHIFT, at(r45));
    gui.Sync();
    gui.Call([&] {
      seen.afterShift = form.grid.Current();
      seen.range = form.grid.Selection();
    });
    // A click on the current cell opens its editor.
    PostMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, at(r24));
    PostMessageW(grid, WM_LBUTTONUP, 0, at(r24));
    gui.Sync();
    PostMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, at(r24));
    PostMessageW(grid, WM_LBUTTONUP, 0, at(r24));
    gui.Sync();
    gui.Call([&] { seen.editingAfterSecond = form.grid.EditorMode(); });
    seen.editorText = WindowText(form.grid.EditorHandle());
    PostMessageW(w, WM_CLOSE, 0, 0);
  });
  form.ShowModal();
  d.Join();
  EXPECT_EQ(seen.afterFirst, (GridCoord{2, 4}));
  EXPECT_EQ(seen.afterShift, (GridCoord{4, 5}));
  EXPECT_EQ(seen.range, (forms::GridRect{2, 4, 4, 5}));
  EXPECT_TRUE(seen.editingAfterSecond);
  EXPECT_EQ(seen.editorText, L"9.81");
}

TEST(StringGridLayout, CountsHeaderAndGeometry) {
  forms::Application::Get().Initialize();
  forms::Form form;
  forms::StringGrid grid(&form);
  grid.SetBounds(0, 0, 700, 200);
  grid.SetDefaultColWidth(111);
  grid.SetDefaultRowHeight(21);
  grid.SetColCount(6);
  grid.SetRowCount(6);
  grid.SetCell(5, 5, "last");

  // Cells and the hit test agree, one-pixel lines between cells.
  for (int c = 0; c < 6; ++c) {
    for (int r = 0; r < 6; ++r) {
      SCOPED_TRACE("cell " + std::to_string(c) + "," + std::to_string(r));
      RECT cr = grid.CellRect(c, r);
      EXPECT_EQ(cr.left, c * 112);
      EXPECT_EQ(cr.top, r * 22);
      EXPECT_EQ(cr.right - cr.left, 111);
      EXPECT_EQ(grid.CellAt(cr.left + 3, cr.bottom - 1), (GridCoord{c, r}));
    }
  }

  struct Case {
    int cols, rows;
    int fixedCols, fixedRows;
  };
  const Case cases[] = {
      {0, 0, 0, 0},  // below one: one, and nothing is fixed
      {1, 6, 0, 1},
      {2, 2, 1, 1},
      {6, 6, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("counts " + std::to_string(c.cols) + " x " + std::to_string(c.rows));
    grid.SetColCount(c.cols);
    grid.SetRowCount(c.rows);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    EXPECT_EQ(grid.ColCount(), std::max(c.cols, 1));
    EXPECT_EQ(grid.RowCount(), std::max(c.rows, 1));
    EXPECT_EQ(grid.FixedCols(), c.fixedCols);
    EXPECT_EQ(grid.FixedRows(), c.fixedRows);
    GridCoord cur = grid.Current();
    EXPECT_GE(cur.col, grid.FixedCols());
    EXPECT_LT(cur.col, grid.ColCount());
  }
  // A cell outside the counts is kept for when the grid grows again.
  EXPECT_EQ(grid.Cell(5, 5), "last");

  // The last of as many columns as an int counts scrolls into view whole.
  grid.SetColCount(2147483647);
  grid.SetRowCount(6);
  grid.SetCurrent(2147483646, 5);
  EXPECT_EQ(grid.Current(), (GridCoord{2147483646, 5}));
  RECT last = grid.CellRect(2147483646, 5);
  EXPECT_GT(last.right, last.left);
  EXPECT_LE(last.right, grid.ClientWidth());
  EXPECT_EQ(grid.CellAt(last.left + 1, last.top + 1), (GridCoord{2147483646, 5}));
  grid.SetCurrent(1, 1);
  EXPECT_EQ(grid.CellRect(1, 1).left, 112);
}

TEST(StringGridLayout, PaintsHeaderSelectionAndText) {
  forms::Application::Get().Initialize();
  GridForm form;
  form.Show();
  form.grid.SetCurrent(2, 2);
  form.grid.SetCell(3, 3, "");
  // Without the focus the current cell shows as selected.
  form.ok.SetFocus();
  form.Repaint();
  form.grid.Repaint();
  forms::Application::Get().ProcessMessages();
  HDC dc = GetDC(form.grid.Handle());
  auto pixelIn = [&](int c, int r, int dx, int dy) {
    RECT cr = form.grid.CellRect(c, r);
    return GetPixel(dc, cr.right - dx, cr.bottom - dy);
  };
  COLORREF header = pixelIn(1, 0, 4, 4);
  COLORREF plain = pixelIn(3, 3, 4, 4);
  COLORREF current = pixelIn(2, 2, 4, 4);
  ReleaseDC(form.grid.Handle(), dc);
  form.Hide();
  EXPECT_EQ(header, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(plain, GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(current, GetSysColor(COLOR_HIGHLIGHT));
}

}  // namespace
