// Unit results: the results dialog Tresults_form, where the student types the measurements of
// the chosen wave kind into a grid. It edits the working copy MeasurementsEdit; the main
// window copies it back only when the dialog closes with OK.
#pragma once
#include <cstdint>
#include <functional>

#include "forms/button.h"
#include "forms/core/design_scale.h"
#include "forms/form.h"
#include "forms/label.h"
#include "forms/string_grid.h"

namespace results {

// ---- The dialog's design: one table per program, in the design's own resolution ----

struct LabelDesign {
  forms::DesignBounds bounds;
  std::int32_t fontHeight;
  forms::Color color;
  const char* caption;
  bool autoSize;
  bool centred;
};

struct ResultsDialogDesign {
  std::int32_t pixelsPerInch;  // the resolution the values below were designed at
  std::int32_t clientWidth, clientHeight;
  std::int32_t fontHeight;  // the form's font
  LabelDesign table_label, what_Label, wave_label;
  forms::DesignBounds grid;
  std::int32_t gridCols, gridRows, defaultColWidth, defaultRowHeight;
  forms::DesignBounds ok, cancel;
  std::int32_t buttonFontHeight;
};

// Kelmora2's dialog, designed at 110 pixels per inch.
extern const ResultsDialogDesign kWaveResultsDesign;

// ---- Unit-level state ----

// The kind the dialog shows: 1 transverse, 2 longitudinal (set by FillGrid, read by StoreGrid).
extern std::int32_t WaveKind;
// StoreGrid met a cell that is not a number.
extern bool GridError;

class Tresults_form : public forms::Form {
 public:
  explicit Tresults_form(const ResultsDialogDesign& design = kWaveResultsDesign);

  // Fills the grid once each time the dialog opens (not at every activation: the dialog's
  // own "Πληροφορία" message re-activates it, and a refill would put back every edit after
  // the bad cell).
  void FormActivate();
  void ok_BitBtnClick();
  // The FillGrid of the program the dialog serves.
  void FillGrid();
  void StoreGrid();

  // Sizes and fonts of the design on this screen.
  const forms::DesignScale& Scale() const { return scale_; }

  forms::Label table_label;
  forms::Label what_Label;
  forms::Label wave_label;
  forms::StringGrid results_StringGrid;
  forms::BitBtn ok_BitBtn;
  forms::BitBtn cancel_bitbtn;

  // Set by the main window's results button: its program's FillGrid.
  std::function<void(Tresults_form&)> fillGrid;

 private:
  forms::DesignScale scale_;
};

extern Tresults_form* results_form;

// The program block's creation of results_form with a program's own design (Kelmora2's is
// what CreateResultsForm() of form_seams.h uses).
void CreateResultsForm(const ResultsDialogDesign& design);

// The screen's resolution in pixels per inch.
std::int32_t ScreenPixelsPerInch();

// The three steps of the results button without the main window: the 50 cells of
// Measurements into MeasurementsEdit, the dialog modally, and back when it closed with OK.
void BackupMeasurements();
void AcceptMeasurements(int modalResult);
int RunResultsDialog();

}  // namespace results
