// The layout arithmetic and result texts of the prompt and list dialogs, with made-up font
// metrics so that every number can be worked out by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system_services/dialogs/dialog_layout.h"

using namespace rxsystem;

namespace {

constexpr FontMetrics kFont{5, 13};  // 5 pixels average width, 13 pixels a line

struct Box {
  int x, y, cx, cy;
};

void ExpectBox(const ItemLayout& item, Box expected, const std::string& what) {
  SCOPED_TRACE(what);
  EXPECT_EQ(item.x, expected.x);
  EXPECT_EQ(item.y, expected.y);
  EXPECT_EQ(item.cx, expected.cx);
  EXPECT_EQ(item.cy, expected.cy);
}

ButtonSet Buttons(const char* a, const char* b, const char* c, std::vector<int32_t> pixels) {
  ButtonSet set = ChooseButtons(a, b, c);
  for (size_t i = 0; i < pixels.size(); ++i) set.pixelWidths[i] = pixels[i];
  return set;
}

int32_t SevenPerByte(void*, std::string_view text) { return 7 * static_cast<int32_t>(text.size()); }

}  // namespace

TEST(DialogLayout, ButtonsShownFollowTheirTexts) {
  struct Case {
    const char* b1;
    const char* b2;
    const char* b3;
    std::vector<std::string> shown;
  } cases[] = {
      {nullptr, nullptr, nullptr, {"OK"}},
      {"", "", "", {"OK"}},
      {"", "No", "Later", {"OK", "No", "Later"}},
      {"Yes", "", "Later", {"Yes"}},  // Button3 without Button2 is not shown
      {"Yes", "No", nullptr, {"Yes", "No"}},
      // 5
      {"Yes", "No", "Later", {"Yes", "No", "Later"}},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    ButtonSet set = ChooseButtons(c.b1, c.b2, c.b3);
    ASSERT_EQ(set.count, static_cast<int>(c.shown.size()));
    for (int i = 0; i < set.count; ++i) EXPECT_EQ(set.texts[i], c.shown[i]);
  }
}

TEST(DialogLayout, MultiLineFieldsHaveNoDefaultButton) {
  EXPECT_EQ(ShapeEdit(0, 2).lines, 1);
  EXPECT_EQ(ShapeEdit(0, 2).defaultButton, 2);
  EXPECT_EQ(ShapeEdit(-5, 1).lines, 1);
  EXPECT_EQ(ShapeEdit(3, 1).lines, 3);
  EXPECT_EQ(ShapeEdit(3, 1).defaultButton, 0);
}

TEST(DialogLayout, PlainPromptHasOneCentredOkButton) {
  PromptRequest r;
  r.width = 200;
  r.buttons = Buttons(nullptr, nullptr, nullptr, {15});  // 12 units: the button keeps 50
  r.defaultButton = 1;
  DialogLayout d = LayoutPrompt(r, kFont);
  EXPECT_EQ(d.width, 200);
  EXPECT_EQ(d.height, 50);
  ASSERT_EQ(d.count, 2);
  ExpectBox(d.items[0], {8, 8, 184, 12}, "edit");
  EXPECT_EQ(d.items[0].id, kPromptEditId);
  EXPECT_EQ(d.items[0].classAtom, kEditClassAtom);
  EXPECT_EQ(d.items[0].style, kOneLineEditStyle);
  ExpectBox(d.items[1], {75, 28, 50, 14}, "button");  // (200 - 58 + 8) / 2
  EXPECT_EQ(d.items[1].id, kButton1Id);
  EXPECT_EQ(d.items[1].style, kButtonStyle | kDefaultPushButton);
  EXPECT_EQ(d.items[1].text, "OK");
}

TEST(DialogLayout, PromptWithDescriptionLabelAndThreeLines) {
  PromptRequest r;
  r.width = 301;
  r.description = {"Give your name", true, 2};
  r.label = "Name:";
  r.labelPixels = 31;  // 24 units
  // The widest caption sets every button's width: 130 pixels are 104 units, plus 16.
  r.buttons = Buttons("OK", "Cancel", "Help for this dialog", {15, 35, 130});
  const EditShape shape = ShapeEdit(3, 2);
  r.editLines = shape.lines;
  r.defaultButton = shape.defaultButton;
  DialogLayout d = LayoutPrompt(r, kFont);

  // Three 120-unit buttons with their gaps and margins need 3 x 128 + 8 = 392 units: the
  // dialog is widened from 301, and everything under the title spans the new width.
  EXPECT_EQ(d.width, 392);
  EXPECT_EQ(d.height, 42 + 24 + 20);
  ASSERT_EQ(d.count, 6);
  ExpectBox(d.items[0], {8, 8, 376, 16}, "description");
  EXPECT_EQ(d.items[0].style, kStaticCenter);
  EXPECT_EQ(d.items[0].text, "Give your name");
  ExpectBox(d.items[1], {8, 30, 26, 8}, "label");
  EXPECT_EQ(d.items[1].style, kStaticLeft);
  EXPECT_EQ(d.items[1].id, 0);
  ExpectBox(d.items[2], {34, 28, 392 - 34 - 8, 28}, "edit");
  EXPECT_EQ(d.items[2].style, kMultiLineEditStyle);
  const int xs[] = {8, 136, 264};
  for (int i = 0; i < 3; ++i) {
    ExpectBox(d.items[3 + i], {xs[i], 28 + 28 + 8, 120, 14}, "button " + std::to_string(i + 1));
    EXPECT_EQ(d.items[3 + i].style, kButtonStyle) << "no default with several lines";
  }
  EXPECT_EQ(d.textChars, 14u + 5 + 2 + 6 + 20);
}

TEST(DialogLayout, ListRowsColumnsAndTheirWidths) {
  struct Case {
    const char* text;
    int32_t rows, columns;
    bool tooMany;
    std::vector<int32_t> widths;  // first columns, pixels
  } cases[] = {
      {"", 0, 0, false, {0}},
      {"a\rbb\rc", 3, 1, false, {14}},
      {"a\rbb\rc\r", 3, 1, false, {14}},
      {"a\r\rb", 3, 1, false, {7}},
      {"Smith\t42\rJo\t7\t1", 2, 3, false, {35, 14, 7}},
      // 5
      {"a\tb\t", 1, 3, false, {7, 7, 0}},
      {"1\t2\t3\t4\t5\t6\t7\t8\t9\t10", 1, 10, false, {7, 7, 7, 7, 7, 7, 7, 7, 7, 14}},
      {"1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11", 0, 0, true, {}},
      {"ok\r1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\r", 1, 1, true, {}},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.text);
    std::string text = c.text;
    std::array<int32_t, kMaxListColumns> widths{};
    ListScan scan = ScanListRows(text.data(), widths, SevenPerByte, nullptr);
    EXPECT_EQ(scan.tooManyColumns, c.tooMany);
    if (c.tooMany) continue;
    EXPECT_EQ(scan.rows, c.rows);
    EXPECT_EQ(scan.columns, c.columns);
    for (size_t i = 0; i < c.widths.size(); ++i) EXPECT_EQ(widths[i], c.widths[i]) << "column " << i;
  }
}

TEST(DialogLayout, RowsEndInNulsForTheList) {
  std::string text = "c\ra\rb";
  std::array<int32_t, kMaxListColumns> widths{};
  ScanListRows(text.data(), widths, SevenPerByte, nullptr);
  EXPECT_EQ(text, std::string("c\0a\0b", 5));
}

TEST(DialogLayout, HeadingColumns) {
  Heading h;
  ASSERT_TRUE(SplitHeading("", h));
  EXPECT_EQ(h.count, 0);
  ASSERT_TRUE(SplitHeading("Name\tAge\t", h));
  ASSERT_EQ(h.count, 3);
  EXPECT_EQ(h.columns[0], "Name");
  EXPECT_EQ(h.columns[1], "Age");
  EXPECT_EQ(h.columns[2], "");
  EXPECT_TRUE(SplitHeading("1\t2\t3\t4\t5\t6\t7\t8\t9\t10", h));
  EXPECT_FALSE(SplitHeading("1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11", h));
}

TEST(DialogLayout, TabStopsAddUpColumnWidthsAndGaps) {
  std::array<int32_t, kMaxListColumns> widths{70, 35, 14};
  auto stops = ListTabStops(widths, 3, 10, 5);
  EXPECT_EQ(stops[0], 64);       // (70 + 10) x 4 / 5
  EXPECT_EQ(stops[1], 64 + 36);  // (35 + 10) x 4 / 5
  EXPECT_EQ(stops[2], 0);        // the last column needs no stop
  EXPECT_EQ(ListTabStops(widths, 1, 10, 5)[0], 0);
}

TEST(DialogLayout, ListWithHeadingInFixedFont) {
  ListRequest r;
  r.width = 250;
  r.description = {"Choose", false, 1};
  ASSERT_TRUE(SplitHeading("a\tb\tc\td\te\tf\tg", r.heading));
  for (int j = 0; j < 7; ++j) r.columnWidths[j] = 10;  // (10 + 10) x 4 / 5 = 16 units each
  r.gapPixels = 10;
  r.columns = 7;
  r.fixedFont = true;
  r.multipleSelect = true;
  r.sort = true;
  r.listLines = 0;
  r.buttons = Buttons("OK", nullptr, nullptr, {15});
  r.defaultButton = 1;
  DialogLayout d = LayoutList(r, kFont);

  EXPECT_EQ(d.height, 38 + 80 + 12 + 10);
  ASSERT_EQ(d.count, 1 + 7 + 1 + 1);
  ExpectBox(d.items[0], {8, 8, 234, 8}, "description");
  EXPECT_EQ(d.items[0].style, kStaticLeft);
  const int xs[] = {10, 26, 42, 58, 74, 91, 107};  // the sixth one unit further right
  for (int j = 0; j < 7; ++j) {
    ExpectBox(d.items[1 + j], {xs[j], 20, 16, 8}, "heading " + std::to_string(j));
    EXPECT_EQ(d.items[1 + j].classAtom, kStaticClassAtom);
  }
  const ItemLayout& list = d.items[8];
  ExpectBox(list, {8, 30, 234, 80}, "list");
  EXPECT_EQ(list.id, kListId);
  EXPECT_EQ(list.style, kListStyle | kListExtendedSelection | kListSort | kListUseTabStops);
  ExpectBox(d.items[9], {100, 118, 50, 14}, "button");
  EXPECT_EQ(d.items[9].style, kButtonStyle | kDefaultPushButton);
}

TEST(DialogLayout, PlainListHasNoTabStopsStyle) {
  ListRequest r;
  r.width = 100;
  r.columns = 1;
  r.listLines = 4;
  r.buttons = Buttons("A", "B", nullptr, {10, 10});
  r.defaultButton = 7;  // names no button
  DialogLayout d = LayoutList(r, kFont);
  // Two 50-unit buttons need 2 x 58 + 8 = 124 units, more than the 100 given.
  EXPECT_EQ(d.width, 124);
  EXPECT_EQ(d.height, 38 + 32);
  ASSERT_EQ(d.count, 3);
  EXPECT_EQ(d.items[0].style, kListStyle);
  ExpectBox(d.items[0], {8, 8, 108, 32}, "list");
  ExpectBox(d.items[1], {8, 48, 50, 14}, "button 1");
  ExpectBox(d.items[2], {66, 48, 50, 14}, "button 2");
  EXPECT_EQ(d.items[1].style, kButtonStyle);
  EXPECT_EQ(d.items[2].style, kButtonStyle);
}

TEST(DialogLayout, ButtonsThatDoNotFitWidenTheDialog) {
  struct Case {
    int32_t width;
    int count;
    int32_t pixels;  // each caption, with its NUL
    int widened;     // the dialog's width
    int firstX;
  };
  const Case cases[] = {
      // "Save and continue", "Discard my answers", "Cancel": 70 + 16 = 86 units each, where
      // the author's 160 would put the first at -57.
      {160, 3, 88, 3 * 94 + 8, 8},
      {3 * 94 + 8, 3, 88, 3 * 94 + 8, 8},      // just fits: as given
      {3 * 94 + 7, 3, 88, 3 * 94 + 8, 8},      // one unit short
      {400, 3, 88, 400, (400 - 282 + 8) / 2},  // room to spare: centred as ever
      {160, 2, 10, 160, (160 - 116 + 8) / 2},
      // 5
      {60, 1, 10, 66, 8},
      {0, 1, 10, 66, 8},
      {-20, 2, 10, 124, 8},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row));
    const std::vector<int32_t> pixels(static_cast<size_t>(c.count), c.pixels);
    const ButtonSet buttons = Buttons("A", c.count > 1 ? "B" : "", c.count > 2 ? "C" : "", pixels);
    PromptRequest prompt;
    prompt.width = c.width;
    prompt.buttons = buttons;
    ListRequest list;
    list.width = c.width;
    list.buttons = buttons;
    list.listLines = 4;
    for (const DialogLayout& d : {LayoutPrompt(prompt, kFont), LayoutList(list, kFont)}) {
      EXPECT_EQ(d.width, c.widened);
      ASSERT_EQ(d.count, 1 + c.count);
      // The edit or the list spans the dialog's width, 8 units in from each edge.
      EXPECT_EQ(d.items[0].x, 8);
      EXPECT_EQ(d.items[0].x + d.items[0].cx, c.widened - 8);
      const int w = d.items[1].cx;
      for (int i = 0; i < c.count; ++i) {
        const ItemLayout& b = d.items[static_cast<size_t>(1 + i)];
        EXPECT_EQ(b.x, c.firstX + i * (w + 8)) << "button " << i + 1;
        EXPECT_GE(b.x, 8) << "button " << i + 1;
        EXPECT_LE(b.x + b.cx, c.widened - 8) << "button " << i + 1;
      }
    }
  }
}

TEST(DialogLayout, LongLabelsWidenThePromptForItsField) {
  // With 5-pixel characters a label of p pixels is p x 4 / 5 + 2 units wide and its field
  // starts 8 units after it; the dialog needs that start, 48 units of field and 8 of margin.
  struct Case {
    int32_t width;
    int32_t labelPixels;
    int32_t descriptionLines;  // 0: no description
    int32_t editLines;
    int buttons;  // of 88 pixels each (86 units) when more than one, else one "OK"
    int widened;  // the dialog's width
    int editX, editCx;
    // clang-format off
  } cases[] = {
      // The label of the certificate prompt: 202 units, past the 160-unit dialog.
      {160, 250, 0, 1, 1, 266, 210, 48},
      {160, 250, 2, 1, 1, 266, 210, 48},
      {160, 250, 0, 3, 1, 266, 210, 48},
      {160, 125, 0, 1, 1, 166, 110, 48},  // leaves 42 units, short of 48
      {160, 119, 1, 4, 1, 161, 105, 48},  // one unit short
      // 5
      {160, 118, 0, 1, 1, 160, 104, 48},  // just fits: as given
      {160, 118, 3, 2, 1, 160, 104, 48},
      {160, 40, 0, 1, 1, 160, 42, 110},   // room to spare: as given
      {0, 40, 0, 1, 1, 98, 42, 48},
      // Three wide buttons need 290 units: the larger of the two widths wins.
      {160, 250, 0, 1, 3, 290, 210, 72},
      // 10
      {160, 300, 1, 3, 3, 306, 250, 48},
  };
  // clang-format on
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row));
    PromptRequest r;
    r.width = c.width;
    if (c.descriptionLines > 0) r.description = {"Certificate", false, c.descriptionLines};
    r.label = "Type your full name:";
    r.labelPixels = c.labelPixels;
    r.buttons = c.buttons > 1 ? Buttons("A", "B", "C", {88, 88, 88}) : Buttons("OK", nullptr, nullptr, {15});
    r.editLines = c.editLines;
    const DialogLayout d = LayoutPrompt(r, kFont);
    const bool description = c.descriptionLines > 0;
    ASSERT_EQ(d.count, (description ? 1 : 0) + 2 + c.buttons);

    EXPECT_EQ(d.width, c.widened);
    EXPECT_EQ(d.height, 42 + 8 * c.editLines + (description ? 8 * c.descriptionLines + 4 : 0));
    const int y0 = description ? 8 * c.descriptionLines + 12 : 8;
    if (description) ExpectBox(d.items[0], {8, 8, c.widened - 16, 8 * c.descriptionLines}, "description");
    const ItemLayout& label = d.items[description ? 1 : 0];
    const ItemLayout& edit = d.items[description ? 2 : 1];
    ExpectBox(label, {8, y0 + 2, c.editX - 8, 8}, "label");
    ExpectBox(edit, {c.editX, y0, c.editCx, 8 * c.editLines + 4}, "edit");
    EXPECT_EQ(edit.id, kPromptEditId);
    EXPECT_EQ(edit.style, c.editLines > 1 ? kMultiLineEditStyle : kOneLineEditStyle);
    // The field stands whole inside the dialog, after its label, never narrower than the least.
    EXPECT_LE(edit.x + edit.cx, d.width - 8);
    EXPECT_GE(edit.cx, kMinPromptEditWidth);
    EXPECT_EQ(label.x + label.cx, edit.x);

    // The buttons are centred in the final width.
    const ItemLayout& first = d.items[static_cast<size_t>(d.count - c.buttons)];
    const int w = first.cx;
    EXPECT_EQ(first.x, (c.widened - (w + 8) * c.buttons + 8) / 2);
    EXPECT_EQ(first.y, y0 + 8 * c.editLines + 4 + 8);
    const ItemLayout& last = d.items[static_cast<size_t>(d.count - 1)];
    EXPECT_GE(first.x, 8);
    EXPECT_LE(last.x + last.cx, d.width - 8);
  }
}

TEST(DialogLayout, HugeArgumentsClampInsteadOfWrapping) {
  PromptRequest r;
  r.width = 0x7FFFFFFF;
  r.description = {"x", false, 0x7FFFFFFF};
  r.buttons = Buttons(nullptr, nullptr, nullptr, {0x7FFFFFFF});
  r.editLines = 0x7FFFFFFF;
  DialogLayout d = LayoutPrompt(r, kFont);
  EXPECT_EQ(d.height, 32767);
  EXPECT_EQ(d.items[0].cx, 32767);
  EXPECT_EQ(DialogX(0x7FFFFFFF, FontMetrics{1, 1}), 0x7FFFFFFF);
  EXPECT_EQ(TemplateShort(-40000), -32768);
}

TEST(DialogLayout, ResultBlockHasRoomForEveryNumber) {
  struct Case {
    int32_t rows;
    size_t size;
  } cases[] = {
      {0, 8},
      {99, 305},
      {100, 409},
      {999, 4005},
      {1000, 5010},
      // 5
      {9999, 50005},
      {10000, 60011},
      {99999, 600005},
      {100000, 700012},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("rows " + std::to_string(c.rows));
    EXPECT_EQ(ListResultSize(c.rows), c.size);
    // The fullest text: the digit, every row selected, the largest numbers.
    std::string block(ListResultSize(c.rows), 'x');
    ResultWriter out(block.data(), block.size());
    WriteButtonDigit(out, 3);
    std::vector<uint32_t> all(static_cast<size_t>(c.rows));
    for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<uint32_t>(all.size() - 1);
    WriteMultipleSelection(out, static_cast<uint32_t>(c.rows), all);
    EXPECT_EQ(out.Length(), 2 + (std::to_string(c.rows).size() + 1) * (all.size() + 1));
  }
}

TEST(DialogLayout, ResultTexts) {
  char block[32];
  auto text = [&](auto write) {
    std::fill(std::begin(block), std::end(block), 'x');
    ResultWriter out(block, sizeof block);
    write(out);
    return std::string(block);
  };
  EXPECT_EQ(text([](ResultWriter& o) {
              WriteButtonDigit(o, 2);
              WriteSingleSelection(o, 1);
            }),
            "2\r2\r");
  EXPECT_EQ(text([](ResultWriter& o) {
              WriteButtonDigit(o, 0);
              WriteSingleSelection(o, -1);
            }),
            "0\r0\r");
  const uint32_t rows[] = {0, 2};
  EXPECT_EQ(text([&](ResultWriter& o) {
              WriteButtonDigit(o, 1);
              WriteMultipleSelection(o, 2, rows);
            }),
            "1\r2\r1\r3\r");
  EXPECT_EQ(text([](ResultWriter& o) {
              WriteButtonDigit(o, 1);
              WriteMultipleSelection(o, 0, {});
            }),
            "1\r0\r");

  char small[4] = {'x', 'x', 'x', 'x'};
  ResultWriter out(small, sizeof small);
  WriteButtonDigit(out, 1);
  WriteSingleSelection(out, 41);
  EXPECT_EQ(std::string(small, 4), std::string("1\r4\0", 4)) << "never past the block";
}
