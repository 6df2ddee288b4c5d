#include "forms/string_grid.h"

#include <algorithm>

#include "forms/gdi_cache.h"
#include "forms/platform/owned_handles.h"
#include "forms/paint.h"
#include "forms/core/text.h"

namespace forms {

// The in-place editor: a borderless edit over the current cell. The grid keeps the keys that
// move between cells; everything else is plain editing.
class StringGrid::Editor : public Control {
 public:
  explicit Editor(StringGrid* grid) : Control(grid), grid_(grid) {
    CreateHandle(L"EDIT", ES_AUTOHSCROLL, 0);
    SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
    SetColor(clWindow);
  }

 protected:
  void HandleCommand(WORD code) override {
    if (code == EN_CHANGE) grid_->EditorChanged();
  }

  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_GETDLGCODE: {
        LRESULT r = CallDefault(msg, wp, lp) | DLGC_WANTARROWS | DLGC_WANTCHARS;
        if (grid_->tabs) r |= DLGC_WANTTAB;
        // Enter closes the editor rather than pressing a default button; Esc stays the
        // dialog's (Cancel).
        auto* m = reinterpret_cast<const MSG*>(lp);
        if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) r |= DLGC_WANTMESSAGE;
        return r;
      }
      case WM_KEYDOWN:
        if (LeavesText(static_cast<UINT>(wp)) && grid_->GridKey(static_cast<UINT>(wp), true)) return 0;
        break;
      case WM_CHAR:
        // The keys the grid took would only beep in a one-line edit.
        if (wp == '\r' || wp == '\t' || wp == '\n') return 0;
        break;
      case WM_KILLFOCUS: {
        LRESULT r = Control::WndProc(msg, wp, lp);
        // Focus moving to another control of the form (the OK button) ends the edit; a message
        // box of the program or another program leaves it open for when the form comes back.
        HWND to = reinterpret_cast<HWND>(wp);
        if (to && to != grid_->Handle() && GetAncestor(to, GA_ROOT) == GetAncestor(Handle(), GA_ROOT)) {
          grid_->HideEditor();
        }
        return r;
      }
    }
    return Control::WndProc(msg, wp, lp);
  }

 private:
  bool LeavesText(UINT vk) const {
    switch (vk) {
      case VK_UP:
      case VK_DOWN:
      case VK_PRIOR:
      case VK_NEXT:
      case VK_RETURN:
        return true;
      case VK_TAB:
        return grid_->tabs;
      case VK_LEFT:
      case VK_RIGHT: {
        // Arrows sideways move the caret inside the text and the cell only at its edges.
        DWORD start = 0, end = 0;
        SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        if (start != end) return false;
        if (vk == VK_LEFT) return start == 0;
        return end == static_cast<DWORD>(GetWindowTextLengthW(Handle()));
      }
    }
    return false;
  }

  StringGrid* grid_;
};

StringGrid::StringGrid(Control* parent) : Control(parent) {
  CreateHandle(kWindowClass, WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE);
  SetColor(clWindow);
  editor_ = std::make_unique<Editor>(this);
}

StringGrid::~StringGrid() = default;

void StringGrid::SetColCount(int count) {
  HideEditor();
  colCount_ = std::max(count, 1);
  if (fixedCols_ >= colCount_) fixedCols_ = colCount_ - 1;
  ClampCurrent();
  Invalidate();
}

void StringGrid::SetRowCount(int count) {
  HideEditor();
  rowCount_ = std::max(count, 1);
  if (fixedRows_ >= rowCount_) fixedRows_ = rowCount_ - 1;
  ClampCurrent();
  Invalidate();
}

void StringGrid::SetFixedCols(int count) {
  HideEditor();
  fixedCols_ = std::clamp(count, 0, colCount_ - 1);
  ClampCurrent();
  Invalidate();
}

void StringGrid::SetFixedRows(int count) {
  HideEditor();
  fixedRows_ = std::clamp(count, 0, rowCount_ - 1);
  ClampCurrent();
  Invalidate();
}

void StringGrid::SetDefaultColWidth(int width) {
  colWidth_ = std::max(width, 0);
  PlaceEditor();
  Invalidate();
}

void StringGrid::SetDefaultRowHeight(int height) {
  rowHeight_ = std::max(height, 0);
  PlaceEditor();
  Invalidate();
}

std::string StringGrid::Cell(int col, int row) const {
  auto it = cells_.find({col, row});
  return it == cells_.end() ? std::string() : it->second;
}

void StringGrid::SetCell(int col, int row, std::string_view text) {
  if (text.empty()) {
    cells_.erase({col, row});
  } else {
    cells_[{col, row}] = std::string(text);
  }
  if (editorShown_ && current_ == GridCoord{col, row}) {
    filling_ = true;
    editor_->SetText(text);
    filling_ = false;
  }
  RECT r = CellRect(col, row);
  InvalidateRect(Handle(), &r, FALSE);
}

void StringGrid::ClearCells() {
  HideEditor();
  cells_.clear();
  Invalidate();
}

void StringGrid::ClampCurrent() {
  auto clampTo = [](GridCoord c, int c0, int c1, int r0, int r1) {
    return GridCoord{std::clamp(c.col, c0, c1), std::clamp(c.row, r0, r1)};
  };
  current_ = clampTo(current_, FirstFreeCol(), colCount_ - 1, FirstFreeRow(), rowCount_ - 1);
  anchor_ = clampTo(anchor_, FirstFreeCol(), colCount_ - 1, FirstFreeRow(), rowCount_ - 1);
  leftCol_ = std::clamp(leftCol_, FirstFreeCol(), colCount_ - 1);
  topRow_ = std::clamp(topRow_, FirstFreeRow(), rowCount_ - 1);
}

void StringGrid::SetCurrent(int col, int row) { MoveTo({col, row}, false); }

void StringGrid::MoveTo(GridCoord to, bool extend) {
  HideEditor();
  to.col = std::clamp(to.col, FirstFreeCol(), colCount_ - 1);
  to.row = std::clamp(to.row, FirstFreeRow(), rowCount_ - 1);
  current_ = to;
  if (!extend || !rangeSelect) anchor_ = to;
  ScrollIntoView(to);
  Invalidate();
}

GridRect StringGrid::Selection() const {
  if (!rangeSelect) return {current_.col, current_.row, current_.col, current_.row};
  return {std::min(anchor_.col, current_.col), std::min(anchor_.row, current_.row),
          std::max(anchor_.col, current_.col), std::max(anchor_.row, current_.row)};
}

void StringGrid::ScrollIntoView(GridCoord c) {
  RECT client;
  GetClientRect(Handle(), &client);
  // The first scrolling column or row that still shows `c` whole (or `c` itself when even it
  // alone is too wide); 64-bit, as the counts may be as large as an int allows.
  auto firstInView = [](long long first, long long target, long long fixed, long long size, long long room) {
    if (target < first) return target;
    long long fit = room / (size + 1) - fixed;  // scrolling cells that fit
    if (fit < 1) fit = 1;
    return std::max(first, target - fit + 1);
  };
  if (c.col >= fixedCols_) {
    leftCol_ = static_cast<int>(firstInView(leftCol_, c.col, fixedCols_, colWidth_, client.right));
  }
  if (c.row >= fixedRows_) {
    topRow_ = static_cast<int>(firstInView(topRow_, c.row, fixedRows_, rowHeight_, client.bottom));
  }
}

RECT StringGrid::CellRect(int col, int row) const {
  if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return RECT{0, 0, 0, 0};
  if ((col >= fixedCols_ && col < leftCol_) || (row >= fixedRows_ && row < topRow_)) return RECT{0, 0, 0, 0};
  int slotX = col < fixedCols_ ? col : fixedCols_ + (col - leftCol_);
  int slotY = row < fixedRows_ ? row : fixedRows_ + (row - topRow_);
  // 64-bit so that a huge count never wraps into a visible position.
  long long x = static_cast<long long>(slotX) * (colWidth_ + 1);
  long long y = static_cast<long long>(slotY) * (rowHeight_ + 1);
  if (x > 0x3FFFFFFF || y > 0x3FFFFFFF) return RECT{0, 0, 0, 0};
  return RECT{static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(x + colWidth_),
              static_cast<LONG>(y + rowHeight_)};
}

GridCoord StringGrid::CellAt(int x, int y) const {
  if (x < 0 || y < 0) return {-1, -1};
  int slotX = x / (colWidth_ + 1), slotY = y / (rowHeight_ + 1);
  int col = slotX < fixedCols_ ? slotX : leftCol_ + (slotX - fixedCols_);
  int row = slotY < fixedRows_ ? slotY : topRow_ + (slotY - fixedRows_);
  if (col >= colCount_ || row >= rowCount_) return {-1, -1};
  return {col, row};
}

bool StringGrid::EditorMode() const { return editorShown_; }
HWND StringGrid::EditorHandle() const { return editor_->Handle(); }

void StringGrid::PlaceEditor() {
  if (!editorShown_) return;
  RECT r = CellRect(current_.col, current_.row);
  editor_->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void StringGrid::ShowEditor() {
  if (!editing || editorShown_) return;
  if (current_.col < fixedCols_ || current_.row < fixedRows_) return;
  ScrollIntoView(current_);
  Invalidate();
  editor_->SetFont(Font());
  filling_ = true;
  editor_->SetText(Cell(current_.col, current_.row));
  filling_ = false;
  editorShown_ = true;
  PlaceEditor();
  ShowWindow(editor_->Handle(), SW_SHOWNOACTIVATE);
  editor_->SetFocus();
  SendMessageW(editor_->Handle(), EM_SETSEL, 0, -1);
}

void StringGrid::HideEditor() {
  if (!editorShown_) return;
  editorShown_ = false;
  if (GetFocus() == editor_->Handle()) ::SetFocus(Handle());
  ShowWindow(editor_->Handle(), SW_HIDE);
  Invalidate();
}

void StringGrid::EditorChanged() {
  if (filling_ || !editorShown_) return;
  std::string text = editor_->Text();
  if (text.empty()) {
    cells_.erase({current_.col, current_.row});
  } else {
    cells_[{current_.col, current_.row}] = std::move(text);
  }
}

void StringGrid::TabMove(bool backward) {
  GridCoord c = current_;
  int c0 = FirstFreeCol(), r0 = FirstFreeRow();
  if (backward) {
    if (--c.col < c0) {
      c.col = colCount_ - 1;
      if (--c.row < r0) c.row = rowCount_ - 1;
    }
  } else {
    if (++c.col >= colCount_) {
      c.col = c0;
      if (++c.row >= rowCount_) c.row = r0;
    }
  }
  MoveTo(c, false);
}

bool StringGrid::GridKey(UINT vk, bool fromEditor) {
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool extend = shift && rangeSelect && !fromEditor;
  GridCoord c = current_;
  int page = std::max(1, ClientHeight() / std::max(rowHeight_ + 1, 1) - fixedRows_);
  switch (vk) {
    case VK_UP:
      --c.row;
      break;
    case VK_DOWN:
      ++c.row;
      break;
    case VK_LEFT:
      --c.col;
      break;
    case VK_RIGHT:
      ++c.col;
      break;
    case VK_PRIOR:
      c.row -= page;
      break;
    case VK_NEXT:
      c.row += page;
      break;
    case VK_HOME:
      c.col = FirstFreeCol();
      break;
    case VK_END:
      c.col = colCount_ - 1;
      break;
    case VK_TAB:
      if (!tabs) return false;
      TabMove(shift);
      return true;
    case VK_RETURN:
      if (editorShown_) {
        HideEditor();
      } else {
        ShowEditor();
      }
      return true;
    case VK_F2:
      ShowEditor();
      return true;
    default:
      return false;
  }
  MoveTo(c, extend);
  return true;
}

LRESULT StringGrid::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  // Drawn off screen and copied in one step, so moving the selection never flickers.
  auto paint = [this](HDC dc) { PaintOffScreen(Handle(), dc, [this](HDC mem, const RECT&) { Paint(mem); }); };
  if (auto r = PaintMessage(Handle(), msg, wp, paint)) return *r;
  switch (msg) {
    case WM_GETDLGCODE: {
      LRESULT r = DLGC_WANTARROWS | DLGC_WANTCHARS;
      if (tabs) r |= DLGC_WANTTAB;
      auto* m = reinterpret_cast<const MSG*>(lp);
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) r |= DLGC_WANTMESSAGE;
      return r;
    }
    case WM_SETFOCUS: {
      LRESULT r = Control::WndProc(msg, wp, lp);
      if (editorShown_ && reinterpret_cast<HWND>(wp) != editor_->Handle()) editor_->SetFocus();
      Invalidate();
      return r;
    }
    case WM_KILLFOCUS:
      Invalidate();
      break;
    case WM_SIZE:
      ScrollIntoView(current_);
      PlaceEditor();
      Invalidate();
      break;
    case WM_KEYDOWN: {
      // The key events first, so a handler can swallow a key before the grid moves.
      if (!KeyDownEvent(wp)) return 0;
      if (GridKey(static_cast<UINT>(wp), false)) return 0;
      return CallDefault(msg, wp, lp);
    }
    case WM_CHAR: {
      if (!KeyPressEvent(wp)) return 0;
      // A printable key opens the editor on the cell and replaces its text, as a
      // spreadsheet does.
      if (wp >= 0x20 && editing && !editorShown_) {
        ShowEditor();
        if (editorShown_) {
          SendMessageW(editor_->Handle(), EM_SETSEL, 0, -1);
          SendMessageW(editor_->Handle(), WM_CHAR, wp, lp);
        }
      }
      return 0;
    }
    case WM_LBUTTONDOWN: {
      bool wasFocused = GetFocus() == Handle();
      ::SetFocus(Handle());
      GridCoord c = CellAt(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      if (c.col >= fixedCols_ && c.row >= fixedRows_ && c.col >= 0) {
        bool shift = (wp & MK_SHIFT) != 0;
        if (c == current_ && wasFocused && !shift && editing) {
          ShowEditor();
        } else {
          MoveTo(c, shift);
          if (rangeSelect) {
            selecting_ = true;
            SetCapture(Handle());
          }
        }
      }
      break;
    }
    case WM_LBUTTONDBLCLK: {
      GridCoord c = CellAt(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      if (c == current_) ShowEditor();
      break;
    }
    case WM_MOUSEMOVE:
      if (selecting_) {
        GridCoord c = CellAt(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
        if (c.col >= fixedCols_ && c.row >= fixedRows_ && !(c == current_)) MoveTo(c, true);
      }
      break;
    case WM_LBUTTONUP:
      if (selecting_) {
        selecting_ = false;
        if (GetCapture() == Handle()) ReleaseCapture();
      }
      break;
    case WM_CAPTURECHANGED:
      selecting_ = false;
      break;
  }
  return Control::WndProc(msg, wp, lp);
}

void StringGrid::Paint(HDC dc) {
  RECT client;
  GetClientRect(Handle(), &client);
  FillRect(dc, &client, CachedBrush(GetColor()));
  SelectionGuard font(dc, CachedFont(Font()));
  SetBkMode(dc, TRANSPARENT);
  bool focused = GetFocus() == Handle();
  GridRect sel = Selection();

  auto drawCell = [&](int col, int row) {
    RECT r = CellRect(col, row);
    if (r.right <= r.left || r.bottom <= r.top) return false;
    bool fixed = col < fixedCols_ || row < fixedRows_;
    // The line right and below each cell, as wide as one pixel.
    bool lines = fixed ? fixedGridLines : cellGridLines;
    if (lines) {
      RECT v{r.right, r.top, r.right + 1, r.bottom + 1};
      RECT h{r.left, r.bottom, r.right + 1, r.bottom + 1};
      HBRUSH lineBrush = CachedBrush(fixed ? clBtnShadow : clSilver);
      FillRect(dc, &v, lineBrush);
      FillRect(dc, &h, lineBrush);
    }
    Color back = clWindow, fore = clWindowText;
    bool isCurrent = GridCoord{col, row} == current_;
    if (fixed) {
      back = clBtnFace;
      fore = clBtnText;
    } else if (sel.Contains({col, row}) && !(isCurrent && focused)) {
      back = clHighlight;
      fore = clHighlightText;
    }
    FillRect(dc, &r, CachedBrush(back));
    if (fixed) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    if (!(editorShown_ && isCurrent)) {
      std::wstring text = Widen(Cell(col, row));
      SetTextColor(dc, ToColorRef(fore));
      ExtTextOutW(dc, r.left + 2, r.top + 2, ETO_CLIPPED, &r, text.c_str(), static_cast<UINT>(text.size()),
                  nullptr);
    }
    if (!fixed && isCurrent && focused && !editorShown_) DrawFocusRect(dc, &r);
    return true;
  };

  auto visibleCols = [&](auto&& each) {
    for (int c = 0; c < fixedCols_; ++c) each(c);
    for (int c = leftCol_; c < colCount_; ++c) {
      long long x = static_cast<long long>(fixedCols_ + c - leftCol_) * (colWidth_ + 1);
      if (x >= client.right) break;
      each(c);
    }
  };
  auto visibleRows = [&](auto&& each) {
    for (int rr = 0; rr < fixedRows_; ++rr) each(rr);
    for (int rr = topRow_; rr < rowCount_; ++rr) {
      long long y = static_cast<long long>(fixedRows_ + rr - topRow_) * (rowHeight_ + 1);
      if (y >= client.bottom) break;
      each(rr);
    }
  };
  visibleRows([&](int row) { visibleCols([&](int col) { drawCell(col, row); }); });
}

}  // namespace forms
