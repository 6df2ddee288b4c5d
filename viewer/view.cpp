#include "viewer/view.h"

#include <shellapi.h>

#include <algorithm>
#include <new>
#include <optional>
#include <span>

#include "forms/application.h"
#include "forms/core/checked_arithmetic.h"
#include "forms/core/message_service.h"
#include "forms/core/text.h"
#include "forms/platform/owned_handles.h"
#include "forms/platform/whole_file.h"
#include "viewer/Histograms.h"
#include "viewer/Progress.h"
#include "viewer/image_ops.h"

namespace view {

std::string ImageFileName;
bool NoFrame = false;
bool GreekMode = false;
std::unique_ptr<bmp::Image> DisplayBitmap;
std::unique_ptr<bmp::Image> OriginalBitmap;
ViewState View;
bool NeedsClear = true;
RECT ViewRect{0, 0, kWindowWidth, kWindowHeight};
std::string TitleBase;
int LastMouseX = 0;
int LastMouseY = 0;
HistogramBins RedCounts{};
HistogramBins GreenCounts{};
HistogramBins BlueCounts{};
HistogramBins IntensityCounts{};

TViewerForm* ViewerForm = nullptr;
int ExitCode = 0;
std::size_t MaxZoomPixels = std::size_t{256} << 20;

const char HelpEnglish[] =
    "Vistrel v1\r\r\rkeys:\r    +/- to zoom in/out\r    F1 to get help\r    F2 to view image histograms\r\r"
    "Click and Drag image to view other portions of it.";
const char HelpGreek[] =
    "Vistrel ε1\r\r\rπλήκτρα λειτουργίας:\r    +/- για zoom in/out\r    F1 για βοήθεια\r"
    "    F2 για εμφάνιση ιστογραμμάτων\r\rΠατήστε και κινήστε το mouse για να κινηθείτε στην εικόνα.";

namespace {

bool counting = false;

// How long the count runs between two pumps, and how many pixels it counts between two looks
// at the clock.
constexpr double kPumpIntervalSeconds = 0.020;
constexpr std::size_t kPixelsBetweenClockReads = 4096;

class PumpClock {
 public:
  PumpClock() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    interval_ = static_cast<LONGLONG>(static_cast<double>(f.QuadPart) * kPumpIntervalSeconds);
    Restart();
  }
  void Restart() { QueryPerformanceCounter(&last_); }
  bool Due() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart - last_.QuadPart >= interval_;
  }

 private:
  LONGLONG interval_ = 0;
  LARGE_INTEGER last_{};
};

// The largest file the viewer reads: the biggest picture under the decoder's cap, stored at
// 32 bits, with room for headers.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{bmp::kMaxPixels} * 4 + (1u << 20);

void EndProgram() { forms::Application::Get().Terminate(); }

// After its message, so that a script that starts the viewer can tell.
void EndProgramForNoPicture() {
  ExitCode = 1;
  EndProgram();
}

void FreeBitmaps() {
  DisplayBitmap.reset();
  OriginalBitmap.reset();
}

void ResetUnitState() {
  ImageFileName.clear();
  NoFrame = false;
  GreekMode = false;
  FreeBitmaps();
  View = ViewState{};
  NeedsClear = true;
  ViewRect = RECT{0, 0, kWindowWidth, kWindowHeight};
  TitleBase.clear();
  LastMouseX = LastMouseY = 0;
  ExitCode = 0;
}

// A directory search that matches any attribute: a hidden, system or read-only picture is found too.
bool FileFound(const std::string& path) {
  WIN32_FIND_DATAW data;
  const forms::UniqueFind search(FindFirstFileW(forms::Widen(path).c_str(), &data));
  return static_cast<bool>(search);
}

// Another program may hold the picture open for writing while it is shown.
std::optional<std::string> ReadPictureFile(const std::string& path) {
  const std::wstring name = forms::Widen(path);
  try {
    return forms::ReadWholeFile(name,
                                {.share = FILE_SHARE_READ | FILE_SHARE_WRITE, .maxBytes = kMaxFileBytes});
  } catch (const std::bad_alloc&) {
    // A picture too big for the memory left is one that cannot be loaded.
    return std::nullopt;
  }
}

std::span<const std::uint8_t> BytesOf(const std::string& file) {
  return {reinterpret_cast<const std::uint8_t*>(file.data()), file.size()};
}

// The new picture of a zoom step, or nothing when there is no memory for it.
std::optional<bmp::Image> Resized(int width, int height) {
  if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > MaxZoomPixels)
    return std::nullopt;
  try {
    return bmp::MakeImage(width, height);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

void ApplyZoom(const ZoomPlan& plan) {
  if (plan.resize) {
    // The new picture first: without memory for it the old picture, level, view and caption
    // all stay as they were.
    std::optional<bmp::Image> next = Resized(plan.newWidth, plan.newHeight);
    if (!next) {
      MessageBeep(MB_OK);
      return;
    }
    bmp::StretchDraw(*next, *OriginalBitmap);
    View = plan.view;
    *DisplayBitmap = std::move(*next);
    NeedsClear = true;
    RedrawView();
  } else {
    View = plan.view;
  }
  if (ViewerForm) ViewerForm->SetCaption(ZoomCaption(TitleBase, View.ZoomLevel));
}

}  // namespace

std::vector<std::string> ProgramArguments() {
  std::vector<std::string> args;
  int n = 0;
  const forms::UniqueLocal<LPWSTR*> argv(CommandLineToArgvW(GetCommandLineW(), &n));
  if (!argv) return args;
  for (int i = 1; i < n; ++i) args.push_back(forms::Narrow(argv.get()[i]));
  return args;
}

TViewerForm::TViewerForm(std::vector<std::string> arguments)
    : ViewerImage(this, kWindowWidth, kWindowHeight), arguments_(std::move(arguments)) {
  name = "ViewerForm";
  ViewerForm = this;
  // The arrows, Esc and the keypad keys belong to the picture, not to a dialog manager.
  dialogKeys = false;
  keyPreview = true;
  SetColor(forms::clBlack);
  SetBorderStyle(forms::BorderStyle::Dialog);
  SetClientSize(kWindowWidth, kWindowHeight);
  SetPosition(forms::FormPosition::ScreenCenter);
  ViewerImage.name = "ViewerImage";
  onKeyDown = [this](unsigned& key, unsigned shift) { FormKeyDown(key, shift); };
  ViewerImage.onMouseMove = [this](unsigned shift, int x, int y) { ViewerImageMouseMove(shift, x, y); };
  ViewerImage.onMouseUp = [this](forms::MouseButton b, unsigned shift, int x, int y) {
    ViewerImageMouseUp(b, shift, x, y);
  };
  forms::Guarded([this] { FormCreate(); });
}

TViewerForm::~TViewerForm() {
  if (ViewerForm == this) ViewerForm = nullptr;
}

void TViewerForm::FormCreate() {
  ResetUnitState();
  if (arguments_.empty()) {
    EndProgram();
    return;
  }
  ImageFileName = arguments_[0];
  if (arguments_.size() >= 2) NoFrame = arguments_[1] == "off";
  if (arguments_.size() >= 3) GreekMode = arguments_[2] == "gr";
  SetBorderStyle(NoFrame ? forms::BorderStyle::None : forms::BorderStyle::Dialog);
  SetClientSize(kWindowWidth, kWindowHeight);
  if (!FileFound(ImageFileName)) {
    forms::MessageDlg("Could not find image file!", forms::MsgDlgType::Error, forms::mbOK);
    EndProgramForNoPicture();
    return;
  }
  ViewRect = RECT{0, 0, kWindowWidth, kWindowHeight};
  // A file that is there but holds no picture we can read ends the program like a missing one.
  std::optional<std::string> bytes = ReadPictureFile(ImageFileName);
  bmp::Decoded decoded;
  if (bytes) decoded = bmp::Decode(BytesOf(*bytes));
  if (!bytes || !decoded.ok()) {
    forms::MessageDlg("Could not load image file!", forms::MsgDlgType::Error, forms::mbOK);
    EndProgramForNoPicture();
    return;
  }
  bytes.reset();
  try {
    DisplayBitmap = std::make_unique<bmp::Image>(std::move(decoded.image));
    OriginalBitmap = std::make_unique<bmp::Image>(*DisplayBitmap);
  } catch (const std::bad_alloc&) {
    FreeBitmaps();
    forms::MessageDlg("Could not load image file!", forms::MsgDlgType::Error, forms::mbOK);
    EndProgramForNoPicture();
    return;
  }
  ViewerImage.brushColor = forms::clBlack;
  RedrawView();
  TitleBase =
      MakeTitleBase(ImageFileName, DisplayBitmap->width, DisplayBitmap->height, DisplayBitmap->format);
  SetCaption(TitleBase + " - [1:1]");
  ViewerImage.SetCursor(LoadCursorW(nullptr, IDC_HAND));
}

void RedrawView() {
  if (!ViewerForm || !DisplayBitmap) return;
  bmp::Image& canvas = ViewerForm->ViewerImage.Canvas();
  if (NeedsClear) {
    bmp::FillRect(canvas, ViewRect.left, ViewRect.top, ViewRect.right, ViewRect.bottom,
                  bmp::ToColor(ViewerForm->ViewerImage.brushColor));
    NeedsClear = false;
  }
  bmp::Draw(canvas, *DisplayBitmap, forms::CheckedSub(0, View.ViewLeft), forms::CheckedSub(0, View.ViewTop));
  ViewerForm->ViewerImage.Repaint();
}

void ZoomIn() {
  if (!DisplayBitmap || !OriginalBitmap) return;
  ApplyZoom(PlanZoomIn(View, DisplayBitmap->width, DisplayBitmap->height));
}

void ZoomOut() {
  if (!DisplayBitmap || !OriginalBitmap) return;
  ApplyZoom(PlanZoomOut(View, DisplayBitmap->width, DisplayBitmap->height));
}

void TViewerForm::FormKeyDown(unsigned& Key, unsigned) {
  switch (Key) {
    case VK_ESCAPE:
      FreeBitmaps();
      EndProgram();
      break;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (!DisplayBitmap) break;
      ArrowKeyView(View, Key, DisplayBitmap->width, DisplayBitmap->height);
      RedrawView();
      break;
    case VK_ADD:
      ZoomIn();
      break;
    case VK_SUBTRACT:
      ZoomOut();
      break;
    case VK_F1:
      forms::MessageDlg(GreekMode ? HelpGreek : HelpEnglish, forms::MsgDlgType::Information, forms::mbOK);
      break;
    case VK_F2:
      VeruHistograms();
      break;
  }
}

void TViewerForm::ViewerImageMouseMove(unsigned Shift, int X, int Y) {
  if ((Shift & forms::ssLeft) && (X != LastMouseX || Y != LastMouseY) && DisplayBitmap) {
    DragView(View, DisplayBitmap->width, DisplayBitmap->height, X, Y, LastMouseX, LastMouseY);
    RedrawView();
  }
  LastMouseX = X;
  LastMouseY = Y;
}

void TViewerForm::ViewerImageMouseUp(forms::MouseButton Button, unsigned, int, int) {
  if (Button != forms::MouseButton::Right) return;
  FreeBitmaps();
  EndProgram();
}

bool HistogramsRunning() { return counting; }

void VeruHistograms() {
  using Histograms::Histograms_Form;
  using Progress::HistogramProgressForm;
  // A second F2 handled inside the count's pump would start over on the same arrays.
  if (counting || !OriginalBitmap || !Histograms_Form || !HistogramProgressForm) return;
  counting = true;
  // Closing the progress window (its close box, Alt+F4) abandons the count.
  bool cancelled = false;
  struct Done {
    ~Done() {
      counting = false;
      if (Progress::HistogramProgressForm) Progress::HistogramProgressForm->onClose = nullptr;
    }
  } done;
  HistogramProgressForm->onClose = [&cancelled](forms::CloseAction&) { cancelled = true; };
  auto& app = forms::Application::Get();

  HistogramProgressForm->ShowWithoutActivating();
  if (GreekMode) {
    HistogramProgressForm->SetCaption("Υπολογισμός");
    HistogramProgressForm->Label1.SetCaption("Υπολογισμός ιστογραμμάτων εικόνας...");
  }
  HistogramProgressForm->HistogramProgress.SetProgress(0);
  for (forms::AreaSeries* s : {&Histograms_Form->Series1, &Histograms_Form->Series2,
                               &Histograms_Form->Series3, &Histograms_Form->Series4}) {
    s->Clear();
  }
  RedCounts.fill(0);
  GreenCounts.fill(0);
  BlueCounts.fill(0);
  IntensityCounts.fill(0);

  // Memory order, with a pump whenever the pump interval has passed, however the picture is
  // shaped: the windows answer as quickly on a slow machine, and a fast one is not held up by
  // thousands of pumps. The clock is read only every few thousand pixels, where it costs
  // nothing.
  const bmp::Image* picture = OriginalBitmap.get();
  const std::size_t total = picture->pixels.size();
  PumpClock clock;
  for (std::size_t counted = 0; counted < total;) {
    std::size_t span = std::min(kPixelsBetweenClockReads, total - counted);
    CountPixels(*picture, counted, span, RedCounts, GreenCounts, BlueCounts, IntensityCounts);
    counted += span;
    if (counted < total && !clock.Due()) continue;
    HistogramProgressForm->HistogramProgress.SetProgress(SharePercent(counted, total, picture->width));
    app.ProcessMessages();
    clock.Restart();
    // Esc, the right button or closing the window may have come through the pump: the
    // picture may be gone and the program ending.
    if (app.Terminated() || OriginalBitmap.get() != picture || !Histograms_Form || !HistogramProgressForm) {
      if (HistogramProgressForm) HistogramProgressForm->Hide();
      return;
    }
    if (cancelled) {
      // The charts were cleared for this count: nothing is left to show until the next F2.
      HistogramProgressForm->Hide();
      Histograms_Form->Hide();
      return;
    }
  }

  for (std::size_t bin = 0; bin < 256; ++bin) {
    Histograms_Form->Series1.AddY(RedCounts[bin], "", 0x0000FF);
    Histograms_Form->Series2.AddY(GreenCounts[bin], "", 0x008000);
    Histograms_Form->Series3.AddY(BlueCounts[bin], "", 0xFF0000);
    Histograms_Form->Series4.AddY(IntensityCounts[bin], "", 0x000000);
  }
  HistogramProgressForm->Hide();
  for (forms::AreaSeries* s : {&Histograms_Form->Series1, &Histograms_Form->Series2,
                               &Histograms_Form->Series3, &Histograms_Form->Series4}) {
    s->SetActive(true);
  }
  Histograms_Form->Show();
  if (GreekMode) {
    Histograms_Form->SetCaption("Χρωματικά Ιστογράμματα Εικόνας");
    Histograms::THistograms_Form::SetRightAlignedCaption(Histograms_Form->Label1, "Θέση");
    Histograms::THistograms_Form::SetRightAlignedCaption(Histograms_Form->Label2, "Τιμή");
    Histograms_Form->CheckBox1.SetText("Βηματική");
    const std::pair<forms::Chart*, const char*> titles[] = {{&Histograms_Form->Chart1, "Κόκκινο"},
                                                            {&Histograms_Form->Chart2, "Πράσινο"},
                                                            {&Histograms_Form->Chart3, "Μπλε"},
                                                            {&Histograms_Form->Chart4, "Φωτεινότητα"}};
    for (const auto& [chart, title] : titles) {
      chart->ClearTitle();
      chart->AddTitleLine(title);
    }
  }
}

}  // namespace view
