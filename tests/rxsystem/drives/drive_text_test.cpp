// The drive family's texts: a drive's root from its name, and host paths in the 260-byte
// path buffers.
#include "system_services/drives/drive_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace rxsystem;

namespace {

constexpr size_t kCapacity = 260;

TEST(DriveText, RootFromTheFirstCharacter) {
  char root[4];
  ASSERT_EQ(DriveRoot("d:\\data", root), root);
  EXPECT_STREQ(root, "d:\\");
  ASSERT_EQ(DriveRoot("Q", root), root);
  EXPECT_STREQ(root, "Q:\\");
  EXPECT_EQ(DriveRoot("", root), nullptr);
  EXPECT_EQ(DriveRoot(nullptr, root), nullptr);
}

TEST(DriveText, PathsFitTheirBufferWholeOrNotAtAll) {
  struct Case {
    std::string name;
    bool copied;
    std::string closed;  // the disk-space root; empty when it does not fit
  };
  const Case cases[] = {
      {"C:", true, "C:\\"},
      {"C:\\", true, "C:\\"},
      {"\\\\server\\share", true, "\\\\server\\share\\"},
      {"C", true, "C\\"},
      {std::string(258, 'a'), true, std::string(258, 'a') + "\\"},
      // 5
      {std::string(259, 'a'), true, ""},
      {std::string(258, 'a') + "\\", true, std::string(258, 'a') + "\\"},
      {std::string(260, 'a'), false, ""},
  };
  for (size_t row = 0; row < std::size(cases); ++row) {
    const Case& c = cases[row];
    SCOPED_TRACE("row " + std::to_string(row));
    char buffer[kCapacity] = "old";
    EXPECT_EQ(CopyToBuffer(c.name.c_str(), buffer, kCapacity), c.copied);
    EXPECT_EQ(std::string(buffer), c.copied ? c.name : "old");
    char root[kCapacity] = "old";
    EXPECT_EQ(ClosedDriveRoot(c.name.c_str(), root, kCapacity), !c.closed.empty());
    EXPECT_EQ(std::string(root), c.closed.empty() ? "old" : c.closed);
  }
}

}  // namespace
