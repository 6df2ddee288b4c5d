// Parts of the prompts and the chooser in-process: the requests the file dialogs hand the
// platform (through the library's dialog seam, to read every field), the glyph bitmap and its
// masked drawing, and the remembered network connections (through the network-user seam:
// the machine has no network).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "library_in_process.h"
#include "pixel_capture.h"
#include "scoped_seam.h"
#include "seam_box_recorder.h"
#include "stand_in_host.h"
#include "system_services/dialogs/directory_chooser.h"
#include "system_services/dialogs/file_dialogs.h"
#include "system_services/host/host_interface.h"

using namespace rxsystem;

namespace {

// The request size of the earliest explorer-style dialogs: 76 bytes for the 32-bit host; the
// same fields at the pointer's width in a 64-bit build, as the platform's header gives them.
#if defined(__i386__)
constexpr DWORD kEarliestRequestSize = 76;
#else
const DWORD kEarliestRequestSize = OPENFILENAME_SIZE_VERSION_400A;
#endif

// What the seam saw of the last request, and the answer it gives.
struct SeenRequest {
  OPENFILENAMEA request{};
  std::string filter;  // up to the double NUL, NULs kept
  std::string file;
  std::string initialDir;
  bool hasInitialDir = false;
  std::string title;
  bool hasTitle = false;
  std::string extension;
  bool hasExtension = false;
};
SeenRequest seen;
std::string answer;  // written into the file buffer, NULs kept
BOOL answerResult = TRUE;

BOOL Record(OPENFILENAMEA* r) {
  seen = {};
  seen.request = *r;
  const char* f = r->lpstrFilter;
  size_t n = 0;
  while (f && !(f[n] == '\0' && f[n + 1] == '\0')) ++n;
  if (f) seen.filter.assign(f, n + 2);
  seen.file = r->lpstrFile;
  seen.hasInitialDir = r->lpstrInitialDir != nullptr;
  if (r->lpstrInitialDir) seen.initialDir = r->lpstrInitialDir;
  seen.hasTitle = r->lpstrTitle != nullptr;
  if (r->lpstrTitle) seen.title = r->lpstrTitle;
  seen.hasExtension = r->lpstrDefExt != nullptr;
  if (r->lpstrDefExt) seen.extension = r->lpstrDefExt;
  if (answerResult && answer.size() <= r->nMaxFile) std::memcpy(r->lpstrFile, answer.data(), answer.size());
  return answerResult;
}

class PromptsInProcess : public rxsystem_tests::LibraryInProcess {
 protected:
  void SetUp() override {
    LibraryInProcess::SetUp();
    answer.clear();
    answerResult = TRUE;
  }

  // The host's side of a string result.
  static authorware_host::HostString Take(HGLOBAL block) {
    return authorware_host::StandInHost::TakeString(block);
  }

  testing_support::SeamBoxRecorder recorder;
  testing_support::ScopedSeam<FileDialogSeam> dialogs{ReplaceFileDialogSeam, {Record, Record}};
};

TEST_F(PromptsInProcess, TheOpenRequestCarriesTheArgumentsAndFlags) {
  using namespace std::string_literals;
  struct Case {
    const char* directory;
    const char* title;
    const char* types;
    const char* extension;
    int32_t multiple;
    const char* initialDir;  // null: none
    std::string filter;
    DWORD flags;
    DWORD capacity;
  };
  const Case cases[] = {
      {"C:\\Temp\\", "Pick", "Text\t*.txt\rAll\t*.*\r", "txt", 0, "C:\\Temp", "Text\0*.txt\0All\0*.*\0\0"s,
       0x81804, 259},
      {"C:\\", "", "", "", 1, "C:", "All Files (*.*)\0*.*\0\0"s, 0x81A04, 29999},
      {"", nullptr, nullptr, nullptr, 0, nullptr, "All Files (*.*)\0*.*\0\0"s, 0x81804, 259},
      {nullptr, "T", "A\t*.a;*.b", "a", 7, nullptr, "A\0*.a;*.b\0\0"s, 0x81A04, 29999},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++));
    HostContext context = Context();
    answer = "C:\\X\\Y.TXT\0\0"s;
    authorware_host::HostString r =
        Take(SysPromptOpenFileName(&context, c.directory, c.title, c.types, c.extension, c.multiple));
    EXPECT_EQ(seen.request.lStructSize, kEarliestRequestSize);
    EXPECT_EQ(seen.request.hwndOwner, window.Handle());
    EXPECT_EQ(seen.request.nFilterIndex, 1u);
    EXPECT_EQ(seen.request.Flags, c.flags);
    EXPECT_EQ(seen.request.nMaxFile, c.capacity);
    EXPECT_EQ(seen.filter, c.filter);
    EXPECT_EQ(seen.file, "");
    EXPECT_EQ(seen.hasInitialDir, c.initialDir != nullptr);
    if (c.initialDir) {
      EXPECT_EQ(seen.initialDir, c.initialDir);
    }
    EXPECT_EQ(seen.hasTitle, c.title && *c.title);
    if (c.title && *c.title) {
      EXPECT_EQ(seen.title, c.title);
    }
    EXPECT_EQ(seen.hasExtension, c.extension && *c.extension);
    if (c.extension && *c.extension) {
      EXPECT_EQ(seen.extension, c.extension);
    }
    EXPECT_EQ(r.text, c.multiple ? "c:\\x\\y.txt\r" : "c:\\x\\y.txt");
    EXPECT_EQ(r.blockSize, r.text.size() + 1);
  }
  EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(PromptsInProcess, TheSaveRequestProposesTheNameAndAsksBeforeOverwriting) {
  struct Case {
    const char* directory;
    const char* defaultName;
    const char* initialDir;
    const char* proposed;
  };
  const Case cases[] = {
      {"C:\\Out", "Report.txt", "C:\\Out", "C:\\Out\\Report.txt"},
      {"C:\\Out\\", "", "C:\\Out", "*.*"},
      {"", "Report.txt", nullptr, "Report.txt"},
      {"C:\\", "R.txt", "C:", "C:\\R.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.directory);
    HostContext context = Context();
    answer = std::string("C:\\Out\\Report.TXT") + '\0';
    authorware_host::HostString r =
        Take(SysPromptSaveFileName(&context, c.directory, c.defaultName, "Keep", "ignored", "D\t*.d", "d"));
    EXPECT_EQ(seen.request.lStructSize, kEarliestRequestSize);
    EXPECT_EQ(seen.request.Flags, 0x80806u);
    EXPECT_EQ(seen.request.nMaxFile, 259u);
    EXPECT_EQ(seen.file, c.proposed);
    EXPECT_EQ(seen.hasInitialDir, c.initialDir != nullptr);
    if (c.initialDir) {
      EXPECT_EQ(seen.initialDir, c.initialDir);
    }
    EXPECT_EQ(seen.extension, "d");
    EXPECT_EQ(r.text, "c:\\out\\report.txt");
    EXPECT_EQ(r.blockSize, 260u);
  }
  // A refused or failed dialog answers nothing, without a message.
  answerResult = FALSE;
  HostContext context = Context();
  EXPECT_EQ(SysPromptSaveFileName(&context, "C:\\", "x", "", "", "", ""), nullptr);
  EXPECT_EQ(SysPromptOpenFileName(&context, "C:\\", "", "", "", 1), nullptr);
  EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(PromptsInProcess, TheGlyphBitmapHoldsEightGlyphsOnPureBlue) {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(self, MAKEINTRESOURCEW(kChooserGlyphs), MAKEINTRESOURCEW(2));  // RT_BITMAP
  ASSERT_NE(res, nullptr);
  const auto* info = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(self, res)));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->biWidth, 128);
  EXPECT_EQ(info->biHeight, 16);
  EXPECT_EQ(info->biBitCount, 4);
  const auto* palette = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(info) + info->biSize);
  const COLORREF standard[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                 0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(RGB(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue), standard[i]) << i;

  // Each glyph is drawn on the blue it stands on and has a picture on it.
  HBITMAP glyphs =
      static_cast<HBITMAP>(LoadImageW(self, MAKEINTRESOURCEW(kChooserGlyphs), IMAGE_BITMAP, 0, 0, 0));
  ASSERT_NE(glyphs, nullptr);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, glyphs);
  for (int g = 0; g < kGlyphCount; ++g) {
    int blue = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) blue += GetPixel(dc, 16 * g + x, y) == kGlyphBackground;
    EXPECT_EQ(GetPixel(dc, 16 * g, 0), kGlyphBackground) << g;
    EXPECT_GT(blue, 40) << g;
    EXPECT_LT(blue, 230) << g;
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  DeleteObject(glyphs);
}

TEST_F(PromptsInProcess, AMaskedGlyphTakesTheBackgroundWhereItWasBlue) {
  HMODULE self = GetModuleHandleW(nullptr);
  HBITMAP glyphs =
      static_cast<HBITMAP>(LoadImageW(self, MAKEINTRESOURCEW(kChooserGlyphs), IMAGE_BITMAP, 0, 0, 0));
  ASSERT_NE(glyphs, nullptr);
  HDC screen = GetDC(nullptr);
  HBITMAP mask = MakeMaskBitmap(screen, glyphs, kGlyphBackground, 128, 16);
  ASSERT_NE(mask, nullptr);
  BITMAP m{};
  GetObjectW(mask, sizeof m, &m);
  EXPECT_EQ(m.bmBitsPixel, 1);

  // The glyphs' own colours, read before drawing: a bitmap is selected into one DC at a time.
  std::vector<COLORREF> original(128 * 16);
  HDC source = CreateCompatibleDC(screen);
  HGDIOBJ oldSource = SelectObject(source, glyphs);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 128; ++x) original[static_cast<size_t>(y * 128 + x)] = GetPixel(source, x, y);
  SelectObject(source, oldSource);
  DeleteDC(source);
  for (COLORREF background : {GetSysColor(COLOR_HIGHLIGHT), RGB(1, 2, 3), RGB(255, 255, 255)}) {
    SCOPED_TRACE(background);
    testing_support::PixelCapture target(8 * 20, 20);
    SetBkColor(target.DC(), background);
    for (int g = 0; g < kGlyphCount; ++g) DrawMaskedGlyph(target.DC(), glyphs, mask, 16 * g, 20 * g + 2, 3);
    std::vector<uint32_t> px = target.Pixels();
    int wrong = 0;
    for (int g = 0; g < kGlyphCount; ++g) {
      for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
          COLORREF own = original[static_cast<size_t>(y * 128 + 16 * g + x)];
          COLORREF expected = own == kGlyphBackground ? background : own;
          uint32_t p = px[static_cast<size_t>((y + 3) * 160 + 20 * g + 2 + x)];
          COLORREF drawn = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
          if (drawn != expected && wrong++ < 5)
            ADD_FAILURE() << "glyph " << g << " at " << x << "," << y << ": " << std::hex << drawn << " not "
                          << expected;
        }
      }
    }
    EXPECT_EQ(wrong, 0);
  }
  ReleaseDC(nullptr, screen);
  DeleteObject(mask);
  DeleteObject(glyphs);
}

DWORD LoggedOn(char* name, DWORD* size) {
  std::strcpy(name, "student");
  *size = 7;
  return NO_ERROR;
}
DWORD NotLoggedOn(char*, DWORD*) { return ERROR_NO_NETWORK; }

TEST_F(PromptsInProcess, RememberedConnectionsJoinTheDriveListOnlyWithANetworkUser) {
  HKEY recent = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "network\\recent", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &recent, nullptr),
            ERROR_SUCCESS);
  for (const char* name : {"././server./share", "././other./data./sub"}) {
    HKEY k;
    RegCreateKeyA(recent, name, &k);
    RegCloseKey(k);
  }
  HWND combo = CreateWindowA("COMBOBOX", "", CBS_DROPDOWNLIST | CBS_HASSTRINGS, 0, 0, 100, 100, nullptr,
                             nullptr, nullptr, nullptr);
  ChooserState().driveList = combo;
  struct Case {
    NetworkUserQuery query;
    std::vector<std::string> entries;
  };
  const Case cases[] = {{NotLoggedOn, {}}, {LoggedOn, {"\\\\other\\data\\sub", "\\\\server\\share"}}};
  for (const Case& c : cases) {
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    {
      const testing_support::ScopedSeam<NetworkUserQuery> user{ReplaceNetworkUserQuery, c.query};
      AddRecentNetwork();
    }
    std::vector<std::string> entries;
    for (int i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
      char text[300] = {};
      SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      entries.emplace_back(text);
      EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, i, 0), 6 << 16);
    }
    EXPECT_EQ(entries, c.entries);
  }
  ChooserState().driveList = nullptr;
  DestroyWindow(combo);
  RegDeleteKeyA(recent, "././server./share");
  RegDeleteKeyA(recent, "././other./data./sub");
  RegCloseKey(recent);
  RegDeleteKeyA(HKEY_CURRENT_USER, "network\\recent");
}

std::vector<std::pair<std::string, uint32_t>> Entries(HWND control, bool combo) {
  std::vector<std::pair<std::string, uint32_t>> entries;
  int count = static_cast<int>(SendMessageA(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[300] = {};
    SendMessageA(control, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    entries.emplace_back(
        text, static_cast<uint32_t>(SendMessageA(control, combo ? CB_GETITEMDATA : LB_GETITEMDATA, i, 0)));
  }
  return entries;
}

TEST_F(PromptsInProcess, ANetworkPathListsItsShareAsRootAndAddsItToTheDrives) {
  using EntryList = std::vector<std::pair<std::string, uint32_t>>;
  HWND list =
      CreateWindowA("LISTBOX", "", LBS_HASSTRINGS, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  HWND combo = CreateWindowA("COMBOBOX", "", CBS_DROPDOWNLIST | CBS_HASSTRINGS, 0, 0, 100, 100, nullptr,
                             nullptr, nullptr, nullptr);
  DirChooserState& state = ChooserState();
  state.folderList = list;
  state.driveList = combo;
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("C: Fixed"));
  SendMessageA(combo, CB_SETITEMDATA, 0, 4 << 16);
  std::strcpy(state.currentPath, "\\\\srv\\share\\dir\\sub");
  state.rootLength = 12;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    int index = -1;
    unsigned level = 99;
    FillFolderPath(index, level);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(level, 2u);
    EXPECT_EQ(Entries(list, false), (EntryList{{"\\\\srv\\share\\", 0}, {"dir", 1}, {"sub", 2}}));
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    // Added once, as a network root, and selected; the second time it is found.
    EXPECT_EQ(Entries(combo, true), (EntryList{{"C: Fixed", 4 << 16}, {"\\\\srv\\share\\", 6 << 16}}));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
  }
  // A drive path finds its letter whatever the case.
  std::strcpy(state.currentPath, "c:\\x");
  state.rootLength = 3;
  int index = -1;
  unsigned level = 0;
  FillFolderPath(index, level);
  EXPECT_EQ(Entries(list, false), (EntryList{{"c:\\", 0}, {"x", 1}}));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
  state.folderList = nullptr;
  state.driveList = nullptr;
  DestroyWindow(list);
  DestroyWindow(combo);
}

TEST_F(PromptsInProcess, DrivesWithoutARootAreNotListed) {
  DWORD present = GetLogicalDrives();
  char label[256];
  for (char letter = 'D'; letter <= 'Y'; ++letter) {
    if (present & (1u << (letter - 'A'))) continue;
    char root[4] = {letter, ':', '\\', 0};
    EXPECT_EQ(DescribeDrive(root, label), -1) << root;
    EXPECT_STREQ(label, "");
    break;
  }
  EXPECT_EQ(DescribeDrive("C:\\", label), 1);
  EXPECT_TRUE(label[0] != '\0');
}

}  // namespace
