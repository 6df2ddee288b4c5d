#include "toolkit/charakas.h"

#include "forms/cursors.h"

namespace charakas {

forms::Panel* RulerParent = nullptr;
forms::Panel* RulerPanel = nullptr;
std::int32_t DownX = 0, DownY = 0;
bool Dragging = false;
std::int32_t RulerLeftLimit = 0;
std::int32_t RulerRightMargin = 0;
std::int32_t RulerVMargin = 0;
std::int32_t RulerMinWidth = 0;

namespace {

bool defaultsSet = false;

void CharakasDefaults() {
  if (defaultsSet) return;
  defaultsSet = true;
  RulerVMargin = 2;
  RulerMinWidth = 20;
}

void EndDrag() {
  Dragging = false;
  if (RulerPanel) RulerPanel->SetMouseCapture(false);
}

}  // namespace

void InitCharakas(forms::Control* Parent, forms::Control* Ruler, std::int32_t LeftLimit,
                  std::int32_t RightMargin) {
  if (auto* p = dynamic_cast<forms::Panel*>(Parent)) RulerParent = p;
  auto* r = dynamic_cast<forms::Panel*>(Ruler);
  if (!r) return;
  RulerPanel = r;
  if (RulerParent) r->SetParent(RulerParent);
  r->SetLeft(96);
  r->SetTop(56);
  r->SetWidth(97);
  r->SetHeight(9);
  RulerLeftLimit = LeftLimit;
  RulerRightMargin = RightMargin;
  r->BringToFront();
  CharakasDefaults();
}

void CharakasMouseDown(forms::Control* /*Sender*/, forms::MouseButton /*Button*/, unsigned /*Shift*/,
                       std::int32_t X, std::int32_t Y) {
  if (!RulerPanel) return;
  int cursor = forms::ScreenCursor();
  if (cursor == forms::crDefault || cursor == forms::crSizeWE || cursor == forms::crDrag) {
    DownX = X;
    DownY = Y;
    Dragging = true;
    // Moves beyond the ruler's edges keep coming to it until the release.
    RulerPanel->SetMouseCapture(true);
  } else {
    Dragging = false;
  }
}

void CharakasMouseMove(forms::Control* /*Sender*/, unsigned /*Shift*/, std::int32_t X, std::int32_t Y) {
  if (!RulerPanel || !RulerParent || !Dragging) return;
  RulerBox box{RulerPanel->Left(), RulerPanel->Top(), RulerPanel->Width(), RulerPanel->Height()};
  RulerLimits limits{RulerParent->Width(), RulerParent->Height(), RulerLeftLimit,
                     RulerRightMargin,     RulerVMargin,          RulerMinWidth};
  DragPoint down{DownX, DownY};
  RulerBox moved = DragMove(box, limits, down, X, Y);
  DownX = down.DownX;
  DownY = down.DownY;
  if (!(moved == box)) RulerPanel->SetBounds(moved.Left, moved.Top, moved.Width, moved.Height);
}

void CharakasMouseUp(forms::Control* /*Sender*/, forms::MouseButton /*Button*/, unsigned /*Shift*/,
                     std::int32_t /*X*/, std::int32_t /*Y*/) {
  if (!RulerPanel) return;
  EndDrag();
}

void CharakasCaptureLost(forms::Control* /*Sender*/) {
  if (!RulerPanel) return;
  Dragging = false;
}

}  // namespace charakas
