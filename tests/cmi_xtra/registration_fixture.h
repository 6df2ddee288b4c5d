// The stand-in Director host with the Xtra loaded, as every registration test starts: and
// at the end nothing left alive, no freed block written to, no block freed twice.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "director_host.h"

namespace registration_fixture {

inline std::string IdText(const moa::MoaId& id) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", id.data1, id.data2,
                id.data3, id.data4[0], id.data4[1], id.data4[2], id.data4[3], id.data4[4], id.data4[5],
                id.data4[6], id.data4[7]);
  return buffer;
}

class Registration : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(host.Loaded()) << "LMINT.x32 did not load with its five exports"; }
  void TearDown() override {
    EXPECT_EQ(host.canUnloadNow(), moa::errNone) << "objects left alive";
    EXPECT_TRUE(host.allocator.PoisonIntact()) << "a freed block was written to";
    EXPECT_EQ(host.allocator.badFrees, 0);
  }
  director_host::DirectorHost host;
};

}  // namespace registration_fixture
