#include "toolkit/charakas_drag.h"

#include <algorithm>

#include "forms/core/checked_arithmetic.h"
#include "toolkit/dtools.h"

namespace charakas {

using forms::CheckedAdd;
using forms::CheckedSub;

RulerBox DragMove(const RulerBox& box, const RulerLimits& lim, DragPoint& down, std::int32_t X,
                  std::int32_t Y) {
  RulerBox b = box;
  // Left end: the right edge stays.
  if (dtools::CheckRange(down.DownX, 1, b.Height, false)) {
    std::int32_t d = CheckedSub(X, down.DownX);
    if (d < 0) {
      if (CheckedAdd(b.Left, d) < lim.RulerLeftLimit) d = CheckedSub(lim.RulerLeftLimit, b.Left);
    } else if (d > 0) {
      if (CheckedSub(b.Width, d) < lim.RulerMinWidth) d = CheckedSub(b.Width, lim.RulerMinWidth);
    }
    // A ruler already left of its limit would otherwise shrink below the minimum width.
    if (CheckedSub(b.Width, d) < lim.RulerMinWidth && d > 0)
      d = std::max<std::int32_t>(0, CheckedSub(b.Width, lim.RulerMinWidth));
    b.Left = CheckedAdd(b.Left, d);
    b.Width = CheckedSub(b.Width, d);
  }
  // Right end: the left edge stays.
  if (dtools::CheckRange(down.DownX, CheckedSub(b.Width, b.Height), b.Width, false)) {
    std::int32_t d = CheckedSub(X, down.DownX);
    std::int32_t rightLimit = CheckedSub(lim.ParentWidth, lim.RulerRightMargin);
    if (d < 0) {
      if (CheckedAdd(b.Width, d) < lim.RulerMinWidth) d = CheckedSub(lim.RulerMinWidth, b.Width);
    } else if (d > 0) {
      if (CheckedAdd(CheckedAdd(b.Left, b.Width), d) >= rightLimit)
        d = CheckedSub(CheckedSub(rightLimit, b.Left), b.Width);
    }
    // A ruler already past the right limit would otherwise shrink below the minimum width.
    if (CheckedAdd(b.Width, d) < lim.RulerMinWidth && d < 0)
      d = std::min<std::int32_t>(0, CheckedSub(lim.RulerMinWidth, b.Width));
    b.Width = CheckedAdd(b.Width, d);
    down.DownX = CheckedAdd(down.DownX, d);
  }
  // Middle: moves without changing the size; the right and bottom limits are applied last.
  if (dtools::CheckRange(down.DownX, CheckedAdd(b.Height, 1), CheckedSub(CheckedSub(b.Width, b.Height), 1),
                         false)) {
    std::int32_t dx = CheckedSub(X, down.DownX);
    std::int32_t rightLimit = CheckedSub(lim.ParentWidth, lim.RulerRightMargin);
    if (CheckedAdd(b.Left, dx) < lim.RulerLeftLimit) dx = CheckedSub(lim.RulerLeftLimit, b.Left);
    if (CheckedAdd(CheckedAdd(b.Left, b.Width), dx) >= rightLimit)
      dx = CheckedSub(CheckedSub(rightLimit, b.Left), b.Width);
    std::int32_t dy = CheckedSub(Y, down.DownY);
    std::int32_t bottomLimit = CheckedSub(lim.ParentHeight, lim.RulerVMargin);
    if (CheckedAdd(b.Top, dy) < lim.RulerVMargin) dy = CheckedSub(lim.RulerVMargin, b.Top);
    if (CheckedAdd(CheckedAdd(b.Top, b.Height), dy) >= bottomLimit)
      dy = CheckedSub(CheckedSub(bottomLimit, b.Top), b.Height);
    b.Left = CheckedAdd(b.Left, dx);
    b.Top = CheckedAdd(b.Top, dy);
  }
  return b;
}

}  // namespace charakas
