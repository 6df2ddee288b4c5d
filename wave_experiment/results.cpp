#include "wave_experiment/results.h"

#include <windows.h>

#include "toolkit/GreekConfirm.h"
#include "toolkit/dtools.h"
#include "forms/core/message_service.h"
#include "forms/platform/owned_handles.h"
#include "wave_experiment/experiment_data.h"

namespace results {

std::int32_t WaveKind = 1;
bool GridError = false;
Tresults_form* results_form = nullptr;

const ResultsDialogDesign kWaveResultsDesign{
    110,
    965,
    373,
    13,
    {{191, 20, 271, 29}, 23, forms::clNavy, "Πίνακας Μετρήσεων  -", false, true},
    {{470, 20, 112, 29}, 23, forms::clGreen, "Εγκάρσια", true, false},
    {{588, 20, 90, 29}, 23, forms::clNavy, "κύματα", true, false},
    {9, 59, 690, 208},
    6,
    6,
    127,
    24,
    {426, 325, 139, 41},
    {610, 325, 140, 41},
    17,
};

std::int32_t ScreenPixelsPerInch() {
  const forms::WindowDC screen(nullptr);
  int ppi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  return ppi > 0 ? ppi : 96;
}

namespace {

forms::FontSpec DesignFont(const forms::DesignScale& s, std::int32_t height, unsigned style,
                           forms::Color color = forms::clWindowText) {
  forms::FontSpec f;
  f.name = "MS Sans Serif";
  f.height = s.FontHeight(height);
  f.style = style;
  f.color = color;
  return f;
}

void Place(forms::Control& c, const forms::DesignScale& s, forms::DesignBounds b) {
  forms::DesignBounds on = s.Bounds(b);
  c.SetBounds(on.left, on.top, on.width, on.height);
}

void Design(forms::Label& l, const forms::DesignScale& s, const LabelDesign& d) {
  l.SetFont(DesignFont(s, d.fontHeight, forms::fsBold, d.color));
  Place(l, s, d.bounds);
  if (d.centred) l.SetAlignment(forms::Alignment::Center);
  l.SetCaption(d.caption);
  l.SetAutoSize(d.autoSize);
}

}  // namespace

Tresults_form::Tresults_form(const ResultsDialogDesign& design)
    : table_label(this),
      what_Label(this),
      wave_label(this),
      results_StringGrid(this),
      ok_BitBtn(this),
      cancel_bitbtn(this),
      scale_(ScreenPixelsPerInch(), design.pixelsPerInch) {
  SetBorderStyle(forms::BorderStyle::Dialog);
  SetPosition(forms::FormPosition::ScreenCenter);
  // A caption of a single space, as designed.
  SetCaption(" ");
  SetFont(DesignFont(scale_, design.fontHeight, 0));
  SetClientSize(scale_.Value(design.clientWidth), scale_.Value(design.clientHeight));

  Design(table_label, scale_, design.table_label);
  Design(what_Label, scale_, design.what_Label);
  Design(wave_label, scale_, design.wave_label);

  forms::StringGrid& g = results_StringGrid;
  g.SetFont(Font());
  Place(g, scale_, design.grid);
  g.SetColCount(design.gridCols);
  g.SetRowCount(design.gridRows);
  g.SetFixedCols(1);
  g.SetFixedRows(1);
  g.SetDefaultColWidth(scale_.Value(design.defaultColWidth));
  g.SetDefaultRowHeight(scale_.Value(design.defaultRowHeight));
  g.fixedGridLines = g.cellGridLines = true;
  g.rangeSelect = true;
  g.editing = true;
  g.tabs = true;
  g.SetTabOrder(0);

  ok_BitBtn.SetFont(DesignFont(scale_, design.buttonFontHeight, forms::fsBold));
  ok_BitBtn.SetGlyph(forms::MakeMarkGlyph('v', RGB(0, 128, 0)), 2);
  ok_BitBtn.SetCaption("&OK");
  Place(ok_BitBtn, scale_, design.ok);
  ok_BitBtn.SetTabOrder(1);
  ok_BitBtn.onClick = [this] { ok_BitBtnClick(); };

  // The Cancel kind: modal result Cancel and the Esc key; the caption is the design's.
  cancel_bitbtn.SetKind(forms::BitBtnKind::Cancel);
  cancel_bitbtn.SetCaption("&Ακύρωση");
  cancel_bitbtn.SetFont(DesignFont(scale_, design.buttonFontHeight, forms::fsBold));
  Place(cancel_bitbtn, scale_, design.cancel);
  cancel_bitbtn.SetTabOrder(2);

  activeControl = &results_StringGrid;
  onShow = [this] { FormActivate(); };
}

void Tresults_form::FormActivate() {
  // A table the grid cannot show (counts beyond the table's five) is the general error
  // report's; the dialog still opens, with what could be filled.
  forms::Guarded([this] { FillGrid(); });
}

void Tresults_form::FillGrid() {
  if (fillGrid) fillGrid(*this);
}

void Tresults_form::ok_BitBtnClick() {
  GridError = false;
  StoreGrid();
  if (GridError) {
    GridError = false;
    return;
  }
  SetModalResult(forms::mrOk);
}

void Tresults_form::StoreGrid() {
  forms::StringGrid& g = results_StringGrid;
  for (std::int32_t column = 1; column <= g.ColCount() - 1; ++column) {
    for (std::int32_t row = 1; row <= g.RowCount() - 1; ++row) {
      if (GridError) continue;
      std::string text = g.Cell(column, row);
      std::string& stored = Unit1::MeasurementsEdit.Cell(WaveKind, column, row);
      if (text.empty()) {
        stored.clear();
      } else if (dtools::TextToReal(text) == dtools::InvalidReal) {
        GreekConfirm::VeruGreekConfirm("Πληροφορία",
                                       "Η τιμή στην γραμμή " + dtools::IntToText(row) + ", στήλη " +
                                           dtools::IntToText(column) + " δεν μπορεί να υπολογισθεί." + "\r" +
                                           "Η τιμή μηδενίζεται.",
                                       0);
        g.SetCell(column, row, "");
        g.SetFocus();
        stored.clear();
        GridError = true;
      } else {
        stored = text;
      }
    }
  }
}

void BackupMeasurements() { Unit1::MeasurementsEdit = Unit1::Measurements; }

void AcceptMeasurements(int modalResult) {
  if (modalResult == forms::mrOk) Unit1::Measurements = Unit1::MeasurementsEdit;
}

int RunResultsDialog() {
  BackupMeasurements();
  int result = results_form->ShowModal();
  AcceptMeasurements(result);
  return result;
}

}  // namespace results
