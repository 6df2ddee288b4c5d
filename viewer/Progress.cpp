#include "viewer/Progress.h"

#include "viewer/view.h"

namespace Progress {

THistogramProgressForm* HistogramProgressForm = nullptr;

THistogramProgressForm::THistogramProgressForm() : Label1(this), HistogramProgress(this) {
  name = "HistogramProgressForm";
  SetBorderStyle(forms::BorderStyle::Dialog);
  // A dialog border without border icons: no system menu, so no close box either.
  SetWindowLongW(Handle(), GWL_STYLE, GetWindowLongW(Handle(), GWL_STYLE) & ~WS_SYSMENU);
  // Never the active window, whoever asks: a window manager activates every window that
  // appears, and the keys would follow it here, where Esc does nothing, while the count runs.
  SetWindowLongW(Handle(), GWL_EXSTYLE, GetWindowLongW(Handle(), GWL_EXSTYLE) | WS_EX_NOACTIVATE);
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

void THistogramProgressForm::ShowWithoutActivating() {
  const UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOSIZE;
  if (IsWindowVisible(Handle())) {
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, flags | SWP_NOMOVE);
  } else {
    SetWindowPos(Handle(), HWND_TOP, (forms::ScreenWidth() - Width()) / 2,
                 (forms::ScreenHeight() - Height()) / 2, 0, 0, flags);
  }
}

THistogramProgressForm::~THistogramProgressForm() {
  if (HistogramProgressForm == this) HistogramProgressForm = nullptr;
}

}  // namespace Progress
