#include "system_services/dialogs/dialog_layout.h"

#include <algorithm>
#include <limits>

namespace rxsystem {
namespace {

int32_t ClampToInt32(int64_t v) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

ItemLayout Item(int64_t x, int64_t y, int64_t cx, int64_t cy, uint16_t classAtom, uint16_t id, uint32_t style,
                std::string_view text) {
  ItemLayout item;
  item.x = TemplateShort(x);
  item.y = TemplateShort(y);
  item.cx = TemplateShort(cx);
  item.cy = TemplateShort(cy);
  item.classAtom = classAtom;
  item.id = id;
  item.style = style;
  item.text = text;
  return item;
}

// The description block at the top; returns the y where the next item starts.
int64_t AddDescription(DialogLayout& layout, const DescriptionBlock& d, int64_t width) {
  if (d.text.empty()) return 8;
  const int64_t cy = 8 * static_cast<int64_t>(d.lines);
  layout.Add(
      Item(8, 8, width - 16, cy, kStaticClassAtom, 0, d.centered ? kStaticCenter : kStaticLeft, d.text));
  return cy + 12;
}

int64_t DescriptionHeight(const DescriptionBlock& d) {
  return d.text.empty() ? 0 : 8 * static_cast<int64_t>(d.lines) + 4;
}

// Every button is as wide as the widest caption needs, and never narrower than 50.
int64_t ButtonWidth(const ButtonSet& buttons, FontMetrics metrics) {
  int64_t w = 50;
  for (int i = 0; i < buttons.count; ++i)
    w = std::max<int64_t>(w, static_cast<int64_t>(DialogX(buttons.pixelWidths[i], metrics)) + 16);
  return w;
}

// The author's width, or the width at which the button row stands 8 units in from both
// edges when it would not fit otherwise: long captions must not be cut off the dialog, out of
// the learner's reach.
int64_t DialogWidth(int32_t authorWidth, const ButtonSet& buttons, FontMetrics metrics) {
  const int64_t row = (ButtonWidth(buttons, metrics) + 8) * buttons.count + 8;
  return std::max<int64_t>(authorWidth, row);
}

// The button row of both dialogs: equal widths, centred, the default one marked.
void AddButtons(DialogLayout& layout, const ButtonSet& buttons, int64_t width, int64_t rowY,
                int32_t defaultButton, FontMetrics metrics) {
  const int64_t w = ButtonWidth(buttons, metrics);
  int64_t x = (width - (w + 8) * buttons.count + 8) / 2;
  for (int i = 0; i < buttons.count; ++i) {
    uint32_t style = kButtonStyle;
    if (defaultButton == i + 1) style |= kDefaultPushButton;
    layout.Add(Item(x, rowY, w, 14, kButtonClassAtom, static_cast<uint16_t>(kButton1Id + i), style,
                    buttons.texts[i]));
    x += w + 8;
  }
}

}  // namespace

int32_t DialogX(int64_t pixels, FontMetrics metrics) {
  return ClampToInt32(pixels * 4 / std::max<int64_t>(metrics.averageWidth, 1));
}

int32_t DialogY(int64_t pixels, FontMetrics metrics) {
  return ClampToInt32(pixels * 8 / std::max<int64_t>(metrics.lineHeight, 1));
}

int16_t TemplateShort(int64_t value) {
  return static_cast<int16_t>(
      std::clamp<int64_t>(value, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

void DialogLayout::Add(const ItemLayout& item) {
  if (count >= kMaxDialogItems) return;
  items[static_cast<size_t>(count++)] = item;
  textChars += item.text.size();
}

ButtonSet ChooseButtons(const char* button1, const char* button2, const char* button3) {
  ButtonSet set;
  std::string_view first = OptionalText(button1);
  set.texts[0] = first.empty() ? std::string_view("OK") : first;
  set.count = 1;
  std::string_view second = OptionalText(button2);
  if (!second.empty()) {
    set.texts[set.count++] = second;
    std::string_view third = OptionalText(button3);
    if (!third.empty()) set.texts[set.count++] = third;
  }
  return set;
}

EditShape ShapeEdit(int32_t numberEditLines, int32_t defaultButton) {
  EditShape shape{std::max<int32_t>(numberEditLines, 1), defaultButton};
  if (shape.lines > 1) shape.defaultButton = 0;
  return shape;
}

DialogLayout LayoutPrompt(const PromptRequest& r, FontMetrics metrics) {
  DialogLayout layout;
  const int64_t labelCx = r.label.empty() ? 0 : static_cast<int64_t>(DialogX(r.labelPixels, metrics)) + 2;
  const int64_t x0 = r.label.empty() ? 8 : labelCx + 8;
  // A label as wide as the dialog would leave the field no width, or put it past the right
  // edge, where the learner types into a field nobody sees: the dialog grows with the label
  // instead, and the description and the button row span it as they span any wide dialog.
  const int64_t width = std::max(DialogWidth(r.width, r.buttons, metrics), x0 + kMinPromptEditWidth + 8);
  layout.width = TemplateShort(width);
  const int64_t editLines = std::max<int32_t>(r.editLines, 1);
  layout.height = TemplateShort(42 + 8 * editLines + DescriptionHeight(r.description));

  const int64_t y0 = AddDescription(layout, r.description, width);
  if (!r.label.empty()) layout.Add(Item(8, y0 + 2, labelCx, 8, kStaticClassAtom, 0, kStaticLeft, r.label));
  const int64_t editCy = 8 * editLines + 4;
  layout.Add(Item(x0, y0, width - x0 - 8, editCy, kEditClassAtom, kPromptEditId,
                  editLines > 1 ? kMultiLineEditStyle : kOneLineEditStyle, {}));
  AddButtons(layout, r.buttons, width, y0 + editCy + 8, r.defaultButton, metrics);
  return layout;
}

ListScan ScanListRows(char* text, std::array<int32_t, kMaxListColumns>& widths, MeasureText measure,
                      void* context) {
  ListScan scan;
  if (!text) return scan;
  int32_t column = 0;
  char* columnStart = text;
  // Ends the column that runs up to `end`; false when the row has one column too many.
  auto endColumn = [&](char* end) {
    if (column >= kMaxListColumns) return false;
    const int32_t w = measure(context, std::string_view(columnStart, static_cast<size_t>(end - columnStart)));
    widths[static_cast<size_t>(column)] = std::max(widths[static_cast<size_t>(column)], w);
    ++column;
    return true;
  };
  auto endRow = [&] {
    scan.columns = std::max(scan.columns, column);
    ++scan.rows;
    column = 0;
  };
  char* p = text;
  for (; *p; ++p) {
    if (*p != '\t' && *p != '\r') continue;
    if (!endColumn(p)) {
      scan.tooManyColumns = true;
      return scan;
    }
    if (*p == '\r') {
      *p = '\0';
      endRow();
    }
    columnStart = p + 1;
  }
  if (p != columnStart || column > 0) {
    if (!endColumn(p)) {
      scan.tooManyColumns = true;
      return scan;
    }
    endRow();
  }
  return scan;
}

bool SplitHeading(std::string_view heading, Heading& out) {
  out = Heading{};
  if (heading.empty()) return true;
  size_t start = 0;
  while (true) {
    const size_t tab = heading.find('\t', start);
    if (out.count >= kMaxListColumns) return false;
    out.columns[static_cast<size_t>(out.count++)] =
        heading.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
    if (tab == std::string_view::npos) return true;
    start = tab + 1;
  }
}

std::array<int32_t, kMaxListColumns> ListTabStops(const std::array<int32_t, kMaxListColumns>& widths,
                                                  int32_t columns, int32_t gapPixels, uint16_t averageWidth) {
  std::array<int32_t, kMaxListColumns> stops{};
  const int64_t average = std::max<int64_t>(averageWidth, 1);
  int64_t stop = 0;
  for (int32_t j = 0; j + 1 < columns && j < kMaxListColumns; ++j) {
    stop += (static_cast<int64_t>(widths[static_cast<size_t>(j)]) + gapPixels) * 4 / average;
    stops[static_cast<size_t>(j)] = ClampToInt32(stop);
  }
  return stops;
}

DialogLayout LayoutList(const ListRequest& r, FontMetrics metrics) {
  DialogLayout layout;
  const int64_t width = DialogWidth(r.width, r.buttons, metrics);
  layout.width = TemplateShort(width);
  const int64_t listLines = r.listLines < 1 ? 10 : r.listLines;
  layout.height =
      TemplateShort(38 + 8 * listLines + DescriptionHeight(r.description) + (r.heading.count > 0 ? 10 : 0));

  int64_t y = AddDescription(layout, r.description, width);
  if (r.heading.count > 0) {
    int64_t x = 10;
    const int64_t average = std::max<int64_t>(metrics.averageWidth, 1);
    for (int j = 0; j < r.heading.count; ++j) {
      // In a fixed-font list the sixth heading and all after it stand one unit further
      // right; pieces line their headings up over the columns with that shift.
      if (r.fixedFont && j == 5) x += 1;
      const int64_t cx =
          (static_cast<int64_t>(r.columnWidths[static_cast<size_t>(j)]) + r.gapPixels) * 4 / average;
      layout.Add(
          Item(x, y, cx, 8, kStaticClassAtom, 0, kStaticLeft, r.heading.columns[static_cast<size_t>(j)]));
      x += cx;
    }
    y += 10;
  }
  uint32_t style = kListStyle;
  if (r.multipleSelect) style |= kListExtendedSelection;
  if (r.sort) style |= kListSort;
  if (r.columns > 1) style |= kListUseTabStops;
  const int64_t listCy = 8 * listLines;
  layout.Add(Item(8, y, width - 16, listCy, kListBoxClassAtom, kListId, style, {}));
  AddButtons(layout, r.buttons, width, y + listCy + 8, r.defaultButton, metrics);
  return layout;
}

size_t ListResultSize(int32_t rows) {
  const uint64_t n = rows > 0 ? static_cast<uint64_t>(rows) : 0;
  // Each number line holds the digits of the largest row number and its CR, and never
  // less room than three bytes.
  uint64_t digits = 1;
  for (uint64_t v = n; v >= 10; v /= 10) ++digits;
  const uint64_t k = std::max<uint64_t>(3, digits + 1);
  const uint64_t size = k * (n + 1) + 5;
  return size > std::numeric_limits<size_t>::max() ? std::numeric_limits<size_t>::max()
                                                   : static_cast<size_t>(size);
}

void ResultWriter::Put(char c) {
  if (capacity_ == 0 || length_ + 1 >= capacity_) return;
  block_[length_++] = c;
  block_[length_] = '\0';
}

void ResultWriter::Line(uint32_t number) {
  char digits[10];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number != 0);
  while (n > 0) Put(digits[--n]);
  Put('\r');
}

void WriteButtonDigit(ResultWriter& out, int button) {
  out.Put(static_cast<char>('0' + std::clamp(button, 0, 3)));
  out.Put('\r');
}

void WriteSingleSelection(ResultWriter& out, int64_t selectedItemData) {
  out.Line(selectedItemData < 0 ? 0u : static_cast<uint32_t>(selectedItemData + 1));
}

void WriteMultipleSelection(ResultWriter& out, uint32_t count, std::span<const uint32_t> itemData) {
  out.Line(count);
  for (uint32_t data : itemData) out.Line(data + 1);
}

}  // namespace rxsystem
