// A chart of area series over a left and a bottom axis, with a title of lines, a gradient
// background, walls along the two axes, zooming by dragging a rectangle, and a click event
// that names the series and the value under the pointer.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "forms/control.h"

namespace forms {

class Chart;

// Values at x = 0, 1, 2, ... (the n-th value added lies at x = n - 1), each with its own
// colour, drawn as the area under the line joining them or as stairs.
class AreaSeries {
 public:
  std::string title;

  void SetSeriesColor(Color c);
  Color SeriesColor() const { return color_; }
  void Clear();
  // clNone draws the value in the series colour. Returns the value's index.
  int AddY(double y, std::string_view label = {}, Color color = clNone);
  int Count() const { return static_cast<int>(values_.size()); }
  // An index outside the values is the range error.
  double YValue(int index) const;
  Color ValueColor(int index) const;
  void SetStairs(bool on);
  bool Stairs() const { return stairs_; }
  // An inactive series is neither drawn nor clicked.
  void SetActive(bool on);
  bool Active() const { return active_; }
  Chart& Owner() const { return owner_; }

 private:
  friend class Chart;
  explicit AreaSeries(Chart& owner) : owner_(owner) {}
  Chart& owner_;
  std::vector<double> values_;
  std::vector<Color> colors_;
  std::vector<std::string> labels_;
  Color color_ = clRed;
  bool stairs_ = false;
  bool active_ = true;
};

class Chart : public Control {
 public:
  explicit Chart(Control* parent);
  ~Chart() override;

  AreaSeries& AddSeries();
  int SeriesCount() const { return static_cast<int>(series_.size()); }
  AreaSeries& Series(int index) const { return *series_.at(static_cast<size_t>(index)); }

  void ClearTitle();
  void AddTitleLine(std::string_view line);
  const std::vector<std::string>& TitleLines() const { return title_; }
  void SetTitleFont(const FontSpec& font);
  const FontSpec& TitleFont() const { return titleFont_; }

  // See FormatAxisNumber; empty gives the shortest form.
  void SetLeftAxisFormat(std::string format);
  // The bottom axis spans this many points (0: as many as the longest series holds).
  void SetPointsPerPage(int points);
  void SetGradient(bool visible, Color start, Color end);
  void SetLeftWallColor(Color c);
  void SetBottomWallColor(Color c);
  // Dragging a rectangle to the right and down zooms into it (in steps when animated); to the
  // left or up gives the whole chart back.
  void SetAnimatedZoom(bool on) { animatedZoom_ = on; }
  bool Zoomed() const { return zoomed_; }
  void UndoZoom();

  // The plot area in client pixels, and where value `index` of `series` lies in it (the top
  // of its area).
  RECT PlotRect() const;
  POINT ValuePoint(const AreaSeries& series, int index) const;
  // The active series and value index whose area holds the client point; index -1 for none.
  std::pair<AreaSeries*, int> Clicked(int x, int y) const;

  std::function<void(Chart& sender, AreaSeries& series, int valueIndex, MouseButton button, unsigned shift,
                     int x, int y)>
      onClickSeries;

  // A change of data or settings: redrawn at the next paint.
  void Changed() { Invalidate(); }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  struct Range {
    double min = 0, max = 1;
  };
  struct Layout {
    RECT plot{};
    Range x, y;
    double yStep = 1, xStep = 1;
    int titleBottom = 0;
  };
  Layout ComputeLayout(HDC dc) const;
  Range AutoX() const;
  Range AutoY() const;
  void Paint(HDC dc);
  void Draw(HDC dc, const RECT& client);
  void PaintSeries(HDC dc, const Layout& l, const AreaSeries& s) const;
  void MouseDown(MouseButton button, unsigned shift, int x, int y);
  void FinishDrag(int x, int y);
  void ZoomTo(Range x, Range y);

  std::vector<std::unique_ptr<AreaSeries>> series_;
  std::vector<std::string> title_;
  FontSpec titleFont_;
  std::string leftFormat_;
  int pointsPerPage_ = 0;
  bool gradient_ = true;
  Color gradientStart_ = clWhite, gradientEnd_ = clSilver;
  Color leftWall_ = clWhite, bottomWall_ = clWhite;
  bool animatedZoom_ = false;
  bool zoomed_ = false;
  Range zoomX_, zoomY_;
  bool dragging_ = false;
  POINT dragStart_{}, dragNow_{};
};

}  // namespace forms
