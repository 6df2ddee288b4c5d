// The library's shared code linked into the test itself, started as the host's loading of
// the library starts it, with a presentation window of the stand-in host to answer the
// host-variable messages and own the boxes.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include "stand_in_host.h"
#include "system_services/host/host_interface.h"

namespace rxsystem_tests {

class LibraryInProcess : public ::testing::Test {
 protected:
  void SetUp() override { rxsystem::LibraryEntry(GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH, nullptr); }
  rxsystem::HostContext Context() { return rxsystem::HostContext{0, window.Handle(), 0}; }

  authorware_host::VariableStore store;
  authorware_host::PresentationWindow window{store};
};

}  // namespace rxsystem_tests
