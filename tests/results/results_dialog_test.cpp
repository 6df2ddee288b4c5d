#include "wave_experiment/results.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "forms/core/message_service.h"
#include "forms/core/text.h"
#include "gui_driver.h"
#include "gui_thread.h"
#include "message_recorder.h"
#include "wave_experiment/experiment_data.h"
#include "wave_experiment/wave_results.h"

using forms::GridCoord;
using namespace testing_support;

namespace {

// The dialog's caption is one space.
const wchar_t kDialog[] = L" ";

class ResultsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::Application::Get().ResetTerminated();
    Unit1::GridRows = 6;
    Unit1::GridCols = 6;
    Unit1::Measurements.Clear();
    Unit1::MeasurementsEdit.Clear();
    Unit1::Measurements.Cell(1, 1, 1) = "3.5";
    Unit1::Measurements.Cell(1, 3, 2) = "11.83";
    Unit1::Measurements.Cell(2, 1, 1) = "200";
    results::results_form = &dialog;
    dialog.fillGrid = [this](results::Tresults_form& d) { WaveProgram::FillGridOfKind(d, transverse); };
  }
  void TearDown() override { results::results_form = nullptr; }

  // Types `text` into a cell of the open dialog.
  void TypeInto(int col, int row, const std::string& text) {
    gui.Call([&] {
      dialog.results_StringGrid.SetFocus();
      dialog.results_StringGrid.SetCurrent(col, row);
    });
    gui.Type(text);
  }

  GuiThread gui;
  results::Tresults_form dialog;
  bool transverse = true;
};

TEST_F(ResultsDialog, OpensScaledWithTheChosenKindsTable) {
  struct Case {
    bool transverse;
    const char* word;
    const char* heading1;
    const char* cell11;
  };
  const Case cases[] = {
      {true, "Εγκάρσια", "Δύναμη F (N)", "3.5"},
      {false, "Διαμήκη", "Ελ/τητα Ε (Kgr/msec^2)", "200"},
  };
  const forms::DesignScale& s = dialog.Scale();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    transverse = c.transverse;
    struct Seen {
      int clientW = 0, clientH = 0, gridW = 0, gridH = 0;
      int whatRight = 0, waveLeft = 0, colWidth = 0;
      std::string word, heading1, heading5, label5, cell11, cell32;
      int kind = 0;
    } seen;
    Driver d([&] {
      HWND w = WaitForTopWindow(kDialog);
      if (!w) return;
      gui.Call([&] {
        forms::StringGrid& g = dialog.results_StringGrid;
        seen.clientW = dialog.ClientWidth();
        seen.clientH = dialog.ClientHeight();
        seen.gridW = g.Width();
        seen.gridH = g.Height();
        seen.colWidth = g.DefaultColWidth();
        seen.whatRight = dialog.what_Label.Left() + dialog.what_Label.Width();
        seen.waveLeft = dialog.wave_label.Left();
        seen.word = dialog.what_Label.Caption();
        seen.heading1 = g.Cell(1, 0);
        seen.heading5 = g.Cell(5, 0);
        seen.label5 = g.Cell(0, 5);
        seen.cell11 = g.Cell(1, 1);
        seen.cell32 = g.Cell(3, 2);
        seen.kind = results::WaveKind;
      });
      PostMessageW(w, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(results::RunResultsDialog(), forms::mrCancel);
    d.Join();
    EXPECT_EQ(seen.clientW, s.Value(965));
    EXPECT_EQ(seen.clientH, s.Value(373));
    EXPECT_EQ(seen.colWidth, s.Value(127));
    EXPECT_EQ(seen.gridW, 6 * s.Value(127) + 11);
    EXPECT_EQ(seen.gridH, 6 * s.Value(24) + 11);
    EXPECT_EQ(seen.waveLeft, seen.whatRight + 8);
    EXPECT_EQ(seen.word, c.word);
    EXPECT_EQ(seen.heading1, c.heading1);
    EXPECT_EQ(seen.heading5, "Ταχύτητα υ (m/sec)");
    EXPECT_EQ(seen.label5, "5η Μέτρηση");
    EXPECT_EQ(seen.cell11, c.cell11);
    EXPECT_EQ(seen.cell32, c.transverse ? "11.83" : "");
    EXPECT_EQ(seen.kind, c.transverse ? 1 : 2);
  }
}

TEST_F(ResultsDialog, OkKeepsTheEditsOfTheShownKindOnly) {
  transverse = false;
  Driver d([&] {
    HWND w = WaitForTopWindow(kDialog);
    if (!w) return;
    TypeInto(1, 1, "250");
    TypeInto(2, 3, "3/4");
    TypeInto(5, 5, "  12.5");
    ClickChild(FindChildByText(w, L"&OK"));
  });
  EXPECT_EQ(results::RunResultsDialog(), forms::mrOk);
  d.Join();
  EXPECT_EQ(Unit1::Measurements.Cell(2, 1, 1), "250");
  EXPECT_EQ(Unit1::Measurements.Cell(2, 2, 3), "3/4");
  EXPECT_EQ(Unit1::Measurements.Cell(2, 5, 5), "  12.5") << "numbers are kept as typed";
  EXPECT_EQ(Unit1::Measurements.Cell(1, 1, 1), "3.5");
  EXPECT_EQ(Unit1::Measurements.Cell(1, 3, 2), "11.83");
}

TEST_F(ResultsDialog, CancelEscapeAndTheCloseBoxDiscard) {
  struct Case {
    const char* how;
  };
  const Case cases[] = {{"cancel"}, {"escape"}, {"close box"}};
  Unit1::MeasurementTable before = Unit1::Measurements;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    std::string how = c.how;
    Driver d([&] {
      HWND w = WaitForTopWindow(kDialog);
      if (!w) return;
      TypeInto(1, 1, "999");
      TypeInto(4, 2, "0.5");
      if (how == "cancel") ClickChild(FindChildByText(w, L"&Ακύρωση"));
      if (how == "escape") PressKey(gui.Focus(), VK_ESCAPE);
      if (how == "close box") PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(results::RunResultsDialog(), forms::mrCancel);
    d.Join();
    EXPECT_EQ(Unit1::Measurements, before);
  }
  // The next opening starts again from the stored table, not from the discarded edits.
  std::string shown;
  Driver d([&] {
    HWND w = WaitForTopWindow(kDialog);
    if (!w) return;
    gui.Call([&] { shown = dialog.results_StringGrid.Cell(1, 1); });
    PostMessageW(w, WM_CLOSE, 0, 0);
  });
  results::RunResultsDialog();
  d.Join();
  EXPECT_EQ(shown, "3.5");
}

TEST_F(ResultsDialog, TwoBadCellsInARowKeepTheGoodOnes) {
  std::vector<std::wstring> messages;
  std::vector<std::string> gridAfterFirst;
  Driver d([&] {
    HWND w = WaitForTopWindow(kDialog);
    if (!w) return;
    // Stored column by column: (1,1) bad, then (2,1) bad, then the good (3,2) and (5,4).
    TypeInto(1, 1, "abc");
    TypeInto(2, 1, "1,5");
    TypeInto(3, 2, "12");
    TypeInto(5, 4, "2.958");
    auto answer = [&] {
      HWND box = WaitForTopWindow(L"Πληροφορία");
      if (!box) return;
      HWND ok = FindChildByText(box, L"OK");
      for (const std::wstring& text : NonButtonTexts(box)) messages.push_back(text);
      ClickChild(ok);
      while (IsWindow(box) && IsWindowVisible(box)) Sleep(5);
    };
    ClickChild(FindChildByText(w, L"&OK"));
    answer();
    gui.Sync();
    gui.Call([&] {
      for (GridCoord c : {GridCoord{1, 1}, GridCoord{2, 1}, GridCoord{3, 2}, GridCoord{5, 4}}) {
        gridAfterFirst.push_back(dialog.results_StringGrid.Cell(c.col, c.row));
      }
    });
    ClickChild(FindChildByText(w, L"&OK"));
    answer();
    gui.Sync();
    ClickChild(FindChildByText(w, L"&OK"));
  });
  EXPECT_EQ(results::RunResultsDialog(), forms::mrOk);
  d.Join();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], L"Η τιμή στην γραμμή 1, στήλη 1 δεν μπορεί να υπολογισθεί.\rΗ τιμή μηδενίζεται.");
  EXPECT_EQ(messages[1], L"Η τιμή στην γραμμή 1, στήλη 2 δεν μπορεί να υπολογισθεί.\rΗ τιμή μηδενίζεται.");
  // After the first message only the first bad cell is emptied; nothing typed is put back.
  EXPECT_EQ(gridAfterFirst, (std::vector<std::string>{"", "1,5", "12", "2.958"}));
  EXPECT_EQ(Unit1::Measurements.Cell(1, 1, 1), "");
  EXPECT_EQ(Unit1::Measurements.Cell(1, 2, 1), "");
  EXPECT_EQ(Unit1::Measurements.Cell(1, 3, 2), "12");
  EXPECT_EQ(Unit1::Measurements.Cell(1, 5, 4), "2.958");
}

TEST_F(ResultsDialog, StoreGridStopsAtTheFirstBadCell) {
  // Without the window: the order of storing and what is stored before the bad cell.
  testing_support::MessageRecorder rec;
  dialog.FillGrid();
  forms::StringGrid& g = dialog.results_StringGrid;
  g.SetCell(1, 5, "7");  // column 1, before the bad cell
  g.SetCell(2, 2, "x");  // the bad cell
  g.SetCell(2, 3, "8");  // after it: not stored
  g.SetCell(3, 1, "");   // after it: not cleared either
  Unit1::MeasurementsEdit.Cell(1, 3, 1) = "old";
  results::WaveKind = 1;
  results::GridError = false;
  dialog.StoreGrid();
  EXPECT_TRUE(results::GridError);
  ASSERT_EQ(rec.Count(), 1u);
  EXPECT_EQ(rec.messages[0].caption, "Πληροφορία");
  EXPECT_EQ(rec.messages[0].buttons, 0u);
  EXPECT_EQ(Unit1::MeasurementsEdit.Cell(1, 1, 5), "7");
  EXPECT_EQ(Unit1::MeasurementsEdit.Cell(1, 2, 2), "");
  EXPECT_EQ(Unit1::MeasurementsEdit.Cell(1, 2, 3), "");
  EXPECT_EQ(Unit1::MeasurementsEdit.Cell(1, 3, 1), "old");
  EXPECT_EQ(g.Cell(2, 2), "");
  EXPECT_EQ(g.Cell(2, 3), "8");
}

TEST_F(ResultsDialog, CountsBeyondTheTableAreTheGeneralErrorReport) {
  // A data file may give more than five rows or columns without a cell: the table has no
  // cell for column 6 of the grid.
  testing_support::MessageRecorder rec;
  Unit1::GridCols = 7;
  std::string column5;
  Driver d([&] {
    HWND w = WaitForTopWindow(kDialog);
    if (!w) return;
    gui.Call([&] { column5 = dialog.results_StringGrid.Cell(5, 0); });
    PostMessageW(w, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(results::RunResultsDialog(), forms::mrCancel);
  d.Join();
  ASSERT_GE(rec.Count(), 1u);
  EXPECT_EQ(rec.messages[0].kind, forms::MessageKind::ErrorReport);
  EXPECT_EQ(column5, "Ταχύτητα υ (m/sec)");
  // The dialog ended as a modal dialog ends: the program's other windows take input again.
  EXPECT_FALSE(dialog.Modal());
}

TEST_F(ResultsDialog, SmallAndEmptyCounts) {
  struct Case {
    int rows, cols;
    int gridCols, gridRows;
  };
  const Case cases[] = {
      {0, 0, 1, 1},  // a file with no table: a one-cell grid, nothing stored
      {3, 4, 4, 3},
      {6, 6, 6, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.rows) + " x " + std::to_string(c.cols));
    Unit1::GridRows = c.rows;
    Unit1::GridCols = c.cols;
    dialog.FillGrid();
    EXPECT_EQ(dialog.results_StringGrid.ColCount(), c.gridCols);
    EXPECT_EQ(dialog.results_StringGrid.RowCount(), c.gridRows);
    EXPECT_EQ(dialog.results_StringGrid.Width(),
              c.gridCols * dialog.results_StringGrid.DefaultColWidth() + 11);
    results::GridError = false;
    dialog.StoreGrid();
    EXPECT_FALSE(results::GridError);
  }
}

}  // namespace
