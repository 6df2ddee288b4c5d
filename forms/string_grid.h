// A grid of text cells with a fixed header row and column, edited in place: arrows and Tab
// move between cells, typing or Enter opens the editor, and every keystroke reaches the cell
// at once, so whoever reads the cells (an OK button) sees what was typed.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "forms/control.h"

namespace forms {

struct GridCoord {
  int col = 0;
  int row = 0;
  bool operator==(const GridCoord&) const = default;
};

// A rectangle of cells, both corners included.
struct GridRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Contains(GridCoord c) const {
    return c.col >= left && c.col <= right && c.row >= top && c.row <= bottom;
  }
  bool operator==(const GridRect&) const = default;
};

class StringGrid : public Control {
 public:
  explicit StringGrid(Control* parent);
  ~StringGrid() override;

  // Counts below 1 become 1; the fixed header shrinks so that one column and row stay free
  // whenever there are two or more.
  void SetColCount(int count);
  int ColCount() const { return colCount_; }
  void SetRowCount(int count);
  int RowCount() const { return rowCount_; }
  void SetFixedCols(int count);
  int FixedCols() const { return fixedCols_; }
  void SetFixedRows(int count);
  int FixedRows() const { return fixedRows_; }
  void SetDefaultColWidth(int width);
  int DefaultColWidth() const { return colWidth_; }
  void SetDefaultRowHeight(int height);
  int DefaultRowHeight() const { return rowHeight_; }

  // Cells outside the counts are kept (a grid shrunk and grown again shows them again).
  std::string Cell(int col, int row) const;
  void SetCell(int col, int row, std::string_view text);
  void ClearCells();

  // The current cell (where the editor opens) and the selected range around it.
  GridCoord Current() const { return current_; }
  void SetCurrent(int col, int row);
  GridRect Selection() const;

  bool EditorMode() const;
  void ShowEditor();
  // Keeps what was typed (it is in the cell already) and closes the editor.
  void HideEditor();
  HWND EditorHandle() const;

  // Cell rectangle in client coordinates (empty when the cell is scrolled out of view).
  RECT CellRect(int col, int row) const;
  // The cell under a client point; {-1, -1} outside the cells.
  GridCoord CellAt(int x, int y) const;

  bool fixedGridLines = true;
  bool cellGridLines = true;
  bool rangeSelect = true;
  bool editing = true;
  bool tabs = true;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  class Editor;
  friend class Editor;

  void Paint(HDC dc);
  int FirstFreeCol() const { return fixedCols_ < colCount_ ? fixedCols_ : colCount_ - 1; }
  int FirstFreeRow() const { return fixedRows_ < rowCount_ ? fixedRows_ : rowCount_ - 1; }
  void ClampCurrent();
  // Moves the current cell; extend keeps the anchor for a range.
  void MoveTo(GridCoord to, bool extend);
  void ScrollIntoView(GridCoord c);
  // Keys of the grid and of its editor: true when the grid used it.
  bool GridKey(UINT vk, bool fromEditor);
  void TabMove(bool backward);
  void PlaceEditor();
  void EditorChanged();

  int colCount_ = 5;
  int rowCount_ = 5;
  int fixedCols_ = 1;
  int fixedRows_ = 1;
  int colWidth_ = 64;
  int rowHeight_ = 24;
  int leftCol_ = 1;  // first scrolling column in view
  int topRow_ = 1;
  GridCoord current_{1, 1};
  GridCoord anchor_{1, 1};
  bool selecting_ = false;
  std::map<std::pair<int, int>, std::string> cells_;
  std::unique_ptr<Editor> editor_;
  bool editorShown_ = false;
  bool filling_ = false;  // the editor's text is being set by the grid, not typed
};

}  // namespace forms
