// The confinement rectangle of SysRestrictCursor, seen through the library's clip seam: the
// two corners are client points of the host window, each converted to the screen on its own.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "library_in_process.h"
#include "scoped_seam.h"
#include "stand_in_host.h"
#include "system_services/windows/window_services.h"

using namespace rxsystem;

namespace {

// Every confinement asked for; nullopt for a release.
std::vector<std::optional<RECT>> clips;

BOOL WINAPI RecordClip(const RECT* area) {
  clips.push_back(area ? std::optional<RECT>(*area) : std::nullopt);
  return TRUE;
}

class CursorClip : public rxsystem_tests::LibraryInProcess {
 protected:
  void SetUp() override {
    LibraryInProcess::SetUp();
    clips.clear();
    SetWindowPos(window.Handle(), nullptr, 130, 90, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  testing_support::ScopedSeam<CursorClipSeam> clip{ReplaceCursorClipSeam, {&RecordClip}};
};

TEST_F(CursorClip, RestrictConvertsEachCornerFromTheHostClientArea) {
  struct Case {
    int32_t left, top, right, bottom;
  };
  const Case cases[] = {
      {10, 20, 110, 220},
      {0, 0, 1, 1},
      {-15, -25, 40, 30},  // corners outside the client area convert all the same
      {200, 150, 50, 40},  // as given: the window manager orders the corners itself
  };
  const HostContext context = Context();
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    clips.clear();
    SysRestrictCursor(&context, c.left, c.top, c.right, c.bottom);
    POINT a{c.left, c.top};
    POINT b{c.right, c.bottom};
    ClientToScreen(window.Handle(), &a);
    ClientToScreen(window.Handle(), &b);
    ASSERT_EQ(clips.size(), 1u);
    ASSERT_TRUE(clips[0].has_value());
    EXPECT_EQ(clips[0]->left, a.x);
    EXPECT_EQ(clips[0]->top, a.y);
    EXPECT_EQ(clips[0]->right, b.x);
    EXPECT_EQ(clips[0]->bottom, b.y);
  }
  EXPECT_NE(clips[0]->left, 200) << "the host window is not at the screen's origin";
}

TEST_F(CursorClip, ReleaseLiftsTheConfinement) {
  const HostContext context = Context();
  SysRestrictCursor(&context, 1, 2, 3, 4);
  SysReleaseCursor(&context);
  ASSERT_EQ(clips.size(), 2u);
  EXPECT_FALSE(clips[1].has_value());
}

TEST_F(CursorClip, AHostWindowThatIsGoneConfinesNothing) {
  HWND gone =
      CreateWindowExW(0, L"STATIC", L"gone", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  const HostContext context{0, gone, 0};
  SysRestrictCursor(&context, 10, 20, 110, 220);
  EXPECT_TRUE(clips.empty());
}

}  // namespace
