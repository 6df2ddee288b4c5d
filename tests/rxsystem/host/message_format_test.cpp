// Messages are formatted by the print rules the texts were written for, but never past
// their buffer and never from a value that was not passed.
#include "system_services/host/message_format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system_services/host/message_table.h"

using namespace rxsystem;

namespace {

std::string Format(size_t capacity, std::string_view format, std::vector<FormatArg> values) {
  std::vector<char> buffer(capacity + 8, '#');
  size_t n = FormatBounded(buffer.data(), capacity, format, values);
  EXPECT_LT(n, capacity == 0 ? 1 : capacity);
  for (size_t i = capacity; i < buffer.size(); ++i)
    EXPECT_EQ(buffer[i], '#') << "written past the buffer at " << i;
  if (capacity == 0) return "";
  EXPECT_EQ(buffer[n], '\0');
  return std::string(buffer.data(), n);
}

TEST(FormatBounded, ConversionsOfTheMessageTexts) {
  struct Case {
    std::string_view format;
    std::vector<FormatArg> values;
    std::string expected;
  };
  const Case cases[] = {
      {"Error deleting file \"%s\".", {"c:\\a.txt"}, "Error deleting file \"c:\\a.txt\"."},
      {"File and directory names cannot contain the character \"%c\".",
       {'|'},
       "File and directory names cannot contain the character \"|\"."},
      {"cannot exceed %d characters", {255}, "cannot exceed 255 characters"},
      {"Error opening \"%s\". Error %d occurred",
       {"x.doc", 42},
       "Error opening \"x.doc\". Error 42 occurred"},
      {"Unknown error %d.", {-7}, "Unknown error -7."},
      // 5
      {"%d:%02d:%02d", {14, 5, 9}, "14:05:09"},
      {"[%5s|%-5s|%.2s]", {"ab", "cd", "efgh"}, "[   ab|cd   |ef]"},
      {"%u %x %X %#x", {-1, 255, 255, 255}, "4294967295 ff FF 0xff"},
      {"%i%%", {50}, "50%"},
      {"%ld %hd", {7, 8}, "7 8"},
      // 10
      {"%s", {static_cast<const char*>(nullptr)}, "(null)"},
      {"%s and %s", {"one"}, "one and "},  // a missing value shows nothing
      {"%q %", {}, "%q %"},
      {"%d", {-2147483647 - 1}, "-2147483648"},
      {"%.5d|%05d|%-4d|", {42, -42, 7}, "00042|-0042|7   |"},
      // 15
      {"%c", {0}, ""},  // a NUL character would end the message early
      {"%s", {123}, "123"},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + std::string(c.format));
    EXPECT_EQ(Format(c.expected.size() + 1, c.format, c.values), c.expected);
    // Exactly one character too little cuts the last character only.
    if (!c.expected.empty()) {
      EXPECT_EQ(Format(c.expected.size(), c.format, c.values), c.expected.substr(0, c.expected.size() - 1));
    }
  }
}

TEST(FormatBounded, LongHostTextIsCutAtTheBuffer) {
  std::string longName(1000, 'n');
  std::string text = Format(404, *MessageById(kErrorDeletingFile), {longName.c_str()});
  ASSERT_EQ(text.size(), 403u);
  EXPECT_EQ(text.substr(0, 21), "Error deleting file \"");
  EXPECT_EQ(text.back(), 'n');
  // Host text is a value, never a format: its directives are shown as they are.
  EXPECT_EQ(Format(404, *MessageById(kErrorDeletingFile), {"%s%n%d"}), "Error deleting file \"%s%n%d\".");
  EXPECT_EQ(Format(10, "%99999999999999999999d", {1}), std::string(9, ' '));
  EXPECT_EQ(Format(1, "abc", {}), "");
  EXPECT_EQ(Format(0, "abc", {}), "");
}

}  // namespace
