// The window family under the stand-in host, on real windows: veru states, z-order, place and
// size against the screen, titles, close requests, the presentation window's style words,
// menu item states and finding windows by class and title. WindowID 0 is always the host's
// presentation window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "box_catcher.h"
#include "library_under_host.h"
#include "stand_in_host.h"
#include "test_windows.h"

using namespace authorware_host;
using rxsystem_tests::IdOf;
using rxsystem_tests::TestWindow;
using rxsystem_tests::ThreadWindow;

namespace {

struct Placement {
  UINT showCmd = 0;
  bool visible = false;
  bool iconic = false;
  bool zoomed = false;
};

Placement PlacementOf(HWND window) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(window, &wp);
  return {wp.showCmd, IsWindowVisible(window) != FALSE, IsIconic(window) != FALSE, IsZoomed(window) != FALSE};
}

bool Topmost(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// True when `upper` stands above `lower` in the z-order.
bool Above(HWND upper, HWND lower) {
  for (HWND w = GetWindow(lower, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
    if (w == upper) return true;
  return false;
}

RECT RectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

std::string TextOf(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

class WindowFamily : public rxsystem_tests::LibraryUnderHost {
 protected:
  void SetUp() override {
    LibraryUnderHost::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_NE(window.Handle(), nullptr);
  }

  TestWindow window;
};

TEST_F(WindowFamily, VeruStatesOfTheHostWindowAndAnother) {
  struct Step {
    const char* call;
    bool visible;
    bool minimized;
    bool maximized;
  };
  // Xvfb runs no window manager: Wine then minimises and maximises the unmanaged window
  // itself, and the placement, the style bits and visibility read back as on Windows.
  const Step steps[] = {
      {"SysVeruWindow", true, false, false},
      {"SysMaximizeWindow", true, false, true},
      {"SysSetWindowNormal", true, false, false},
      {"SysMinimizeWindow", true, true, false},
      {"SysSetWindowNormal", true, false, false},
      // 5
      {"SysHideWindow", false, false, false},
      {"SysMinimizeWindow", true, true, false},
      {"SysMaximizeWindow", true, false, true},
      {"SysHideWindow", false, false, true},  // hidden, it keeps its maximised state
      {"SysSetWindowNormal", true, false, false},
  };
  for (bool onHost : {true, false}) {
    HWND target = onHost ? Host() : window.Handle();
    HWND other = onHost ? window.Handle() : Host();
    const uint32_t id = onHost ? kHost : window.Id();
    int row = 0;
    for (const Step& s : steps) {
      SCOPED_TRACE(std::string(onHost ? "WindowID 0, " : "another window, ") + "row " +
                   std::to_string(row++) + ": " + s.call);
      const Placement otherBefore = PlacementOf(other);
      host.Call<void>(s.call, id);
      const Placement p = PlacementOf(target);
      EXPECT_EQ(p.visible, s.visible);
      EXPECT_EQ(p.iconic, s.minimized);
      EXPECT_EQ(p.zoomed, s.maximized);
      if (s.visible) {
        const UINT expected = s.minimized ? SW_SHOWMINIMIZED : s.maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        EXPECT_EQ(p.showCmd, expected);
      }
      EXPECT_EQ(host.Call<int32_t>("SysIsWindowVisible", id) != 0, s.visible);
      EXPECT_EQ(host.Call<int32_t>("SysIsWindowMinimized", id), s.minimized ? 1 : 0);
      EXPECT_EQ(host.Call<int32_t>("SysIsWindowMaximized", id), s.maximized ? 1 : 0);
      const Placement otherAfter = PlacementOf(other);
      EXPECT_EQ(otherAfter.visible, otherBefore.visible) << "the other window is left alone";
      EXPECT_EQ(otherAfter.showCmd, otherBefore.showCmd);
    }
  }
  EXPECT_TRUE(host.window.traffic.empty()) << "nothing here asks the host";
}

TEST_F(WindowFamily, AnInvalidWindowHasNoEffectAndAnswersNo) {
  HWND gone =
      CreateWindowExW(0, L"STATIC", L"gone", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  const uint32_t id = IdOf(gone);
  DestroyWindow(gone);
  for (const char* call : {"SysVeruWindow", "SysMaximizeWindow", "SysMinimizeWindow", "SysSetWindowNormal",
                           "SysSetWindowAboveAll", "SysSetWindowTop", "SysHideWindow", "SysSetActiveWindow"})
    host.Call<void>(call, id);
  EXPECT_EQ(host.Call<int32_t>("SysIsWindowVisible", id), 0);
  EXPECT_EQ(host.Call<int32_t>("SysIsWindowMinimized", id), 0);
  EXPECT_EQ(host.Call<int32_t>("SysIsWindowMaximized", id), 0);
  EXPECT_EQ(host.Call<int32_t>("SysIsWindowActive", id), 0);
  EXPECT_EQ(host.Call<int32_t>("SysPosWindow", id, 1, 2, 1, 1), 0);
  EXPECT_EQ(host.Call<int32_t>("SysSizeWindow", id, 1, 2, 0, 0), 0);
  EXPECT_EQ(host.Call<int32_t>("SysSetWindowTitle", id, "x"), 0);
  EXPECT_EQ(host.Call<int32_t>("SysCloseWindow", id), 0);
  EXPECT_FALSE(IsWindowVisible(Host()));
  EXPECT_FALSE(IsWindowVisible(window.Handle()));
}

TEST_F(WindowFamily, AboveAllLastsUntilNormalAndTopRaisesWithoutMoving) {
  host.Call<void>("SysVeruWindow", kHost);
  host.Call<void>("SysVeruWindow", window.Id());
  const RECT hostRect = RectOf(Host());
  const RECT windowRect = RectOf(window.Handle());

  host.Call<void>("SysSetWindowAboveAll", kHost);
  EXPECT_TRUE(Topmost(Host()));
  EXPECT_FALSE(Topmost(window.Handle()));
  host.Call<void>("SysSetWindowTop", window.Id());
  EXPECT_TRUE(Topmost(Host())) << "raising another window does not end it";
  EXPECT_TRUE(Above(Host(), window.Handle())) << "a topmost window stays above a raised one";

  host.Call<void>("SysSetWindowNormal", kHost);
  EXPECT_FALSE(Topmost(Host()));
  host.Call<void>("SysSetWindowTop", window.Id());
  EXPECT_TRUE(Above(window.Handle(), Host()));
  host.Call<void>("SysSetWindowTop", kHost);
  EXPECT_TRUE(Above(Host(), window.Handle()));

  host.Call<void>("SysSetWindowAboveAll", window.Id());
  EXPECT_TRUE(Topmost(window.Handle()));
  EXPECT_TRUE(Above(window.Handle(), Host()));

  const RECT hostAfter = RectOf(Host());
  const RECT windowAfter = RectOf(window.Handle());
  EXPECT_TRUE(EqualRect(&hostRect, &hostAfter)) << "no move, no size";
  EXPECT_TRUE(EqualRect(&windowRect, &windowAfter));
}

TEST_F(WindowFamily, PosWindowPlacesAgainstTheScreen) {
  enum Edge { Given, Centre, Far };
  struct Case {
    bool onHost;
    int32_t left, top, horizPos, vertPos;
    Edge horizontal, vertical;
  };
  const Case cases[] = {
      {false, 15, 25, 0, 0, Given, Given},
      {false, 15, 25, 1, 1, Centre, Centre},
      {false, 15, 25, 2, 2, Far, Far},
      {false, 15, 25, 3, 1, Given, Centre},  // any other HorizPos keeps Left
      {false, 15, 25, 2, 0, Far, Given},
      // 5
      {false, -40, -30, -1, -2, Given, Given},
      {true, 33, 44, 0, 0, Given, Given},
      {true, 33, 44, 1, 2, Centre, Far},
  };
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    HWND target = c.onHost ? Host() : window.Handle();
    const RECT before = RectOf(target);
    const int width = before.right - before.left;
    const int height = before.bottom - before.top;
    EXPECT_EQ(host.Call<int32_t>("SysPosWindow", c.onHost ? kHost : window.Id(), c.left, c.top, c.horizPos,
                                 c.vertPos),
              0);
    const RECT after = RectOf(target);
    const int left = c.horizontal == Given    ? c.left
                     : c.horizontal == Centre ? (screenWidth - width) / 2
                                              : screenWidth - width;
    const int top = c.vertical == Given    ? c.top
                    : c.vertical == Centre ? (screenHeight - height) / 2
                                           : screenHeight - height;
    EXPECT_EQ(after.left, left);
    EXPECT_EQ(after.top, top);
    EXPECT_EQ(after.right - after.left, width) << "the size is kept";
    EXPECT_EQ(after.bottom - after.top, height);
  }
}

TEST_F(WindowFamily, PosWindowCentresAWindowWiderThanTheScreenLeftOfIt) {
  // A pop-up without a sizing frame, which the window manager lets grow beyond the screen.
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  TestWindow wide({.menuBar = false, .style = WS_POPUP | WS_BORDER, .width = screenWidth + 101});
  ASSERT_EQ(RectOf(wide.Handle()).right - RectOf(wide.Handle()).left, screenWidth + 101);
  host.Call<int32_t>("SysPosWindow", wide.Id(), 7, 9, 1, 0);
  EXPECT_EQ(RectOf(wide.Handle()).left, -50) << "-101 halved towards zero";
  EXPECT_EQ(RectOf(wide.Handle()).top, 9);
  host.Call<int32_t>("SysPosWindow", wide.Id(), 7, 9, 2, 0);
  EXPECT_EQ(RectOf(wide.Handle()).left, -101);
}

TEST_F(WindowFamily, SizeWindowTakesPixelsOrPercentagesPerAxis) {
  struct Case {
    bool onHost;
    int32_t width, height, horizPercent, vertPercent;
  };
  const Case cases[] = {
      {true, 640, 480, 50, 0},  // half the screen wide and 480 high
      {true, 300, 200, 0, 0},
      {false, 640, 480, 0, 25},
      {false, 10, 10, 30, 40},
      {false, 250, 150, -5, -5},
      // 5
      {false, 400, 300, 0, 100},
  };
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    HWND target = c.onHost ? Host() : window.Handle();
    const RECT before = RectOf(target);
    EXPECT_EQ(host.Call<int32_t>("SysSizeWindow", c.onHost ? kHost : window.Id(), c.width, c.height,
                                 c.horizPercent, c.vertPercent),
              0);
    const RECT after = RectOf(target);
    EXPECT_EQ(after.right - after.left, c.horizPercent > 0 ? c.horizPercent * screenWidth / 100 : c.width);
    EXPECT_EQ(after.bottom - after.top, c.vertPercent > 0 ? c.vertPercent * screenHeight / 100 : c.height);
    EXPECT_EQ(after.left, before.left) << "the position is kept";
    EXPECT_EQ(after.top, before.top);
  }
}

TEST_F(WindowFamily, SetWindowTitle) {
  struct Case {
    bool onHost;
    const char* title;
    std::string expected;
  };
  const Case cases[] = {
      {false, "Experiment 2: waves", "Experiment 2: waves"},
      {false, nullptr, ""},  // a missing title clears it
      {true, "Presentation", "Presentation"},
      {true, "", ""},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    HWND target = c.onHost ? Host() : window.Handle();
    SetWindowTextA(target, "before");
    EXPECT_EQ(host.Call<int32_t>("SysSetWindowTitle", c.onHost ? kHost : window.Id(), c.title), 0);
    EXPECT_EQ(TextOf(target), c.expected);
  }
}

TEST_F(WindowFamily, CloseWindowWaitsUntilTheRequestIsHandled) {
  EXPECT_EQ(host.Call<int32_t>("SysCloseWindow", window.Id()), 0);
  EXPECT_EQ(window.closeRequests, 1);
  EXPECT_EQ(window.otherCloseRequests, 0);
  EXPECT_TRUE(IsWindow(window.Handle())) << "what a close request does is the window's business";

  ThreadWindow slow({.closeDelayMs = 150});
  EXPECT_EQ(host.Call<int32_t>("SysCloseWindow", slow.Id()), 0);
  EXPECT_EQ(slow.Window().closeRequests, 1) << "handled before the call returned";

  // The stand-in presentation window leaves the request to the default handling, which
  // destroys it.
  EXPECT_EQ(host.Call<int32_t>("SysCloseWindow", kHost), 0);
  EXPECT_FALSE(IsWindow(Host()));
}

// The client area the window manager gives a window of this style and size.
SIZE ClientFor(DWORD style, DWORD exStyle, const RECT& frame) {
  RECT r{0, 0, 100, 100};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return {frame.right - frame.left - (r.right - r.left - 100),
          frame.bottom - frame.top - (r.bottom - r.top - 100)};
}

TEST_F(WindowFamily, TitleBarStyleWordsReplaceTheWholeStyle) {
  struct Case {
    uint32_t childWindowFlag;
    const char* call;
    DWORD expected;
  };
  const Case cases[] = {
      {0, "SysHideWindowTitle", 0x96800000},
      {0, "SysVeruWindowTitle", 0x16C80000},
      {1, "SysHideWindowTitle", 0xD6800000},
      {1, "SysVeruWindowTitle", 0x56C80000},
      {0, "SysHideWindowTitle", 0x96800000},
      // 5
      {7, "SysVeruWindowTitle", 0x56C80000},  // any nonzero flag
  };
  // Bits that neither style has must not survive: a sizing frame, the minimise and maximise
  // boxes of the original overlapped style, and one more of the test's own.
  SetWindowLongW(Host(), GWL_STYLE, GetWindowLongW(Host(), GWL_STYLE) | WS_HSCROLL);
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.call);
    HostContext record = host.context;
    record.ChildWindowFlag = c.childWindowFlag;
    host.CallWith<void>(&record, c.call);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(Host(), GWL_STYLE));
    EXPECT_EQ(style, c.expected) << std::hex << style;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window.Handle(), GWL_STYLE)) & WS_CAPTION,
              static_cast<DWORD>(WS_CAPTION))
        << "only the host window changes";
    // The frame follows at once, without waiting for the window to be moved.
    RECT frame;
    RECT client;
    GetWindowRect(Host(), &frame);
    GetClientRect(Host(), &client);
    const SIZE expected = ClientFor(style, GetWindowLongW(Host(), GWL_EXSTYLE), frame);
    EXPECT_EQ(client.right, expected.cx);
    EXPECT_EQ(client.bottom, expected.cy);
  }
}

// The state bits of every item of the test window's menu bar.
std::vector<UINT> MenuStates(HMENU bar) {
  std::vector<UINT> states;
  for (int d = 0; d < rxsystem_tests::kDropDowns; ++d)
    for (int i = 0; i < rxsystem_tests::kItemsIn[d]; ++i)
      states.push_back(GetMenuState(GetSubMenu(bar, d), i, MF_BYPOSITION) &
                       (MF_GRAYED | MF_DISABLED | MF_CHECKED));
  return states;
}

TEST_F(WindowFamily, MenuItemsAreEnabledGreyedAndCheckedByPosition) {
  struct Case {
    bool onHost;
    const char* call;
    int32_t dropDown, item, enable;
    int32_t result;
    UINT state;  // of that item afterwards
  };
  const Case cases[] = {
      {false, "SysEnableMenuItem", 0, 1, 0, 0, MF_GRAYED},
      {false, "SysEnableMenuItem", 0, 1, 1, 0, 0},
      {false, "SysCheckMenuItem", 1, 0, 1, 0, MF_CHECKED},
      {false, "SysCheckMenuItem", 1, 0, 0, 0, 0},
      {false, "SysEnableMenuItem", 1, 1, 0, 0, MF_GRAYED},
      // 5
      {false, "SysCheckMenuItem", 0, 2, 5, 0, MF_CHECKED},  // any nonzero Enable
      {false, "SysEnableMenuItem", 0, 0, -1, 0, 0},
      {true, "SysEnableMenuItem", 0, 2, 0, 0, MF_GRAYED},
      {true, "SysCheckMenuItem", 1, 1, 1, 0, MF_CHECKED},
  };
  HMENU hostBar = rxsystem_tests::MakeMenuBar();
  SetMenu(Host(), hostBar);
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.call);
    HMENU bar = c.onHost ? hostBar : GetMenu(window.Handle());
    HMENU otherBar = c.onHost ? GetMenu(window.Handle()) : hostBar;
    std::vector<UINT> states = MenuStates(bar);
    const std::vector<UINT> otherStates = MenuStates(otherBar);
    EXPECT_EQ(host.Call<int32_t>(c.call, c.onHost ? kHost : window.Id(), c.dropDown, c.item, c.enable),
              c.result);
    int index = c.item;
    for (int d = 0; d < c.dropDown; ++d) index += rxsystem_tests::kItemsIn[d];
    states[index] = c.state;
    EXPECT_EQ(MenuStates(bar), states) << "that item, and only that one";
    EXPECT_EQ(MenuStates(otherBar), otherStates);
  }
}

TEST_F(WindowFamily, MenuItemsOutOfReachAnswerMinusOneAndChangeNothing) {
  struct Case {
    const char* what;
    int32_t dropDown, item;
  };
  // clang-format off
  const Case cases[] = {
      {"drop-down past the end", 2, 0},
      {"negative drop-down", -1, 0},
      {"item past the end", 1, 2},
      {"negative item", 0, -1},
      {"far item", 0, 0x10000},
  };
  // clang-format on
  const std::vector<UINT> before = MenuStates(GetMenu(window.Handle()));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const char* call : {"SysEnableMenuItem", "SysCheckMenuItem"})
      for (int32_t enable : {0, 1})
        EXPECT_EQ(host.Call<int32_t>(call, window.Id(), c.dropDown, c.item, enable), -1) << call;
  }
  EXPECT_EQ(MenuStates(GetMenu(window.Handle())), before);

  // The presentation window has no menu bar.
  EXPECT_EQ(host.Call<int32_t>("SysEnableMenuItem", kHost, int32_t{0}, int32_t{0}, int32_t{0}), -1);
  EXPECT_EQ(host.Call<int32_t>("SysCheckMenuItem", kHost, int32_t{0}, int32_t{0}, int32_t{1}), -1);
  EXPECT_TRUE(host.window.traffic.empty()) << "-1 alone: nothing reported";
}

TEST_F(WindowFamily, FindWindowByClassAndTitle) {
  // A class of this process alone, so that the class by itself names one window.
  const std::wstring ownClass = rxsystem_tests::UniqueTitle(L"class");
  TestWindow own({.className = ownClass.c_str()});
  const std::string ownClassName(ownClass.begin(), ownClass.end());
  const std::string title = own.NarrowTitle();
  struct Case {
    const char* className;
    const char* title;
    uint32_t expected;
  };
  const Case cases[] = {
      {ownClassName.c_str(), title.c_str(), own.Id()},
      {"", title.c_str(), own.Id()},
      {nullptr, title.c_str(), own.Id()},
      {ownClassName.c_str(), "", own.Id()},
      {ownClassName.c_str(), nullptr, own.Id()},
      // 5
      {"RXSystemWindowTest", title.c_str(), 0},  // the title is there, but in another class
      {ownClassName.c_str(), "No such title", 0},
      {"", "No such title at all", 0},
      {"NoSuchClassAnywhere", "", 0},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    EXPECT_EQ(host.Call<uint32_t>("SysFindWindow", c.className, c.title), c.expected);
  }
  // With both names absent the window manager answers with some top-level window.
  HWND any =
      reinterpret_cast<HWND>(static_cast<uintptr_t>(host.Call<uint32_t>("SysFindWindow", "", nullptr)));
  EXPECT_TRUE(IsWindow(any));
  EXPECT_EQ(GetAncestor(any, GA_PARENT), GetDesktopWindow());
}

TEST_F(WindowFamily, GetWindowClassOfATitle) {
  // Class names run to 256 characters; the block keeps the first 99.
  const std::wstring longClass = rxsystem_tests::UniqueTitle(L"c") + std::wstring(150, L'x');
  TestWindow longOne({.className = longClass.c_str()});
  struct Case {
    std::string title;
    std::string expected;
  };
  const Case cases[] = {
      {window.NarrowTitle(), "RXSystemWindowTest"},
      {longOne.NarrowTitle(), std::string(longClass.begin(), longClass.begin() + 99)},
      {"Authorware stand-in presentation", "AuthorwareStandInPresentation"},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    HostString s = host.Call<HostString>("SysGetWindowClass", c.title.c_str());
    ASSERT_TRUE(s.present);
    EXPECT_EQ(s.text, c.expected);
    EXPECT_EQ(s.blockSize, 100u);
    EXPECT_TRUE(s.movable);
    EXPECT_EQ(s.lockCount, 0u);
    EXPECT_TRUE(s.freed);
  }
}

TEST_F(WindowFamily, GetWindowClassReportsAMissingTitle) {
  host.variables.Set("TLHideErrors", 1);
  struct Case {
    const char* title;
    std::string message;
  };
  const Case cases[] = {
      {"No such window here", "No window found with name \"No such window here\"."},
      {"", "No window found with name \"\"."},
      {nullptr, "No window found with name \"\"."},
  };
  BoxCatcher catcher;
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    host.variables.Set("TLLastError", std::string());
    EXPECT_FALSE(host.Call<HostString>("SysGetWindowClass", c.title).present);
    EXPECT_EQ(host.variables.Text("TLLastError"), c.message);
  }
  EXPECT_TRUE(catcher.Stop().empty());
}

}  // namespace
