#include "viewer/Histograms.h"

#include <cmath>
#include <cstdio>

#include "viewer/view.h"

namespace Histograms {

THistograms_Form* Histograms_Form = nullptr;

namespace {

void SetUpChart(forms::Chart& chart, forms::AreaSeries& series, int left, int top, const char* title,
                forms::Color titleColor, forms::Color seriesColor) {
  chart.SetBounds(left, top, 373, 200);
  forms::FontSpec f = chart.Font();
  f.height = 12;
  f.color = titleColor;
  chart.SetTitleFont(f);
  chart.AddTitleLine(title);
  chart.SetLeftAxisFormat("#,##");
  chart.SetPointsPerPage(256);
  chart.SetGradient(true, forms::clWhite, forms::clSilver);
  chart.SetLeftWallColor(0xBDFFFF);
  chart.SetBottomWallColor(forms::clWhite);
  chart.SetAnimatedZoom(true);
  series.SetSeriesColor(seriesColor);
}

}  // namespace

std::string FloatToStr(double v) {
  char buf[40];
  if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15) {
    std::snprintf(buf, sizeof buf, "%.0f", v);
  } else {
    // Fifteen significant digits, as the toolkit's float text has.
    std::snprintf(buf, sizeof buf, "%.15g", v);
  }
  return buf;
}

void THistograms_Form::SetRightAlignedCaption(forms::Label& label, const std::string& caption) {
  int right = label.Left() + label.Width();
  label.SetCaption(caption);
  label.SetLeft(right - label.Width());
}

THistograms_Form::THistograms_Form()
    : Chart2(this),
      Chart1(this),
      Chart3(this),
      Chart4(this),
      Series1(Chart1.AddSeries()),
      Series2(Chart2.AddSeries()),
      Series3(Chart3.AddSeries()),
      Series4(Chart4.AddSeries()),
      Label1(this),
      Index(this),
      Label2(this),
      Value(this),
      BitBtn1(this),
      RadioButton1(this),
      RadioButton2(this),
      CheckBox1(this) {
  name = "Histograms_Form";
  SetBorderStyle(forms::BorderStyle::Dialog);
  SetCaption("Histograms");
  SetClientSize(767, 492);
  SetPosition(forms::FormPosition::ScreenCenter);
  // It lies inside the viewer's rectangle: owned, it stays above the viewer when the viewer
  // is clicked, and goes with it when the viewer is minimised.
  if (view::ViewerForm) SetOwner(view::ViewerForm);

  Chart2.name = "Chart2";
  SetUpChart(Chart2, Series2, 6, 7, "Green Histogram", forms::clGreen, 0x408000);
  Chart1.name = "Chart1";
  SetUpChart(Chart1, Series1, 387, 7, "Red Histogram", forms::clRed, forms::clRed);
  Series1.title = "RedSeries";
  Chart3.name = "Chart3";
  SetUpChart(Chart3, Series3, 6, 214, "Blue Histogram", forms::clBlue, forms::clBlue);
  Chart4.name = "Chart4";
  SetUpChart(Chart4, Series4, 387, 214, "Intensity Histogram", forms::clBlack, forms::clBlack);

  forms::FontSpec labelFont = Font();
  labelFont.height = 13;
  Label1.name = "Label1";
  Label1.SetFont(labelFont);
  Label1.SetAlignment(forms::Alignment::Right);
  Label1.SetBounds(256, 424, 0, 0);
  Label1.SetAutoSize(true);
  Label1.SetCaption("Index");
  Index.name = "Index";
  Index.SetBounds(297, 422, 81, 21);
  Index.SetReadOnly(true);
  Index.SetColor(forms::clWhite);
  Label2.name = "Label2";
  Label2.SetFont(labelFont);
  Label2.SetAlignment(forms::Alignment::Right);
  Label2.SetBounds(396, 423, 0, 0);
  Label2.SetAutoSize(true);
  Label2.SetCaption("Value");
  Value.name = "Value";
  Value.SetBounds(439, 421, 89, 21);
  Value.SetReadOnly(true);
  Value.SetColor(forms::clWhite);

  BitBtn1.name = "BitBtn1";
  BitBtn1.SetBounds(344, 460, 79, 25);
  BitBtn1.SetKind(forms::BitBtnKind::OK);
  activeControl = &BitBtn1;

  RadioButton1.name = "RadioButton1";
  RadioButton1.SetBounds(20, 424, 113, 17);
  RadioButton1.SetText("Area Graph");
  RadioButton1.SetChecked(true);
  RadioButton1.SetEnabled(false);
  RadioButton2.name = "RadioButton2";
  RadioButton2.SetBounds(20, 443, 113, 17);
  RadioButton2.SetText("Line graph");
  RadioButton2.SetEnabled(false);
  CheckBox1.name = "CheckBox1";
  CheckBox1.SetBounds(683, 426, 97, 17);
  CheckBox1.SetText("Stairs");

  onKeyPress = [this](char& k) { FormKeyPress(k); };
  Index.onKeyPress = [this](char& k) { IndexKeyPress(k); };
  Value.onKeyPress = [this](char& k) { ValueKeyPress(k); };
  Chart1.onClickSeries = [this](forms::Chart& c, forms::AreaSeries& s, int i, forms::MouseButton b,
                                unsigned sh, int x, int y) { Chart1ClickSeries(c, s, i, b, sh, x, y); };
  Chart2.onClickSeries = [this](forms::Chart& c, forms::AreaSeries& s, int i, forms::MouseButton b,
                                unsigned sh, int x, int y) { Chart2ClickSeries(c, s, i, b, sh, x, y); };
  Chart3.onClickSeries = [this](forms::Chart& c, forms::AreaSeries& s, int i, forms::MouseButton b,
                                unsigned sh, int x, int y) { Chart3ClickSeries(c, s, i, b, sh, x, y); };
  Chart4.onClickSeries = [this](forms::Chart& c, forms::AreaSeries& s, int i, forms::MouseButton b,
                                unsigned sh, int x, int y) { Chart4ClickSeries(c, s, i, b, sh, x, y); };
  BitBtn1.onClick = [this] { BitBtn1Click(); };
  CheckBox1.onClick = [this] { CheckBox1Click(); };
  Histograms_Form = this;
}

THistograms_Form::~THistograms_Form() {
  if (Histograms_Form == this) Histograms_Form = nullptr;
}

LRESULT THistograms_Form::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETDLGCODE) {
    // With the window itself focused, Esc is a key press of the window, not the dialog
    // manager's cancel.
    auto* m = reinterpret_cast<MSG*>(lp);
    if (m && m->message == WM_KEYDOWN && m->wParam == VK_ESCAPE) return DLGC_WANTMESSAGE;
  }
  return Form::WndProc(msg, wp, lp);
}

void THistograms_Form::FormKeyPress(char& Key) {
  if (Key == 27) Hide();
}

void THistograms_Form::IndexKeyPress(char& Key) {
  if (Key == 27) Hide();
}

void THistograms_Form::ValueKeyPress(char& Key) {
  if (Key == 27) Hide();
}

void THistograms_Form::ShowPoint(forms::AreaSeries& Series, int ValueIndex) {
  if (ValueIndex < 0 || ValueIndex > 255) return;
  Index.SetText(std::to_string(ValueIndex));
  Value.SetText(FloatToStr(Series.YValue(ValueIndex)));
}

void THistograms_Form::Chart1ClickSeries(forms::Chart&, forms::AreaSeries& Series, int ValueIndex,
                                         forms::MouseButton, unsigned, int, int) {
  ShowPoint(Series, ValueIndex);
}
void THistograms_Form::Chart2ClickSeries(forms::Chart&, forms::AreaSeries& Series, int ValueIndex,
                                         forms::MouseButton, unsigned, int, int) {
  ShowPoint(Series, ValueIndex);
}
void THistograms_Form::Chart3ClickSeries(forms::Chart&, forms::AreaSeries& Series, int ValueIndex,
                                         forms::MouseButton, unsigned, int, int) {
  ShowPoint(Series, ValueIndex);
}
void THistograms_Form::Chart4ClickSeries(forms::Chart&, forms::AreaSeries& Series, int ValueIndex,
                                         forms::MouseButton, unsigned, int, int) {
  ShowPoint(Series, ValueIndex);
}

void THistograms_Form::BitBtn1Click() { Hide(); }

void THistograms_Form::CheckBox1Click() {
  bool on = CheckBox1.Checked();
  for (forms::AreaSeries* s : {&Series1, &Series2, &Series3, &Series4}) s->SetStairs(on);
}

}  // namespace Histograms
