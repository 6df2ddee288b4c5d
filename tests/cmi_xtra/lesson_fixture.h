// The tests of lessons through the stand-in Director host: the Xtra registered with a fresh
// host, a scratch folder for the lesson's files, and the launch file the library reads, which
// is removed after each test. At the end the host's allocator finds every block's guards
// intact.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "director_host.h"

namespace director_host {

class LessonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.Loaded());
    ASSERT_EQ(host.Register(), moa::errNone);
  }
  void TearDown() override {
    RemoveFile(launch);
    EXPECT_TRUE(host.allocator.PoisonIntact());
  }

 public:
  // Public for the checks that the cases hand a fixture to.
  DirectorHost host;
  ScratchDirectory dir;
  const std::string launch = LaunchFilePath();
};

}  // namespace director_host
