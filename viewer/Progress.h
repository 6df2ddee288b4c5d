// The small window that shows how far the histogram count has come.
#pragma once
#include "forms/form.h"
#include "forms/gauge.h"
#include "forms/label.h"

namespace Progress {

class THistogramProgressForm : public forms::Form {
 public:
  THistogramProgressForm();
  ~THistogramProgressForm() override;

  // Shows the window centred on the screen, above the windows of the program, leaving the
  // activation and the keyboard focus where they are: the count pumps the viewer's keys, and
  // keys reach only the active window.
  void ShowWithoutActivating();

  forms::Label Label1;
  forms::Gauge HistogramProgress;
};

// The form while it exists; null otherwise.
extern THistogramProgressForm* HistogramProgressForm;

}  // namespace Progress
