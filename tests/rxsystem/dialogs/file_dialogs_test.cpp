// The open, save and folder prompts under the stand-in host, with the platform's own dialogs
// worked from a second thread: a name typed into the dialog's field and its Open or Save
// button pressed, the answer read as the host receives it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "library_boxes.h"
#include "library_under_host.h"
#include "scratch_folder.h"
#include "stand_in_host.h"

using namespace authorware_host;
using namespace rxsystem_tests;
using testing_support::WaitUntil;

namespace {

constexpr int kFileNameField = 0x47C;
constexpr int kFileTypes = 0x470;
constexpr int kLookIn = 0x471;

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return s;
}

HWND FindChild(HWND dialog, const std::wstring& cls, int id) {
  struct Search {
    const std::wstring* cls;
    int id;
    HWND found;
  } s{&cls, id, nullptr};
  EnumChildWindows(
      dialog, [](HWND c, LPARAM lp) __attribute__((stdcall))->BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (GetDlgCtrlID(c) == s->id && testing_support::ClassName(c) == *s->cls) {
          s->found = c;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::vector<std::string> ComboEntries(HWND combo) {
  std::vector<std::string> entries;
  int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[300] = {};
    SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    entries.emplace_back(text);
  }
  return entries;
}

// What the driver saw of the dialog before it typed and pressed the button.
struct Seen {
  bool shown = false;
  std::string lookIn;
  std::string field;
  std::vector<std::string> types;
};

class FileDialogs : public rxsystem_tests::LibraryUnderHost {
 protected:
  void SetUp() override {
    LibraryUnderHost::SetUp();
    if (HasFatalFailure()) return;
    CreateDirectoryA(data.c_str(), nullptr);
    CreateDirectoryA((base + "\\Out").c_str(), nullptr);
    for (const char* name : {"One.TXT", "Two.txt", "THREE.dat"}) {
      testing_support::WriteFileBytes(data + "\\" + name, "");
    }
  }

  // Works the dialog titled `title` from a second thread while `call` runs the export: types
  // `name` into its file-name field and presses the default button (null name: Cancel);
  // `after` answers what the button raises.
  HostString Drive(const std::wstring& title, const char* name, const std::function<HostString()>& call,
                   const std::function<void()>& after = {}) {
    testing_support::Driver driver([&] {
      HWND dialog = testing_support::WaitForTopWindow(title);
      if (!dialog) {
        ADD_FAILURE() << "no file dialog";
        return;
      }
      seen.shown = true;
      seen.lookIn = TextOf(FindChild(dialog, L"ComboBox", kLookIn));
      HWND field = FindChild(dialog, L"Edit", kFileNameField);
      seen.field = TextOf(field);
      seen.types = ComboEntries(FindChild(dialog, L"ComboBox", kFileTypes));
      if (!name) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
      }
      SetWindowTextA(field, name);
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      if (after) after();
      if (!WaitUntil([&] { return !IsWindow(dialog); }, 3000, 5)) {
        ADD_FAILURE() << "the dialog stayed open";
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      }
    });
    return call();
  }

  HostString Open(const std::string& directory, const char* types, int32_t multiple, const char* name) {
    return Drive(L"Pick", name, [&] {
      return host.Call<HostString>("SysPromptOpenFileName", directory.c_str(), "Pick", types, "txt",
                                   multiple);
    });
  }

  testing_support::ScratchFolder scratch{"RxFiles"};
  const std::string base = scratch.Path();
  const std::string data = base + "\\Data";
  Seen seen;
};

TEST_F(FileDialogs, OpenAnswersTheLowerCasedPathInABlockOfItsLength) {
  HostString r = Open(data + "\\", "Text files\tOne.TXT;*.txt\rAll files\t*.*\r", 0, "One.TXT");
  EXPECT_EQ(seen.lookIn, "Data");
  EXPECT_EQ(seen.types, (std::vector<std::string>{"Text files", "All files"}));
  ASSERT_TRUE(r.present);
  EXPECT_EQ(r.text, Lower(data) + "\\one.txt");
  EXPECT_EQ(r.blockSize, r.text.size() + 1);
  EXPECT_TRUE(r.movable);
  EXPECT_EQ(r.lockCount, 0u);
}

TEST_F(FileDialogs, OpenWithSeveralFilesAnswersTheFolderAndEachNameOnALine) {
  struct Case {
    const char* typed;
    std::string answer;
  };
  const Case cases[] = {
      {"\"One.TXT\" \"Two.txt\" \"THREE.dat\"", Lower(data) + "\rOne.TXT\rTwo.txt\rTHREE.dat\r"},
      {"Two.txt", Lower(data) + "\\two.txt\r"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    HostString r = Open(data, "", 1, c.typed);
    EXPECT_EQ(seen.types, (std::vector<std::string>{"All Files (*.*)"}));
    ASSERT_TRUE(r.present);
    EXPECT_EQ(r.text, c.answer);
    EXPECT_EQ(r.blockSize, r.text.size() + 1);
  }
}

TEST_F(FileDialogs, CancelAnswersNothingWithoutAMessage) {
  HostString open = Open(data, nullptr, 0, nullptr);
  EXPECT_TRUE(seen.shown);
  EXPECT_FALSE(open.present);
  HostString save = Drive(L"Keep", nullptr, [&] {
    return host.Call<HostString>("SysPromptSaveFileName", base.c_str(), "x.txt", "Keep", "", "", "");
  });
  EXPECT_FALSE(save.present);
  testing_support::Driver cancel([&] {
    HWND chooser = testing_support::WaitForTopWindow(L"Dir");
    EXPECT_NE(chooser, nullptr);
    if (chooser) PostMessageA(chooser, WM_COMMAND, IDCANCEL, 0);
  });
  HostString dir = host.Call<HostString>("SysPromptDirName", base.c_str(), "Dir", int32_t(0));
  cancel.Join();
  EXPECT_FALSE(dir.present);
  EXPECT_TRUE(host.window.traffic.empty());
}

TEST_F(FileDialogs, SaveProposesTheNameInTheFolderAndAddsTheExtension) {
  const std::string out = base + "\\Out";
  struct Case {
    std::string directory;
    const char* defaultName;
    const char* typed;  // null: the proposal is taken as it is
    std::string field;  // what the dialog's field shows first
    std::string answer;
  };
  const Case cases[] = {
      {out, "Report.txt", nullptr, "Report.txt", Lower(out) + "\\report.txt"},
      {out + "\\", "", "New", "*.*", Lower(out) + "\\new.dat"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.directory);
    HostString r = Drive(L"Keep", c.typed ? c.typed : c.field.c_str(), [&] {
      return host.Call<HostString>("SysPromptSaveFileName", c.directory.c_str(), c.defaultName, "Keep",
                                   "not used", "Data files\t*.dat", "dat");
    });
    EXPECT_EQ(seen.lookIn, "Out");
    EXPECT_EQ(seen.field, c.field);
    ASSERT_TRUE(r.present);
    EXPECT_EQ(r.text, c.answer);
    EXPECT_EQ(r.blockSize, 260u);
  }
}

TEST_F(FileDialogs, SavingOverAnExistingFileAsksFirst) {
  testing_support::WriteFileBytes(base + "\\Out\\Report.txt", "");
  std::optional<AnsweredBox> question;
  HostString r = Drive(
      L"Keep", "Report.txt",
      [&] {
        return host.Call<HostString>("SysPromptSaveFileName", (base + "\\Out").c_str(), "", "Keep", "", "",
                                     "");
      },
      [&] { question = AnswerBox(IDYES); });
  // The platform's own question, in its own words.
  ASSERT_TRUE(question);
  EXPECT_FALSE(question->text.empty());
  ASSERT_TRUE(r.present);
  EXPECT_EQ(r.text, Lower(base) + "\\out\\report.txt");
}

}  // namespace
