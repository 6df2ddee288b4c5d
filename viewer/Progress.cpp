#include "viewer/Progress.h"

#include "viewer/view.h"

namespace Progress {

THistogramProgressForm* HistogramProgressForm = nullptr;

THistogramProgressForm::THistogramProgressForm() : Label1(this), HistogramProgress(this) {
  name = "HistogramProgressForm";
  SetBorderStyle(forms::BorderStyle::Dialog);
  // A dialog border without border icons: no system menu, so no close box either.
  SetWindowLongW(Handle(), GWL_STYLE, GetWindowLongW(Handle(), GWL_STYLE) & ~WS_SYSMENU);
  SetCaption("Viewer");
  SetClientSize(241, 89);
  SetPosition(forms::FormPosition::ScreenCenter);
  // Over the middle of the viewer, like the histograms: owned, so a click on the viewer
  // during the count does not bury it.
  if (view::ViewerForm) SetOwner(view::ViewerForm);

  Label1.name = "Label1";
  Label1.SetBounds(16, 12, 0, 0);
  Label1.SetAutoSize(true);
  Label1.SetCaption("Computing image histograms...");

  HistogramProgress.name = "HistogramProgress";
  HistogramProgress.SetBounds(16, 44, 209, 25);
  HistogramProgress.SetForeColor(forms::clNavy);
  HistogramProgressForm = this;
}

THistogramProgressForm::~THistogramProgressForm() {
  if (HistogramProgressForm == this) HistogramProgressForm = nullptr;
}

}  // namespace Progress
