// The ruler's drag and stretch arithmetic, apart from the panels it moves: pure, so every
// zone and clamp is tested natively.
#pragma once
#include <cstdint>

namespace charakas {

struct RulerBox {
  std::int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const RulerBox&) const = default;
};

// The limits of one ruler on its parent.
struct RulerLimits {
  std::int32_t ParentWidth = 0, ParentHeight = 0;
  std::int32_t RulerLeftLimit = 0;    // smallest Left
  std::int32_t RulerRightMargin = 0;  // kept free right of the ruler
  std::int32_t RulerVMargin = 2;      // kept free above and below
  std::int32_t RulerMinWidth = 20;
};

// DownX, DownY: the pointer at mouse-down in the ruler's coordinates; DownX follows the
// pointer while the right end is stretched.
struct DragPoint {
  std::int32_t DownX = 0, DownY = 0;
};

// One mouse move of a drag to (X, Y) in the ruler's coordinates (negative left of or above
// the ruler). The zone is chosen by DownX: the left end [1, H], the right end [W - H, W], the
// middle [H + 1, W - H - 1]; the tests run one after the other on what the one before left.
RulerBox DragMove(const RulerBox& box, const RulerLimits& limits, DragPoint& down, std::int32_t X,
                  std::int32_t Y);

}  // namespace charakas
