// The window family's exports that reach beyond their own windows: the cursor and its
// confinement, the clipboard, the foreground window, and the error box. They run alone, and
// each test puts the cursor back as it found it.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "box_catcher.h"
#include "child_process.h"
#include "library_under_host.h"
#include "stand_in_host.h"
#include "test_windows.h"

using namespace authorware_host;
using rxsystem_tests::IdOf;
using rxsystem_tests::TestWindow;
using rxsystem_tests::ThreadWindow;

namespace {

POINT CursorNow() {
  POINT p{};
  GetCursorPos(&p);
  return p;
}

RECT ClipNow() {
  RECT r{};
  GetClipCursor(&r);
  return r;
}

RECT ScreenOfHostClient(HWND host, RECT client) {
  POINT a{client.left, client.top};
  POINT b{client.right, client.bottom};
  ClientToScreen(host, &a);
  ClientToScreen(host, &b);
  return {a.x, a.y, b.x, b.y};
}

std::string RectText(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

// Wine's clipboard manager (in the desktop's explorer) opens the clipboard for a moment after
// each change to hand it to X, so an open can fail while nobody of ours holds it. The test's
// own opens wait that moment out; a library call is made once where its refusal is what is
// tested, and until the clipboard is free where its success is.
bool OpenClipboardPatiently(HWND owner) {
  return testing_support::WaitUntil([&] { return OpenClipboard(owner) != FALSE; });
}

// Call the library until the clipboard is free for it: a refusal while Wine's manager holds it
// for a moment is not the library's answer.
int32_t TextToClipboardWhenFree(StandInHost& host, const char* text) {
  int32_t result = -1;
  testing_support::WaitUntil([&] { return (result = host.Call<int32_t>("SysTextToClipboard", text)) == 0; });
  return result;
}

HostString ClipboardToTextWhenFree(StandInHost& host) {
  HostString text;
  testing_support::WaitUntil([&] { return (text = host.Call<HostString>("SysClipboardToText")).present; });
  return text;
}

// Places text on the clipboard as another program would, in the given format.
void PutOnClipboard(UINT format, const void* bytes, size_t size) {
  ASSERT_TRUE(OpenClipboardPatiently(nullptr));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(block), bytes, size);
  GlobalUnlock(block);
  SetClipboardData(format, block);
  CloseClipboard();
}

// What the clipboard holds as CF_TEXT, or nothing.
std::optional<std::string> ClipboardText() {
  if (!OpenClipboardPatiently(nullptr)) return std::nullopt;
  std::optional<std::string> text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

class WindowFamilyAlone : public rxsystem_tests::LibraryUnderHost {
 protected:
  void SetUp() override {
    savedCursor_ = CursorNow();
    LibraryUnderHost::SetUp();
    if (HasFatalFailure()) return;
    // A known place on the screen, so that client points have known screen points.
    SetWindowPos(Host(), nullptr, 100, 80, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void TearDown() override {
    ClipCursor(nullptr);
    SetCursorPos(savedCursor_.x, savedCursor_.y);
    LibraryUnderHost::TearDown();
  }

  POINT savedCursor_{};
};

TEST_F(WindowFamilyAlone, SetCursorPosOnTheScreenOrInTheHostWindow) {
  struct Case {
    int32_t left, top, windowRelative;
  };
  // clang-format off
  const Case cases[] = {
      {200, 150, 0},
      {10, 20, 1},
      {0, 0, 1},
      {5, 6, -1},  // any nonzero value is window-relative
      {700, 500, 0},
  };
  // clang-format on
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    POINT expected{c.left, c.top};
    if (c.windowRelative) ClientToScreen(Host(), &expected);
    host.Call<void>("SysSetCursorPos", c.left, c.top, c.windowRelative);
    const POINT now = CursorNow();
    EXPECT_EQ(now.x, expected.x);
    EXPECT_EQ(now.y, expected.y);
  }

  // A host window that is gone converts nothing: the cursor stays rather than jump to the
  // client point taken as a screen point.
  HWND gone =
      CreateWindowExW(0, L"STATIC", L"gone", WS_POPUP, 300, 300, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  HostContext record = host.context;
  record.HostWindow = gone;
  host.Call<void>("SysSetCursorPos", int32_t{250}, int32_t{260}, int32_t{0});
  host.CallWith<void>(&record, "SysSetCursorPos", int32_t{5}, int32_t{5}, int32_t{1});
  EXPECT_EQ(CursorNow().x, 250);
  EXPECT_EQ(CursorNow().y, 260);
}

// The rectangle asked for is checked through the library's clip seam (window_clip_test.cpp):
// Wine without XInput2 refuses every confinement. Here, on the real platform: what it grants
// is that rectangle and holds the cursor inside, and the release lifts it.
TEST_F(WindowFamilyAlone, RestrictCursorToAHostRectangleUntilReleased) {
  // Wine confines the cursor only for the thread of the foreground window.
  ShowWindow(Host(), SW_SHOW);
  SetForegroundWindow(Host());
  const RECT full = ClipNow();
  host.Call<void>("SysRestrictCursor", int32_t{10}, int32_t{20}, int32_t{110}, int32_t{220});
  const RECT expected = ScreenOfHostClient(Host(), {10, 20, 110, 220});
  const RECT clip = ClipNow();
  if (!EqualRect(&clip, &full)) {
    EXPECT_TRUE(EqualRect(&clip, &expected)) << RectText(clip) << " against " << RectText(expected);
    host.Call<void>("SysSetCursorPos", int32_t{0}, int32_t{0}, int32_t{0});
    const POINT inside = CursorNow();
    EXPECT_EQ(inside.x, expected.left);
    EXPECT_EQ(inside.y, expected.top);
  }

  host.Call<void>("SysReleaseCursor");
  const RECT released = ClipNow();
  EXPECT_TRUE(EqualRect(&released, &full)) << RectText(released);
  host.Call<void>("SysSetCursorPos", int32_t{3}, int32_t{4}, int32_t{0});
  EXPECT_EQ(CursorNow().x, 3);
  EXPECT_EQ(CursorNow().y, 4);
}

TEST_F(WindowFamilyAlone, ClipboardRoundTripOfPlainText) {
  const char* text = "Kelmora\tsound speed 343 m/s\r\nline 2";
  EXPECT_EQ(host.Call<int32_t>("SysTextToClipboard", text), 0);
  EXPECT_EQ(ClipboardText(), std::string(text));
  EXPECT_EQ(GetClipboardOwner(), Host()) << "the host window opened and emptied it";

  HostString back = host.Call<HostString>("SysClipboardToText");
  ASSERT_TRUE(back.present);
  EXPECT_EQ(back.text, text);
  EXPECT_EQ(back.blockSize, std::strlen(text) + 1);
  EXPECT_TRUE(back.movable);
  EXPECT_EQ(back.lockCount, 0u);
  EXPECT_TRUE(back.freed);
  EXPECT_EQ(ClipboardText(), std::string(text)) << "reading leaves the clipboard as it was";

  host.Call<void>("SysEmptyClipboard");
  EXPECT_EQ(CountClipboardFormats(), 0);
  EXPECT_FALSE(host.Call<HostString>("SysClipboardToText").present);
  EXPECT_TRUE(host.window.traffic.empty()) << "no text on the clipboard is not an error";
}

TEST_F(WindowFamilyAlone, ClipboardTextPlacedOnlyAsUnicode) {
  // What comes back is the plain text the system makes of it.
  const wchar_t wide[] = L"placed as Unicode";
  PutOnClipboard(CF_UNICODETEXT, wide, sizeof wide);
  EXPECT_EQ(ClipboardToTextWhenFree(host).text, "placed as Unicode");
}

TEST_F(WindowFamilyAlone, TextToClipboardRefusesAMissingTextAndLeavesTheClipboard) {
  PutOnClipboard(CF_TEXT, "kept", 5);
  host.variables.Set("TLHideErrors", 1);
  for (const char* missing : {static_cast<const char*>(nullptr), ""}) {
    host.variables.Set("TLLastError", std::string());
    EXPECT_EQ(host.Call<int32_t>("SysTextToClipboard", missing), -1);
    EXPECT_EQ(host.variables.Text("TLLastError"), "Missing or invalid parameter passed to function.");
    EXPECT_EQ(ClipboardText(), std::string("kept"));
  }

  // Shown as a box when the host does not hide errors.
  host.variables.Set("TLHideErrors", 0);
  BoxCatcher catcher;
  EXPECT_EQ(host.Call<int32_t>("SysTextToClipboard", ""), -1);
  std::vector<SeenBox> seen = catcher.Stop();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, L"RXSystem UCD Error");
  EXPECT_EQ(seen[0].text, L"Missing or invalid parameter passed to function.");
}

TEST_F(WindowFamilyAlone, TextToClipboardFailsWhileAnotherHoldsTheClipboardOpen) {
  PutOnClipboard(CF_TEXT, "theirs", 7);
  enum Holding { kTrying, kHolding, kCouldNotOpen };
  std::atomic<int> holding{kTrying};
  std::atomic<bool> release{false};
  std::thread holder([&] {
    HWND owner =
        CreateWindowExW(0, L"STATIC", L"holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const bool opened = OpenClipboardPatiently(owner);
    holding = opened ? kHolding : kCouldNotOpen;
    while (!release) Sleep(1);
    if (opened) CloseClipboard();
    DestroyWindow(owner);
  });
  // Polled: the atomic wait of this compiler's library, built without futexes, can miss a
  // notification and hang.
  while (holding == kTrying) Sleep(1);
  if (holding == kHolding) {
    EXPECT_EQ(host.Call<int32_t>("SysTextToClipboard", "mine"), -1);
    EXPECT_FALSE(host.Call<HostString>("SysClipboardToText").present);
  }
  release = true;
  holder.join();
  ASSERT_EQ(holding, kHolding) << "the other thread never got the clipboard open";
  EXPECT_EQ(ClipboardText(), std::string("theirs"));
  EXPECT_EQ(TextToClipboardWhenFree(host, "mine"), 0);
  EXPECT_EQ(ClipboardText(), std::string("mine"));
}

TEST_F(WindowFamilyAlone, ActiveWindowOfTheThreadAndForegroundOfTheDesktop) {
  TestWindow window;
  ShowWindow(Host(), SW_SHOW);
  ShowWindow(window.Handle(), SW_SHOW);

  host.Call<void>("SysSetActiveWindow", window.Id());
  EXPECT_EQ(GetForegroundWindow(), window.Handle());
  EXPECT_EQ(host.Call<uint32_t>("SysGetActiveWindow"), window.Id());
  EXPECT_EQ(host.Call<int32_t>("SysIsWindowActive", window.Id()), 1);
  EXPECT_EQ(host.Call<int32_t>("SysIsWindowActive", kHost), 0);

  host.Call<void>("SysSetActiveWindow", kHost);
  EXPECT_EQ(GetForegroundWindow(), Host());
  EXPECT_EQ(host.Call<uint32_t>("SysGetActiveWindow"), IdOf(Host()));
  EXPECT_EQ(host.Call<int32_t>("SysIsWindowActive", kHost), 1);
  EXPECT_EQ(host.Call<int32_t>("SysIsWindowActive", window.Id()), 0);

  // A window of another thread, as another program's would be: the foreground of the
  // desktop, but never the active window of the host's thread.
  ThreadWindow other;
  ShowWindow(other.Handle(), SW_SHOW);
  host.Call<void>("SysSetActiveWindow", other.Id());
  EXPECT_EQ(GetForegroundWindow(), other.Handle());
  EXPECT_EQ(host.Call<uint32_t>("SysGetActiveWindow"), other.Id());
  EXPECT_EQ(host.Call<int32_t>("SysIsWindowActive", other.Id()), 0);
}

TEST_F(WindowFamilyAlone, GetWindowClassShowsTheMissingTitleInABox) {
  BoxCatcher catcher;
  EXPECT_FALSE(host.Call<HostString>("SysGetWindowClass", "Nowhere to be seen").present);
  std::vector<SeenBox> seen = catcher.Stop();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, L"RXSystem UCD Error");
  EXPECT_EQ(seen[0].text, L"No window found with name \"Nowhere to be seen\".");
  EXPECT_EQ(seen[0].buttons, std::vector<std::wstring>{L"OK"});
}

TEST_F(WindowFamilyAlone, ANullRecordIsReportedAndDoesNothing) {
  TestWindow window;
  const RECT before = [&] {
    RECT r;
    GetWindowRect(window.Handle(), &r);
    return r;
  }();
  BoxCatcher catcher;
  EXPECT_EQ(host.CallWith<int32_t>(nullptr, "SysPosWindow", window.Id(), 1, 2, 0, 0), -1);
  EXPECT_EQ(host.CallWith<int32_t>(nullptr, "SysEnableMenuItem", window.Id(), 0, 0, 0), -1);
  EXPECT_FALSE(host.CallWith<HostString>(nullptr, "SysClipboardToText").present);
  std::vector<SeenBox> seen = catcher.Stop();
  EXPECT_EQ(seen.size(), 3u);
  RECT after;
  GetWindowRect(window.Handle(), &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  EXPECT_EQ(GetMenuState(GetSubMenu(GetMenu(window.Handle()), 0), 0, MF_BYPOSITION) & MF_GRAYED, 0u);
}

}  // namespace
