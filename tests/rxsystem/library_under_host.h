// RXSystem.dll as the stand-in Authorware host loads it, for the tests that call the exports
// from outside the library: its path in this build, and the fixtures that load it afresh for
// each test. At the end, whatever the host's window found wrong in the records the library
// sent it fails the test.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "scratch_folder.h"
#include "stand_in_host.h"

namespace rxsystem_tests {

inline const std::wstring& LibraryPath() {
  static const std::wstring path = authorware_host::LocalPath(RXSYSTEM_DLL_PATH);
  return path;
}

class LibraryUnderHost : public ::testing::Test {
 protected:
  // The window the exports know as 0: the host's presentation window.
  static constexpr uint32_t kHost = 0;

  void SetUp() override { ASSERT_TRUE(host.Load(LibraryPath())) << host.Problems().front(); }
  void TearDown() override {
    for (const std::string& p : host.window.recordProblems) ADD_FAILURE() << "record: " << p;
  }
  HWND Host() const { return host.window.Handle(); }

  authorware_host::StandInHost host;
};

// With the library's failures left in TLLastError, where the tests read them, and a folder of
// the test's own for the files the exports work on.
class LibraryInScratchFolder : public LibraryUnderHost {
 protected:
  explicit LibraryInScratchFolder(const std::string& prefix) : scratch(prefix) {}
  void SetUp() override {
    LibraryUnderHost::SetUp();
    if (HasFatalFailure()) return;
    host.variables.Set("TLHideErrors", 1);
    ASSERT_TRUE(scratch.Made()) << base;
  }

  testing_support::ScratchFolder scratch;
  const std::string base = scratch.Path();
};

}  // namespace rxsystem_tests
