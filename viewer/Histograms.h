// The window of the four colour histograms: red, green, blue and intensity as area charts,
// the bin and count of a clicked point, and a switch to stairs.
#pragma once
#include <string>

#include "forms/button.h"
#include "forms/chart.h"
#include "forms/check_box.h"
#include "forms/edit.h"
#include "forms/form.h"
#include "forms/label.h"
#include "forms/radio_button.h"

namespace Histograms {

class THistograms_Form : public forms::Form {
 public:
  THistograms_Form();
  ~THistograms_Form() override;

  forms::Chart Chart2;
  forms::Chart Chart1;
  forms::Chart Chart3;
  forms::Chart Chart4;
  forms::AreaSeries& Series1;
  forms::AreaSeries& Series2;
  forms::AreaSeries& Series3;
  forms::AreaSeries& Series4;
  forms::Label Label1;
  forms::Edit Index;
  forms::Label Label2;
  forms::Edit Value;
  forms::BitBtn BitBtn1;
  forms::RadioButton RadioButton1;
  forms::RadioButton RadioButton2;
  forms::CheckBox CheckBox1;

  void FormKeyPress(char& Key);
  void IndexKeyPress(char& Key);
  void ValueKeyPress(char& Key);
  void Chart1ClickSeries(forms::Chart& Sender, forms::AreaSeries& Series, int ValueIndex,
                         forms::MouseButton Button, unsigned Shift, int X, int Y);
  void Chart2ClickSeries(forms::Chart& Sender, forms::AreaSeries& Series, int ValueIndex,
                         forms::MouseButton Button, unsigned Shift, int X, int Y);
  void Chart3ClickSeries(forms::Chart& Sender, forms::AreaSeries& Series, int ValueIndex,
                         forms::MouseButton Button, unsigned Shift, int X, int Y);
  void Chart4ClickSeries(forms::Chart& Sender, forms::AreaSeries& Series, int ValueIndex,
                         forms::MouseButton Button, unsigned Shift, int X, int Y);
  void BitBtn1Click();
  void CheckBox1Click();

  // A right-aligned label keeps its right edge when its caption changes.
  static void SetRightAlignedCaption(forms::Label& label, const std::string& caption);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void ShowPoint(forms::AreaSeries& Series, int ValueIndex);
};

// The form while it exists; null otherwise.
extern THistograms_Form* Histograms_Form;

// A real as the shortest text that reads back as the same number (42 as "42").
std::string FloatToStr(double v);

}  // namespace Histograms
