// The folder chooser as SysPromptDirName runs it under the stand-in host, worked from a second
// thread as a user would: the lists read back entry by entry, double-clicks and the space bar
// in the folder list, typed paths with Apply and OK, the New Folder dialog, the library's boxes,
// and the answers of OK, Cancel, Escape and the close box.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "library_boxes.h"
#include "library_under_host.h"
#include "pixel_capture.h"
#include "scratch_folder.h"
#include "stand_in_host.h"

using namespace authorware_host;
using namespace rxsystem_tests;
using testing_support::FocusOf;
using testing_support::WaitUntil;

namespace {

constexpr int kFolderList = 102;
constexpr int kDriveList = 103;
constexpr int kNewFolderButton = 104;
constexpr int kPathEdit = 105;
constexpr int kApplyButton = 106;

struct Entry {
  std::string text;
  unsigned kind;
  unsigned level;
  bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& e) {
  return out << "{" << e.text << ", kind " << e.kind << ", level " << e.level << "}";
}

std::vector<Entry> FolderEntries(HWND dialog) {
  HWND list = GetDlgItem(dialog, kFolderList);
  std::vector<Entry> entries;
  int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[300] = {};
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    auto data = static_cast<uint32_t>(SendMessageA(list, LB_GETITEMDATA, i, 0));
    entries.push_back({text, data >> 16, data & 0xFFFF});
  }
  return entries;
}

int SelectedFolder(HWND dialog) {
  return static_cast<int>(SendMessageA(GetDlgItem(dialog, kFolderList), LB_GETCURSEL, 0, 0));
}

// Empty while nothing is selected (the list is being rebuilt).
std::string SelectedFolderText(HWND dialog) {
  const std::vector<Entry> entries = FolderEntries(dialog);
  const int at = SelectedFolder(dialog);
  return at >= 0 && at < static_cast<int>(entries.size()) ? entries[static_cast<size_t>(at)].text
                                                          : std::string();
}

std::string EditText(HWND dialog) { return TextOf(GetDlgItem(dialog, kPathEdit)); }

std::string SelectedDrive(HWND dialog) {
  HWND drives = GetDlgItem(dialog, kDriveList);
  int at = static_cast<int>(SendMessageA(drives, CB_GETCURSEL, 0, 0));
  char text[300] = {};
  if (at >= 0) SendMessageA(drives, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(text));
  return text;
}

int FindEntry(HWND dialog, const std::string& text) {
  std::vector<Entry> entries = FolderEntries(dialog);
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].text == text) return static_cast<int>(i);
  return -1;
}

// A double-click on an entry, as the list notifies it.
void DoubleClick(HWND dialog, int index) {
  HWND list = GetDlgItem(dialog, kFolderList);
  SendMessageA(list, LB_SETCURSEL, index, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFolderList, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
}

void Type(HWND dialog, int control, const std::string& text) {
  SetWindowTextA(GetDlgItem(dialog, control), text.c_str());
}

// Posted, so that a box the button raises does not hold this thread.
void Press(HWND dialog, int control) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, control)));
}

bool EditShows(HWND dialog, const std::string& text) {
  return WaitUntil([&] { return EditText(dialog) == text; }, 2000, 5);
}

// The list that a path gives: the root, each folder of the path, then the subfolders.
std::vector<Entry> PathEntries(const std::string& path, const std::vector<std::string>& subfolders) {
  std::vector<Entry> entries{{path.substr(0, 3), 0, 0}};
  unsigned level = 0;
  for (size_t at = 3; at < path.size();) {
    size_t end = path.find('\\', at);
    if (end == std::string::npos) end = path.size();
    if (end > at) entries.push_back({path.substr(at, end - at), 0, ++level});
    at = end + 1;
  }
  for (const std::string& s : subfolders) entries.push_back({s, 2, level + 1});
  return entries;
}

class Chooser : public rxsystem_tests::LibraryUnderHost {
 protected:
  void SetUp() override {
    LibraryUnderHost::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(scratch.Made()) << base;
    for (const char* d :
         {"\\windows", "\\windows\\system", "\\windows\\system\\Beta", "\\windows\\system\\alpha",
          "\\windows\\system\\Gamma", "\\windows\\Fonts", "\\temp"})
      CreateDirectoryA((base + d).c_str(), nullptr);
    for (const char* file : {"\\windows\\system\\file.txt", "\\windows\\file.txt"})
      CloseHandle(CreateFileA((base + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    savedDirectory = current;
  }
  void TearDown() override {
    SetCurrentDirectoryA(savedDirectory.c_str());
    LibraryUnderHost::TearDown();
  }

  // Runs the export on this thread while `drive` works the chooser from a second one; the
  // chooser is cancelled should `drive` leave it open (it answers whether it closed it).
  HostString Run(const std::string& start, const std::string& title, int32_t newFolder,
                 const std::function<bool(HWND)>& drive) {
    testing_support::Driver driver([&] {
      HWND dialog = testing_support::WaitForTopWindow(std::wstring(title.begin(), title.end()));
      if (!dialog) {
        ADD_FAILURE() << "no chooser titled " << title;
        return;
      }
      if (!drive(dialog) && IsWindow(dialog)) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    return host.Call<HostString>("SysPromptDirName", start.c_str(), title.c_str(), newFolder);
  }

  testing_support::ScratchFolder scratch{"RxChooser"};
  const std::string base = scratch.Path();
  std::string savedDirectory;
};

TEST_F(Chooser, ListsThePathAndTheSortedSubfoldersAndWalksThem) {
  const std::string system = base + "\\windows\\system";
  const std::string windows = base + "\\windows";
  std::atomic<int> step{0};
  HostString r = Run(system, "Walk", 1, [&](HWND dialog) {
    EXPECT_EQ(FolderEntries(dialog), PathEntries(system, {"alpha", "Beta", "Gamma"}));
    EXPECT_EQ(SelectedFolder(dialog), static_cast<int>(PathEntries(system, {}).size()) - 1);
    EXPECT_EQ(EditText(dialog), system);
    EXPECT_EQ(SelectedDrive(dialog).substr(0, 2), system.substr(0, 2));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, kNewFolderButton)));
    // Entries are as high as the 8-point font's line, and never lower than a glyph, plus two.
    HDC dc = GetDC(dialog);
    HFONT font = CreateFontA(-(GetDeviceCaps(dc, LOGPIXELSY) * 8) / 72, 0, 0, 0, FW_NORMAL, 0, 0, 0,
                             DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(dialog, dc);
    int height = std::max(16, static_cast<int>(tm.tmHeight + tm.tmExternalLeading)) + 2;
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, kFolderList), LB_GETITEMHEIGHT, 0, 0), height);
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, kDriveList), CB_GETITEMHEIGHT, 0, 0), height);
    step = 1;

    // Up to windows: system and its subfolders go, the subfolders of windows come.
    DoubleClick(dialog, FindEntry(dialog, "windows"));
    EXPECT_EQ(FolderEntries(dialog), PathEntries(windows, {"Fonts", "system"}));
    EXPECT_EQ(EditText(dialog), windows);
    step = 2;

    // The current folder again: nothing changes.
    DoubleClick(dialog, FindEntry(dialog, "windows"));
    EXPECT_EQ(FolderEntries(dialog), PathEntries(windows, {"Fonts", "system"}));
    step = 3;

    // The space bar in the list opens the selected subfolder like a double-click.
    HWND list = GetDlgItem(dialog, kFolderList);
    SendMessageA(list, LB_SETCURSEL, FindEntry(dialog, "system"), 0);
    testing_support::PressKey(list, VK_SPACE);
    EXPECT_TRUE(EditShows(dialog, system));
    EXPECT_EQ(FolderEntries(dialog), PathEntries(system, {"alpha", "Beta", "Gamma"}));
    step = 4;

    DoubleClick(dialog, FindEntry(dialog, "Beta"));
    EXPECT_EQ(FolderEntries(dialog), PathEntries(system + "\\Beta", {}));
    EXPECT_EQ(SelectedFolder(dialog), static_cast<int>(FolderEntries(dialog).size()) - 1);

    // The root: every folder goes but the root's own subfolders are listed.
    DoubleClick(dialog, 0);
    std::vector<Entry> atRoot = FolderEntries(dialog);
    EXPECT_EQ(EditText(dialog), system.substr(0, 3));
    EXPECT_GE(atRoot.size(), 2u);
    for (size_t i = 1; i < atRoot.size(); ++i) {
      EXPECT_EQ(atRoot[i].kind, 2u);
      EXPECT_EQ(atRoot[i].level, 1u);
    }
    DoubleClick(dialog, static_cast<int>(PathEntries(system, {}).size()) -
                            1);  // out of range: a subfolder of the root
    step = 5;

    // Back into the folder by typing it; OK answers it.
    Type(dialog, kPathEdit, system + "\\Beta");
    Press(dialog, IDOK);
    return true;
  });
  EXPECT_EQ(step, 5);
  ASSERT_TRUE(r.present);
  EXPECT_EQ(r.text, system + "\\Beta");
  EXPECT_EQ(r.blockSize, 260u);
  EXPECT_EQ(r.lockCount, 0u);
}

TEST_F(Chooser, TypedPathsMoveOrShowTheirMessage) {
  const std::string start = base + "\\windows";
  const std::string drive = base.substr(0, 2);
  const std::string rooted = base.substr(2);  // \...\RxChooserN
  struct Case {
    std::string typed;
    std::string box;  // empty: no message, the chooser moves to `goes`
    std::string goes;
  };
  const Case cases[] = {
      {rooted + "\\temp", "", drive + rooted + "\\temp"},
      {rooted.substr(1) + "\\windows", "", drive + rooted + "\\windows"},
      {drive + "\\a\\\\b",
       "The "
       "specified path includes an empty directory name: " +
           drive + "\\a\\\\b",
       ""},
      {drive + "\\a|b", "File and directory names cannot contain the character \"|\".", ""},
      {"a:temp", "You must specify a complete absolute path.", ""},
      // 5
      {"1:\\x", "You must include a drive specification in the path.", ""},
      {base + "\\missing", "The directory " + base + "\\missing does not exist.", ""},
      {base + "\\windows\\system\\file.txt", base + "\\windows\\system\\file.txt is not a directory.", ""},
      {base + "\\windows\\system\\", "", base + "\\windows\\system\\"},
  };
  // The chooser's messages are boxes even when the piece hides the library's errors.
  host.variables.Set("TLHideErrors", 1);
  HostString r = Run(start, "Typed", 0, [&](HWND dialog) {
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, kNewFolderButton)));
    std::string current = start;
    int row = 0;
    for (const Case& c : cases) {
      SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.typed);
      std::vector<Entry> before = FolderEntries(dialog);
      Type(dialog, kPathEdit, c.typed);
      Press(dialog, kApplyButton);
      if (c.box.empty()) {
        current = c.goes;
        std::string trimmed = current.back() == '\\' ? current.substr(0, current.size() - 1) : current;
        const std::string folder = trimmed.substr(trimmed.rfind('\\') + 1);
        // The field may already read what was typed before Apply is handled; the list's
        // selection moves only when it is.
        EXPECT_TRUE(WaitUntil([&] { return SelectedFolderText(dialog) == folder; }, 2000, 5))
            << SelectedFolderText(dialog);
        EXPECT_TRUE(EditShows(dialog, c.goes)) << EditText(dialog);
      } else {
        std::optional<AnsweredBox> box = AnswerBox();
        if (!box) {
          ADD_FAILURE() << "no box";
          continue;
        }
        EXPECT_EQ(box->caption, "RXSystem UCD Error");
        EXPECT_EQ(box->text, c.box);
        // The folder stays; the field keeps what was typed.
        EXPECT_EQ(FolderEntries(dialog), before);
        EXPECT_EQ(EditText(dialog), c.typed);
      }
    }
    // OK after a refused path shows the message, closes, and answers the last good folder.
    Type(dialog, kPathEdit, base + "\\a|b");
    Press(dialog, IDOK);
    std::optional<AnsweredBox> box = AnswerBox();
    EXPECT_TRUE(box && box->text == "File and directory names cannot contain the character \"|\".");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 2000, 5));
    return true;
  });
  ASSERT_TRUE(r.present);
  EXPECT_EQ(r.text, base + "\\windows\\system\\");
}

TEST_F(Chooser, AMissingTypedFolderIsCreatedAfterTheQuestion) {
  const std::string made = base + "\\new1\\new2";
  HostString r = Run(base, "Create", 1, [&](HWND dialog) {
    Type(dialog, kPathEdit, made);
    Press(dialog, kApplyButton);
    std::optional<AnsweredBox> no = AnswerBox(IDNO);
    EXPECT_TRUE(no && no->caption == "Directory Not Found");
    EXPECT_TRUE(no && no->text == "The directory " + made + " does not exist. Do you wish to create it?");
    EXPECT_FALSE(testing_support::IsDirectory(base + "\\new1"));

    Press(dialog, kApplyButton);
    EXPECT_TRUE(AnswerBox(IDYES));
    // The field already reads what was typed; the list shows the new folder once it is made.
    EXPECT_TRUE(WaitUntil([&] { return FolderEntries(dialog) == PathEntries(made, {}); }, 2000, 5));
    EXPECT_TRUE(testing_support::IsDirectory(made));
    EXPECT_EQ(EditText(dialog), made);

    // Escape in the field cancels the chooser.
    testing_support::PressKey(GetDlgItem(dialog, kPathEdit), VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 2000, 5));
    return true;
  });
  EXPECT_FALSE(r.present);
}

TEST_F(Chooser, NewFolderChecksTheNameAndCreatesIt) {
  const std::string start = base + "\\windows";
  HostString r = Run(start, "New", 1, [&](HWND dialog) {
    struct Case {
      std::string name;
      std::string box;
    };
    const Case refused[] = {
        {"a*b", "File and directory names cannot contain the character \"*\"."},
        {std::string(256, 'x'), "File or directory name cannot exceed 255 characters in length."},
        {"caf\xE9", std::string("File and directory names cannot contain the character \"\xE9\".")},
    };
    Press(dialog, kNewFolderButton);
    HWND ask = testing_support::WaitForTopWindow(L"Create New Folder");
    if (!ask) {
      ADD_FAILURE() << "no new-folder dialog";
      return false;
    }
    EXPECT_EQ(TextOf(GetDlgItem(ask, 0xFFFF)), "Enter a name for the new folder below.");
    for (const Case& c : refused) {
      SCOPED_TRACE(c.name.substr(0, 8));
      Type(ask, 101, c.name);
      Press(ask, IDOK);
      std::optional<AnsweredBox> box = AnswerBox();
      if (!box) {
        ADD_FAILURE() << "no box";
        continue;
      }
      EXPECT_EQ(box->text, c.box);
      EXPECT_TRUE(IsWindowVisible(ask));
    }
    // The name of a file there is refused after the dialog closed; the folder stays.
    Type(ask, 101, "file.txt");
    Press(ask, IDOK);
    std::optional<AnsweredBox> file = AnswerBox();
    EXPECT_TRUE(file && file->text == start + "\\file.txt is not a directory.");
    EXPECT_EQ(EditText(dialog), start);
    EXPECT_EQ(FolderEntries(dialog), PathEntries(start, {"Fonts", "system"}));
    Press(dialog, kNewFolderButton);
    ask = testing_support::WaitForTopWindow(L"Create New Folder");
    if (!ask) return false;

    // Its close box creates nothing.
    Type(ask, 101, "Closed");
    PostMessageA(ask, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(ask); }, 2000, 5));
    EXPECT_FALSE(testing_support::IsDirectory(start + "\\Closed"));

    Press(dialog, kNewFolderButton);
    ask = testing_support::WaitForTopWindow(L"Create New Folder");
    if (!ask) return false;
    Type(ask, 101, "Made");
    Press(ask, IDOK);
    EXPECT_TRUE(EditShows(dialog, start + "\\Made"));
    EXPECT_TRUE(testing_support::IsDirectory(start + "\\Made"));
    EXPECT_EQ(FolderEntries(dialog), PathEntries(start + "\\Made", {}));

    // The list has the focus now: the current folder is drawn on the highlight colour, and
    // so is the blue of its glyph, while the glyph's outline keeps its black.
    HWND list = GetDlgItem(dialog, kFolderList);
    EXPECT_EQ(FocusOf(GetWindowThreadProcessId(dialog, nullptr)), list);
    RECT item{};
    int at = SelectedFolder(dialog);
    SendMessageA(list, LB_GETITEMRECT, at, reinterpret_cast<LPARAM>(&item));
    int width = item.right - item.left;
    int glyphX = 8 * static_cast<int>(FolderEntries(dialog)[at].level) + 2;
    COLORREF h = GetSysColor(COLOR_HIGHLIGHT);
    uint32_t highlight = (GetRValue(h) << 16) | (GetGValue(h) << 8) | GetBValue(h);
    std::vector<uint32_t> px;
    auto pixel = [&](int x, int y) { return px[static_cast<size_t>(y * width + x)] & 0xFFFFFF; };
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(WaitUntil(
        [&] {
          testing_support::PixelCapture shot(width, item.bottom - item.top);
          HDC dc = GetDC(list);
          BitBlt(shot.DC(), 0, 0, width, item.bottom - item.top, dc, item.left, item.top, SRCCOPY);
          ReleaseDC(list, dc);
          px = shot.Pixels();
          return pixel(width - 2, 1) == highlight;
        },
        2000, 5))
        << "the current folder is drawn highlighted";
    // Row 0 and the last row carry the dots of the focus rectangle.
    EXPECT_EQ(pixel(glyphX, 1), highlight);      // the glyph's blue corner
    EXPECT_EQ(pixel(glyphX + 1, 4), 0u);         // its black outline
    EXPECT_EQ(pixel(width - 2, 1), highlight);   // the text's background
    EXPECT_EQ(pixel(glyphX + 6, 7), 0xFFFF00u);  // its yellow

    // The close box answers the folder the chooser started in.
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    return true;
  });
  ASSERT_TRUE(r.present);
  EXPECT_EQ(r.text, start);
}

TEST_F(Chooser, AnUnusableStartingFolderGivesTheCurrentDirectory) {
  const std::string mixed = base + "\\windows\\system";
  ASSERT_TRUE(SetCurrentDirectoryA(mixed.c_str()));
  std::string lower = mixed;
  for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  struct Case {
    std::string start;
    std::string box;  // shown before the chooser
    std::string shown;
  };
  const Case cases[] = {
      {"", "", lower},
      {base + "\\nowhere\\at\\all", "", mixed},
      {base + "\\windows\\system\\file.txt", "", mixed},
      {"a:temp", "You must specify a complete absolute path.", mixed},
      {"c:\\a\\\\b",
       "The "
       "specified path includes an empty directory name: c:\\a\\\\b",
       mixed},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.start);
    std::optional<AnsweredBox> box;
    std::string shown;
    testing_support::Driver boxes([&] {
      if (!c.box.empty()) box = AnswerBox();
    });
    HostString r = Run(c.start, "Start", 0, [&](HWND dialog) {
      shown = EditText(dialog);
      PostMessageA(dialog, WM_CLOSE, 0, 0);
      return true;
    });
    boxes.Join();
    EXPECT_EQ(shown, c.shown);
    if (!c.box.empty()) {
      EXPECT_TRUE(box && box->text == c.box);
    }
    // The close box answers the starting folder as it was given.
    ASSERT_TRUE(r.present);
    EXPECT_EQ(r.text, c.start.empty() ? lower : c.start);
  }
}

TEST_F(Chooser, TheDriveListNamesTheDrivesAndChangesDrive) {
  HostString r = Run(base, "Drives", 0, [&](HWND dialog) {
    HWND drives = GetDlgItem(dialog, kDriveList);
    int count = static_cast<int>(SendMessageA(drives, CB_GETCOUNT, 0, 0));
    DWORD present = GetLogicalDrives();
    int listed = 0;
    for (int i = 0; i < count; ++i) {
      char text[300] = {};
      SendMessageA(drives, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      auto data = static_cast<uint32_t>(SendMessageA(drives, CB_GETITEMDATA, i, 0));
      std::string t = text;
      SCOPED_TRACE(t);
      if (t.size() < 4) {
        ADD_FAILURE() << "entry too short";
        continue;
      }
      EXPECT_EQ(t.substr(1, 2), ": ");
      EXPECT_TRUE(present & (1u << (t[0] - 'A')));
      char root[4] = {t[0], ':', '\\', 0};
      UINT type = GetDriveTypeA(root);
      unsigned kind = type == DRIVE_REMOVABLE ? 3
                      : type == DRIVE_FIXED   ? 4
                      : type == DRIVE_CDROM   ? 5
                      : type == DRIVE_REMOTE  ? 6
                                              : 7;
      EXPECT_EQ(data, kind << 16);
      if (type == DRIVE_FIXED) {
        char label[256] = {};
        GetVolumeInformationA(root, label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0);
        std::string expected = label;
        for (size_t k = 0; k < expected.size(); ++k)
          expected[k] = static_cast<char>(k == 0 ? toupper(static_cast<unsigned char>(expected[k]))
                                                 : tolower(static_cast<unsigned char>(expected[k])));
        EXPECT_EQ(t.substr(3), expected.empty() ? "Fixed" : expected);
      }
      ++listed;
    }
    EXPECT_GE(listed, 2);  // C: and Z: at least
    // Choosing another drive moves to its root.
    int other = -1;
    for (int i = 0; i < count; ++i) {
      char text[300] = {};
      SendMessageA(drives, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      if (toupper(text[0]) != toupper(base[0])) other = i;
    }
    if (other >= 0) {
      char text[300] = {};
      SendMessageA(drives, CB_GETLBTEXT, other, reinterpret_cast<LPARAM>(text));
      SendMessageA(drives, CB_SETCURSEL, other, 0);
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kDriveList, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(drives));
      std::string root = {static_cast<char>(tolower(text[0])), ':', '\\'};
      EXPECT_EQ(EditText(dialog), root);
      EXPECT_EQ(FolderEntries(dialog)[0], (Entry{root, 0, 0}));
      EXPECT_EQ(SelectedFolder(dialog), 0);
    }
    Press(dialog, IDOK);
    return true;
  });
  ASSERT_TRUE(r.present);
  EXPECT_EQ(r.text.size(), 3u);
}

// One control of a dialog template as the resource holds it.
struct TemplateItem {
  int id;
  std::string cls;
  std::string text;
  int x, y, cx, cy;
  uint32_t style;
  bool operator==(const TemplateItem&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TemplateItem& t) {
  return out << "{" << t.id << " " << t.cls << " \"" << t.text << "\" " << t.x << "," << t.y << "," << t.cx
             << "," << t.cy << " " << std::hex << t.style << std::dec << "}";
}

struct DialogTemplate {
  uint32_t style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::string caption;
  int pointSize = 0;
  std::string font;
  std::vector<TemplateItem> items;
};

// Reads a template of the classic layout: header, menu, class, caption, font, then each
// control DWORD-aligned.
DialogTemplate ReadTemplate(HMODULE module, int id) {
  DialogTemplate t;
  HRSRC res = FindResourceExW(module, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(id),
                              MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  if (!res) return t;
  const auto* base = static_cast<const uint8_t*>(LockResource(LoadResource(module, res)));
  const uint8_t* p = base;
  auto word = [&] {
    uint16_t w;
    std::memcpy(&w, p, 2);
    p += 2;
    return w;
  };
  auto dword = [&] {
    uint32_t d;
    std::memcpy(&d, p, 4);
    p += 4;
    return d;
  };
  auto text = [&] {
    std::string s;
    for (uint16_t c = word(); c; c = word()) s += static_cast<char>(c);
    return s;
  };
  // A name or an ordinal (0xFFFF then the number).
  auto nameOrOrdinal = [&]() -> std::string {
    uint16_t first;
    std::memcpy(&first, p, 2);
    if (first == 0xFFFF) {
      p += 2;
      return "#" + std::to_string(word());
    }
    return text();
  };
  t.style = dword();
  dword();
  int count = word();
  t.x = static_cast<int16_t>(word());
  t.y = static_cast<int16_t>(word());
  t.cx = static_cast<int16_t>(word());
  t.cy = static_cast<int16_t>(word());
  nameOrOrdinal();
  nameOrOrdinal();
  t.caption = text();
  if (t.style & DS_SETFONT) {
    t.pointSize = word();
    t.font = text();
  }
  for (int i = 0; i < count; ++i) {
    p = base + ((p - base + 3) & ~3);
    TemplateItem item{};
    item.style = dword();
    dword();
    item.x = static_cast<int16_t>(word());
    item.y = static_cast<int16_t>(word());
    item.cx = static_cast<int16_t>(word());
    item.cy = static_cast<int16_t>(word());
    item.id = static_cast<int16_t>(word());
    item.cls = nameOrOrdinal();
    for (auto [ordinal, name] : {std::pair{"#128", "BUTTON"},
                                 {"#129", "EDIT"},
                                 {"#130", "STATIC"},
                                 {"#131", "LISTBOX"},
                                 {"#133", "COMBOBOX"}})
      if (item.cls == ordinal) item.cls = name;
    for (char& c : item.cls) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    item.text = nameOrOrdinal();
    p += word();
    t.items.push_back(item);
  }
  return t;
}

TEST_F(Chooser, TheDialogResourcesAreLaidOutAsTheHostsPiecesExpect) {
  DialogTemplate chooser = ReadTemplate(host.Module(), 510);
  EXPECT_EQ(chooser.style, 0x80C800C0u);
  EXPECT_EQ(chooser.caption, "Select Destination Folder");
  EXPECT_EQ(std::vector<int>({chooser.x, chooser.y, chooser.cx, chooser.cy}),
            std::vector<int>({0, 0, 228, 156}));
  EXPECT_EQ(chooser.pointSize, 8);
  EXPECT_EQ(chooser.font, "MS Sans Serif");
  const std::vector<TemplateItem> chooserItems = {
      {105, "EDIT", "", 7, 7, 156, 14, 0x50810080},
      {106, "BUTTON", "&Apply", 171, 7, 50, 14, 0x50010000},
      {-1, "STATIC", "&Folders:", 7, 25, 31, 8, 0x50020000},
      {102, "LISTBOX", "", 7, 35, 156, 83, 0x50A11051},
      {-1, "STATIC", "&Drives:", 7, 124, 23, 8, 0x50020000},
      // 5
      {103, "COMBOBOX", "", 7, 134, 156, 75, 0x50210253},
      {104, "BUTTON", "&New Folder", 171, 46, 50, 14, 0x50010000},
      {1, "BUTTON", "&OK", 171, 64, 50, 14, 0x50010001},
      {2, "BUTTON", "&Cancel", 171, 82, 50, 14, 0x50010000},
  };
  EXPECT_EQ(chooser.items, chooserItems);

  DialogTemplate folder = ReadTemplate(host.Module(), 500);
  EXPECT_EQ(folder.style, 0x80C800C0u);
  EXPECT_EQ(folder.caption, "Create New Folder");
  EXPECT_EQ(std::vector<int>({folder.x, folder.y, folder.cx, folder.cy}), std::vector<int>({0, 0, 161, 63}));
  EXPECT_EQ(folder.font, "MS Sans Serif");
  const std::vector<TemplateItem> folderItems = {
      {-1, "STATIC", "Enter a name for the new folder below.", 7, 7, 147, 8, 0x50020000},
      {101, "EDIT", "", 7, 18, 147, 14, 0x50810080},
      {1, "BUTTON", "OK", 21, 42, 50, 14, 0x50010001},
      {2, "BUTTON", "Cancel", 89, 42, 50, 14, 0x50010000},
  };
  EXPECT_EQ(folder.items, folderItems);
}

}  // namespace
