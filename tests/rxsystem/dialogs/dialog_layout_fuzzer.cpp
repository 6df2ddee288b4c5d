// The prompt and list dialogs laid out from whatever numbers and texts a piece passes: the
// items the template is sized for are the items it gets, the edit field and the buttons stand
// inside the dialog in the order the user reads them, the buttons are one width, centred and at
// least 8 units in from both edges (the dialog widened for them where they need it), the edit
// field keeps its least width after however long a label (the dialog widened for it), at most
// the asked-for one is the default, and the result texts stay inside their blocks.
// Layout: a record of numbers (see Numbers), then the description, label and three button
// captions, separated by NULs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "system_services/dialogs/dialog_layout.h"

namespace {

using namespace rxsystem;

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

struct Numbers {
  std::int16_t width;
  std::int8_t descriptionLines;
  std::int8_t editLines;
  std::int8_t defaultButton;
  std::uint8_t flags;
  std::uint8_t absent;  // a bit for each text that the piece leaves out
  std::uint16_t averageWidth;
  std::uint8_t lineHeight;
  std::int16_t labelPixels;
  std::int16_t buttonPixels[3];
  std::uint8_t resultRoom;
  std::int32_t selected;
};

bool InShort(std::int64_t v) {
  return v >= std::numeric_limits<std::int16_t>::min() && v <= std::numeric_limits<std::int16_t>::max();
}

// The items of a layout with the class and id asked for.
std::vector<const ItemLayout*> Items(const DialogLayout& layout, std::uint16_t classAtom, std::uint16_t id) {
  std::vector<const ItemLayout*> found;
  for (int i = 0; i < layout.count; ++i) {
    const ItemLayout& item = layout.items[static_cast<size_t>(i)];
    if (item.classAtom == classAtom && item.id == id) found.push_back(&item);
  }
  return found;
}

// Every button is as wide as its widest caption needs, and never narrower than 50.
std::int64_t ButtonWidth(const ButtonSet& buttons, FontMetrics metrics) {
  std::int64_t w = 50;
  for (int i = 0; i < buttons.count; ++i)
    w = std::max<std::int64_t>(w, DialogX(buttons.pixelWidths[static_cast<size_t>(i)], metrics) + 16);
  return w;
}

// The author's width, or wider where the button row would not fit it with margins of 8.
std::int64_t DialogWidth(std::int32_t authorWidth, const ButtonSet& buttons, FontMetrics metrics) {
  return std::max<std::int64_t>(authorWidth, (ButtonWidth(buttons, metrics) + 8) * buttons.count + 8);
}

// The button row shared by both dialogs; its places are checked where no value was clamped.
void CheckButtons(const DialogLayout& layout, const ButtonSet& buttons, std::int64_t width,
                  std::int32_t defaultButton, FontMetrics metrics, std::int64_t rowY) {
  std::vector<const ItemLayout*> row;
  for (int i = 0; i < buttons.count; ++i) {
    const auto found = Items(layout, kButtonClassAtom, static_cast<std::uint16_t>(kButton1Id + i));
    Check(found.size() == 1);
    row.push_back(found[0]);
    Check(found[0]->text == buttons.texts[static_cast<size_t>(i)]);
    Check(((found[0]->style & kDefaultPushButton) != 0) == (defaultButton == i + 1));
    Check((found[0]->style & ~kDefaultPushButton) == kButtonStyle);
  }
  Check(Items(layout, kButtonClassAtom, static_cast<std::uint16_t>(kButton1Id + buttons.count)).empty());
  const std::int64_t w = ButtonWidth(buttons, metrics);
  const std::int64_t total = w * buttons.count + 8 * (buttons.count - 1);
  const std::int64_t left = (width - total) / 2;
  if (!InShort(w) || !InShort(rowY) || !InShort(left) || !InShort(left + total) || !InShort(width)) return;
  // The whole row stands inside the dialog, at least 8 units from either edge.
  Check(layout.width == width && left >= 8 && left + total <= width - 8);
  for (int i = 0; i < buttons.count; ++i) {
    // One width for all, each wide enough for its caption, side by side with a gap of 8.
    Check(row[static_cast<size_t>(i)]->cx == w && row[static_cast<size_t>(i)]->cy == 14);
    Check(row[static_cast<size_t>(i)]->y == rowY);
    Check(row[static_cast<size_t>(i)]->x == left + (w + 8) * i);
  }
  // Centred: the margins on either side differ by the one unit the halving drops.
  const std::int64_t right = width - (left + total);
  Check(left - right <= 1 && right - left <= 1);
}

void CheckTexts(const DialogLayout& layout) {
  Check(layout.count >= 0 && layout.count <= kMaxDialogItems);
  size_t chars = 0;
  for (int i = 0; i < layout.count; ++i) chars += layout.items[static_cast<size_t>(i)].text.size();
  Check(chars == layout.textChars);
}

void CheckPrompt(const PromptRequest& request, FontMetrics metrics) {
  const DialogLayout layout = LayoutPrompt(request, metrics);
  const bool description = !request.description.text.empty();
  const bool label = !request.label.empty();
  const std::int64_t labelCx =
      label ? static_cast<std::int64_t>(DialogX(request.labelPixels, metrics)) + 2 : 0;
  const std::int64_t x0 = label ? labelCx + 8 : 8;
  // Wider still where the label would leave the field less than its least width.
  const std::int64_t width =
      std::max(DialogWidth(request.width, request.buttons, metrics), x0 + kMinPromptEditWidth + 8);
  CheckTexts(layout);
  // The count the template was sized for before the items were added.
  Check(layout.count == request.buttons.count + 1 + (description ? 1 : 0) + (label ? 1 : 0));
  const std::int64_t lines = request.editLines;
  const std::int64_t descriptionHeight =
      description ? 8 * static_cast<std::int64_t>(request.description.lines) + 4 : 0;
  const std::int64_t height = 42 + 8 * lines + descriptionHeight;
  if (InShort(height)) Check(layout.height == height);

  const auto edits = Items(layout, kEditClassAtom, kPromptEditId);
  Check(edits.size() == 1);
  const ItemLayout& edit = *edits[0];
  Check(edit.style == (lines > 1 ? kMultiLineEditStyle : kOneLineEditStyle) && edit.text.empty());
  const std::int64_t y0 = description ? 8 * static_cast<std::int64_t>(request.description.lines) + 12 : 8;
  const std::int64_t editCy = 8 * lines + 4;
  if (InShort(y0) && InShort(editCy)) Check(edit.y == y0 && edit.cy == editCy);
  // The edit field ends 8 units from the dialog's right edge, after the label if there is one,
  // whole inside the dialog and never narrower than the least a label may leave it.
  if (InShort(x0) && InShort(width - x0 - 8)) Check(edit.x == x0 && edit.x + edit.cx == width - 8);
  if (InShort(width)) {
    Check(layout.width == width);
    Check(edit.x + edit.cx <= layout.width - 8 && edit.cx >= kMinPromptEditWidth);
  }
  // The dialog grows no wider than the field's least width needs.
  if (width > DialogWidth(request.width, request.buttons, metrics) && InShort(width))
    Check(edit.cx == kMinPromptEditWidth);
  const auto statics = Items(layout, kStaticClassAtom, 0);
  Check(statics.size() == (description ? 1u : 0u) + (label ? 1u : 0u));
  if (label) {
    const ItemLayout& l = *statics.back();
    Check(l.text == request.label && l.x == 8);
    // The edit's place is clamped on its own: the label meets it only where neither was.
    if (InShort(labelCx) && InShort(x0) && InShort(y0 + 2))
      Check(l.cx == labelCx && l.x + l.cx == edit.x && l.y == y0 + 2);
  }
  if (description) {
    const ItemLayout& d = *statics.front();
    Check(d.text == request.description.text);
    Check(d.style == (request.description.centered ? kStaticCenter : kStaticLeft));
    if (InShort(descriptionHeight) && InShort(width - 16))
      Check(d.y == 8 && d.y + d.cy + 4 == y0 && d.cx == width - 16);
  }
  const std::int64_t rowY = y0 + editCy + 8;
  CheckButtons(layout, request.buttons, width, request.defaultButton, metrics, rowY);
  // The button row ends 8 units above the dialog's bottom edge.
  Check(rowY + 14 + 8 == height);
}

void CheckList(const Numbers& n, const PromptRequest& prompt, FontMetrics metrics) {
  ListRequest request;
  request.width = n.width;
  request.description = prompt.description;
  request.buttons = prompt.buttons;
  request.defaultButton = n.defaultButton;
  request.listLines = n.editLines;
  request.sort = n.flags & 2;
  request.multipleSelect = n.flags & 4;
  request.fixedFont = n.flags & 8;
  request.columns = (n.flags >> 4) + 1;
  const DialogLayout layout = LayoutList(request, metrics);
  CheckTexts(layout);
  const bool description = !request.description.text.empty();
  Check(layout.count == request.buttons.count + 1 + (description ? 1 : 0));
  const auto lists = Items(layout, kListBoxClassAtom, kListId);
  Check(lists.size() == 1);
  std::uint32_t style = kListStyle;
  if (request.multipleSelect) style |= kListExtendedSelection;
  if (request.sort) style |= kListSort;
  if (request.columns > 1) style |= kListUseTabStops;
  Check(lists[0]->style == style);
  const std::int64_t lines = request.listLines < 1 ? 10 : request.listLines;
  const std::int64_t y = description ? 8 * static_cast<std::int64_t>(request.description.lines) + 12 : 8;
  const std::int64_t rowY = y + 8 * lines + 8;
  CheckButtons(layout, request.buttons, DialogWidth(request.width, request.buttons, metrics),
               request.defaultButton, metrics, rowY);
  const std::int64_t height =
      38 + 8 * lines + (description ? 8 * static_cast<std::int64_t>(request.description.lines) + 4 : 0);
  if (InShort(height)) Check(layout.height == height);
  Check(rowY + 14 + 8 == height);
}

// The result texts: whatever the block's room, they stay inside it and end in a NUL.
void CheckResults(const Numbers& n, std::string_view typed) {
  const size_t capacity = n.resultRoom;
  std::vector<char> block(capacity ? capacity : 1, '#');
  ResultWriter out(block.data(), capacity);
  WriteButtonDigit(out, n.defaultButton);
  for (char c : typed) out.Put(c);
  WriteSingleSelection(out, n.selected);
  const std::uint32_t data[] = {static_cast<std::uint32_t>(n.selected), 0, 4294967295u};
  WriteMultipleSelection(out, 3, data);
  if (capacity == 0) {
    Check(out.Length() == 0 && block[0] == '#');
    return;
  }
  Check(out.Length() < capacity);
  if (out.Length() > 0) Check(block[out.Length()] == '\0');
  // The text is what an unbounded writer would give, cut at the block's last byte.
  std::string whole;
  whole.push_back(static_cast<char>('0' + std::clamp<int>(n.defaultButton, 0, 3)));
  whole += '\r';
  whole += typed;
  whole += std::to_string(
               n.selected < 0 ? 0u : static_cast<std::uint32_t>(static_cast<std::int64_t>(n.selected) + 1)) +
           '\r';
  whole += "3\r";
  for (std::uint32_t d : data) whole += std::to_string(static_cast<std::uint32_t>(d + 1)) + '\r';
  Check(std::string_view(block.data(), out.Length()) ==
        std::string_view(whole).substr(0, std::min(whole.size(), capacity - 1)));

  // The list result's block has room for every row number the list can hand back.
  const std::int32_t rows = n.selected % 1200;
  const size_t size = ListResultSize(rows);
  std::vector<char> list(size);
  ResultWriter all(list.data(), size);
  WriteButtonDigit(all, 3);
  std::vector<std::uint32_t> every(rows > 0 ? static_cast<size_t>(rows) : 0);
  for (size_t i = 0; i < every.size(); ++i) every[i] = static_cast<std::uint32_t>(i);
  WriteMultipleSelection(all, static_cast<std::uint32_t>(every.size()), every);
  std::string expected = "3\r" + std::to_string(every.size()) + "\r";
  for (std::uint32_t i : every) expected += std::to_string(i + 1) + "\r";
  Check(std::string_view(list.data(), all.Length()) == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(Numbers)) return 0;
  Numbers n;
  std::memcpy(&n, data, sizeof n);
  const std::string_view rest(reinterpret_cast<const char*>(data + sizeof n), size - sizeof n);
  // The host's texts end at their NUL; a piece's absent text is a null pointer.
  std::vector<std::string> texts;
  for (size_t at = 0; texts.size() < 5;) {
    const size_t end = rest.find('\0', at);
    texts.emplace_back(rest.substr(std::min(at, rest.size()),
                                   end == std::string_view::npos ? std::string_view::npos : end - at));
    if (end == std::string_view::npos) break;
    at = end + 1;
  }
  texts.resize(5);
  auto text = [&](size_t i) -> const char* { return (n.absent >> i) & 1 ? nullptr : texts[i].c_str(); };

  const FontMetrics metrics{static_cast<std::uint16_t>(std::max<std::uint16_t>(n.averageWidth, 1)),
                            std::max<std::int32_t>(n.lineHeight, 1)};
  PromptRequest request;
  request.width = n.width;
  request.description.text = OptionalText(text(0));
  request.description.centered = n.flags & 1;
  request.description.lines = n.descriptionLines;
  request.label = OptionalText(text(1));
  request.labelPixels = n.labelPixels;
  request.buttons = ChooseButtons(text(2), text(3), text(4));
  Check(request.buttons.count >= 1 && request.buttons.count <= 3 && !request.buttons.texts[0].empty());
  Check(request.buttons.count ==
        1 + (texts[3].empty() || !text(3) ? 0 : 1 + (texts[4].empty() || !text(4) ? 0 : 1)));
  for (int i = 0; i < request.buttons.count; ++i)
    request.buttons.pixelWidths[static_cast<size_t>(i)] = n.buttonPixels[i];

  const EditShape shape = ShapeEdit(n.editLines, n.defaultButton);
  Check(shape.lines == std::max<std::int32_t>(n.editLines, 1));
  Check(shape.defaultButton == (shape.lines > 1 ? 0 : n.defaultButton));
  request.editLines = shape.lines;
  request.defaultButton = shape.defaultButton;

  CheckPrompt(request, metrics);
  CheckList(n, request, metrics);
  CheckResults(n, texts[1]);
  return 0;
}
