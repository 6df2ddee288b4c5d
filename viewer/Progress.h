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

  forms::Label Label1;
  forms::Gauge HistogramProgress;
};

// The form while it exists; null otherwise.
extern THistogramProgressForm* HistogramProgressForm;

}  // namespace Progress
