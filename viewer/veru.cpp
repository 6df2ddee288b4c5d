// The viewer program: veru picture.bmp [off] [gr].
#include <windows.h>

#include "forms/application.h"
#include "viewer/Histograms.h"
#include "viewer/Progress.h"
#include "viewer/view.h"

int main() {
  auto& app = forms::Application::Get();
  app.Initialize();
  app.SetTitle("Vistrel");
  view::TViewerForm ViewerForm(view::ProgramArguments());
  Histograms::THistograms_Form Histograms_Form;
  Progress::THistogramProgressForm HistogramProgressForm;
  app.Run(ViewerForm);
  return view::ExitCode;
}
