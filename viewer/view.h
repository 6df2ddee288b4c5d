// The viewer window: one BMP picture in a fixed 800 x 600 window, panned by dragging and with
// the arrow keys, zoomed with keypad plus and minus, help on F1, histograms on F2.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/form.h"
#include "viewer/bmp_decoder.h"
#include "viewer/histogram_count.h"
#include "viewer/image_box.h"
#include "viewer/view_math.h"

namespace view {

// Unit-level state.
extern std::string ImageFileName;
extern bool NoFrame;
extern bool GreekMode;
extern std::unique_ptr<bmp::Image> DisplayBitmap;   // the picture as drawn, at the current zoom
extern std::unique_ptr<bmp::Image> OriginalBitmap;  // the loaded picture: every zoom and count reads it
extern ViewState View;                              // ViewLeft, ViewTop, ViewRight, ViewBottom, ZoomLevel
extern bool NeedsClear;
extern RECT ViewRect;
extern std::string TitleBase;
extern int LastMouseX;
extern int LastMouseY;
extern HistogramBins RedCounts;
extern HistogramBins GreenCounts;
extern HistogramBins BlueCounts;
extern HistogramBins IntensityCounts;

extern const char HelpEnglish[];
extern const char HelpGreek[];

class TViewerForm : public forms::Form {
 public:
  // `arguments` are the command line's after the program name; set-up runs here, as the
  // form's create event.
  explicit TViewerForm(std::vector<std::string> arguments);
  ~TViewerForm() override;

  viewer::ImageBox ViewerImage;

  void FormCreate();
  void FormKeyDown(unsigned& Key, unsigned Shift);
  void ViewerImageMouseMove(unsigned Shift, int X, int Y);
  void ViewerImageMouseUp(forms::MouseButton Button, unsigned Shift, int X, int Y);

 private:
  std::vector<std::string> arguments_;
};

// The form while it exists; null otherwise.
extern TViewerForm* ViewerForm;

// What the program returns: 1 when set-up found no picture it could show, else 0.
extern int ExitCode;

void RedrawView();
void ZoomIn();
void ZoomOut();
// Counts the four histograms of OriginalBitmap while the progress window shows how far it
// has come, then shows them. Does nothing while a count runs; closing the progress window
// abandons the count.
void VeruHistograms();
bool HistogramsRunning();

// The biggest zoomed picture the viewer allocates (1 GB); a step beyond it beeps, as a step
// without memory does. Tests lower it to reach that path.
extern std::size_t MaxZoomPixels;

// The program's command line after its name, as code page 1253 texts.
std::vector<std::string> ProgramArguments();

}  // namespace view
