// A horizontal track bar. The range keeps the toolkit's rule: a minimum above the maximum (or
// a maximum below the minimum) is ignored. The position is clamped into the range. onChange
// runs for the user's moves only, never for a position, range or tick set by the program.
#pragma once
#include <cstdint>
#include <functional>

#include "forms/control.h"

namespace forms {

enum class TickMarks { BottomRight, TopLeft, Both };

class TrackBar : public Control {
 public:
  explicit TrackBar(Control* parent);

  void SetMin(std::int32_t v);
  void SetMax(std::int32_t v);
  std::int32_t Min() const { return min_; }
  std::int32_t Max() const { return max_; }
  // Tick spacing.
  void SetFrequency(std::int32_t v);
  std::int32_t Frequency() const { return frequency_; }
  void SetPosition(std::int32_t v);
  std::int32_t Position() const { return position_; }
  void SetThumbLength(int pixels);
  void SetTickMarks(TickMarks t);
  // Page and line sizes of the keyboard and of clicks beside the thumb.
  void SetPageSize(std::int32_t v);
  void SetLineSize(std::int32_t v);

  std::function<void()> onChange;

 protected:
  void HandleScroll(WORD code) override;

 private:
  void Apply();
  std::int32_t min_ = 0, max_ = 10, frequency_ = 1, position_ = 0;
};

}  // namespace forms
