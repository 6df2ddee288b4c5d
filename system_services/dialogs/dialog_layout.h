// The arithmetic of the prompt and list dialogs that the library builds in memory: which
// buttons a call shows, where every item stands in dialog units, the list's columns and tab
// stops, and the result texts. No Windows header: the shell measures the texts and hands the
// pixel widths in.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace rxsystem {

// The predefined window classes of a dialog item, as the template names them.
inline constexpr uint16_t kButtonClassAtom = 0x80;
inline constexpr uint16_t kEditClassAtom = 0x81;
inline constexpr uint16_t kStaticClassAtom = 0x82;
inline constexpr uint16_t kListBoxClassAtom = 0x83;

inline constexpr uint16_t kPromptEditId = 101;
inline constexpr uint16_t kButton1Id = 102;
inline constexpr uint16_t kButton2Id = 103;
inline constexpr uint16_t kButton3Id = 104;
inline constexpr uint16_t kListId = 105;

// Styles of the items, without the child and visible bits that every item gets.
inline constexpr uint32_t kStaticLeft = 0x0;
inline constexpr uint32_t kStaticCenter = 0x1;
inline constexpr uint32_t kOneLineEditStyle = 0x810080;
// Border, tab stop, several lines, Enter for a new line, and a vertical scroll bar with
// scrolling as the text grows: without them the field stops taking text when its visible
// lines are full, short of the length the author allows.
inline constexpr uint32_t kMultiLineEditStyle = 0xA11044;
inline constexpr uint32_t kButtonStyle = 0x10000;
inline constexpr uint32_t kDefaultPushButton = 0x1;
inline constexpr uint32_t kListStyle = 0xA10000;
inline constexpr uint32_t kListExtendedSelection = 0x800;
inline constexpr uint32_t kListSort = 0x2;
inline constexpr uint32_t kListUseTabStops = 0x80;

inline constexpr int kMaxListColumns = 10;
// Description, label or heading columns, the edit or the list, and three buttons.
inline constexpr int kMaxDialogItems = 1 + kMaxListColumns + 1 + 3;

// The measuring font: average character width and line height in pixels, both at least 1.
struct FontMetrics {
  uint16_t averageWidth = 1;
  int32_t lineHeight = 1;
};

// Pixels to dialog units, truncating; a result beyond what a template holds is clamped.
int32_t DialogX(int64_t pixels, FontMetrics metrics);
int32_t DialogY(int64_t pixels, FontMetrics metrics);
// The 16-bit value a template field stores, clamped rather than wrapped.
int16_t TemplateShort(int64_t value);

struct ItemLayout {
  int16_t x = 0, y = 0, cx = 0, cy = 0;
  uint16_t classAtom = 0;
  uint16_t id = 0;
  uint32_t style = 0;
  std::string_view text;
};

struct DialogLayout {
  // The dialog's size in dialog units: the width is the author's, widened when the button
  // row would not fit it with its margins, or when the prompt's label would leave its field
  // narrower than kMinPromptEditWidth.
  int16_t width = 0;
  int16_t height = 0;
  int count = 0;
  std::array<ItemLayout, kMaxDialogItems> items{};
  size_t textChars = 0;  // of all item texts, for sizing the template
  void Add(const ItemLayout& item);
};

// The buttons a call shows: Button1 is always there ("OK" when absent or empty), Button2
// when non-empty, Button3 when non-empty and Button2 is there.
struct ButtonSet {
  int count = 0;
  std::array<std::string_view, 3> texts{};
  // Each caption's pixel width with its terminating NUL, filled in by the shell.
  std::array<int32_t, 3> pixelWidths{};
};
ButtonSet ChooseButtons(const char* button1, const char* button2, const char* button3);

// Null and empty are both "none".
inline std::string_view OptionalText(const char* text) {
  return text ? std::string_view(text) : std::string_view();
}

struct DescriptionBlock {
  std::string_view text;  // empty: none
  bool centered = false;
  int32_t lines = 0;
};

struct PromptRequest {
  int32_t width = 0;
  DescriptionBlock description;
  std::string_view label;
  int32_t labelPixels = 0;  // with its NUL
  ButtonSet buttons;
  int32_t defaultButton = 0;
  int32_t editLines = 1;
};

// Edit lines below 1 become 1; a multi-line field has no default button so that Enter
// stays in it.
struct EditShape {
  int32_t lines;
  int32_t defaultButton;
};
EditShape ShapeEdit(int32_t numberEditLines, int32_t defaultButton);

// The narrowest field a prompt's label may leave, in dialog units: twelve average characters
// of the 8-point font (four units each), a name or two short words in view at once while the
// field scrolls sideways for the rest. It is no wider than the field of the narrowest dialog
// the button row already makes (one 50-unit button: 66 units, the field 50), so only a label
// ever widens a prompt for its field.
inline constexpr int32_t kMinPromptEditWidth = 48;

DialogLayout LayoutPrompt(const PromptRequest& request, FontMetrics metrics);

// The rows of a list text: every CR ends a row and becomes a NUL, every TAB or CR ends a
// column. A last row without its CR counts too; an empty rest after the last CR does not.
struct ListScan {
  int32_t rows = 0;
  int32_t columns = 0;  // the most columns of any row
  bool tooManyColumns = false;
};
// Measures a column's pixel width (without any NUL).
using MeasureText = int32_t (*)(void* context, std::string_view text);
ListScan ScanListRows(char* text, std::array<int32_t, kMaxListColumns>& widths, MeasureText measure,
                      void* context);

// The heading's columns (TAB-separated); false when there are more than ten.
struct Heading {
  int count = 0;
  std::array<std::string_view, kMaxListColumns> columns{};
};
bool SplitHeading(std::string_view heading, Heading& out);

// Cumulative tab stops in dialog units of the list's font, one fewer than the columns.
std::array<int32_t, kMaxListColumns> ListTabStops(const std::array<int32_t, kMaxListColumns>& widths,
                                                  int32_t columns, int32_t gapPixels, uint16_t averageWidth);

struct ListRequest {
  int32_t width = 0;
  DescriptionBlock description;
  Heading heading;
  std::array<int32_t, kMaxListColumns> columnWidths{};  // pixels
  int32_t gapPixels = 0;
  int32_t columns = 0;
  bool fixedFont = false;
  bool sort = false;
  bool multipleSelect = false;
  int32_t listLines = 10;
  ButtonSet buttons;
  int32_t defaultButton = 0;
};
DialogLayout LayoutList(const ListRequest& request, FontMetrics metrics);

// The result block of the list dialog: room for the digit, the count and every row number,
// each with its CR, and the NUL.
size_t ListResultSize(int32_t rows);

// Writes into a fixed block and never past it; the last byte stays NUL.
class ResultWriter {
 public:
  ResultWriter(char* block, size_t capacity) : block_(block), capacity_(capacity) {}
  void Put(char c);
  void Line(uint32_t number);  // decimal, then a CR
  size_t Length() const { return length_; }

 private:
  char* block_;
  size_t capacity_;
  size_t length_ = 0;
};

// '0' for the close box, '1'..'3' for the buttons, then a CR.
void WriteButtonDigit(ResultWriter& out, int button);
// Single selection: the selected row's item data + 1, or 0 when there is none.
void WriteSingleSelection(ResultWriter& out, int64_t selectedItemData);
// Multiple selection: the count, then each row's item data + 1 in display order.
void WriteMultipleSelection(ResultWriter& out, uint32_t count, std::span<const uint32_t> itemData);

}  // namespace rxsystem
