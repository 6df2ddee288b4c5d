// The file family of RXSystem.dll under the stand-in host, on real files in a folder of the
// test's own: what each export does to the files, what it answers, and the message that
// reaches the author when it fails (in TLLastError, or in the box).
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "box_catcher.h"
#include "file_bytes.h"
#include "library_under_host.h"
#include "scratch_folder.h"
#include "stand_in_host.h"

using namespace authorware_host;
using testing_support::IsDirectory;
using testing_support::PathExists;

namespace {

// Read with no writer allowed: a handle the library left open for writing fails the read.
std::optional<std::string> ClosedFileBytes(const std::string& path) {
  return testing_support::ReadFileIfAny(path, testing_support::Writers::Refused);
}

// The lines of a list the library built, each ended by a carriage return, in a set: the
// walks follow the platform's order, which no one promises.
std::multiset<std::string> Lines(const std::string& text, bool* eachEnded = nullptr) {
  std::multiset<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t cr = text.find('\r', at);
    if (cr == std::string::npos) {
      if (eachEnded) *eachEnded = false;
      lines.insert(text.substr(at));
      break;
    }
    lines.insert(text.substr(at, cr - at));
    at = cr + 1;
  }
  return lines;
}

int CursorCount() {
  int count = ShowCursor(TRUE);
  ShowCursor(FALSE);
  return count - 1;
}

FILETIME WriteTimeOf(const std::string& path) {
  FILETIME t{};
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  GetFileTime(h, nullptr, nullptr, &t);
  CloseHandle(h);
  return t;
}

int64_t Ticks(const FILETIME& t) {
  return static_cast<int64_t>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
}

class Files : public rxsystem_tests::LibraryInScratchFolder {
 protected:
  Files() : LibraryInScratchFolder("rxfiles") {}
  void SetUp() override {
    LibraryInScratchFolder::SetUp();
    if (HasFatalFailure()) return;
    cursorBefore = CursorCount();
  }
  void TearDown() override {
    EXPECT_EQ(CursorCount(), cursorBefore) << "the wait cursor is taken down at every exit";
    LibraryInScratchFolder::TearDown();
  }

  std::string P(const std::string& relative) const { return base + "\\" + relative; }
  void Dir(const std::string& relative) { CreateDirectoryA(P(relative).c_str(), nullptr); }
  void File(const std::string& relative, const std::string& bytes = "x") {
    ASSERT_TRUE(testing_support::WriteFileBytes(P(relative), bytes)) << P(relative);
  }

  // The message the last failure left for the author; empty when none. Taken, so the next
  // call starts without one.
  std::string LastError() {
    std::string text = host.variables.Text("TLLastError").value_or("");
    host.variables.Erase("TLLastError");
    return text;
  }

  int32_t Call(const char* name, const std::string& a) { return host.Call<int32_t>(name, a.c_str()); }
  int32_t Call(const char* name, const std::string& a, const std::string& b) {
    return host.Call<int32_t>(name, a.c_str(), b.c_str());
  }

  int cursorBefore = 0;
};

TEST_F(Files, CopyFileCreatesTheMissingTreeAndReplacesTheDestination) {
  std::string big(100000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
  File("big.bin", big);
  EXPECT_EQ(Call("SysCopyFile", P("big.bin"), P("new\\deeper\\copy.bin")), 0) << LastError();
  EXPECT_EQ(ClosedFileBytes(P("new\\deeper\\copy.bin")), big) << "copied through more than one buffer";
  EXPECT_EQ(ClosedFileBytes(P("big.bin")), big);

  File("small.txt", "small");
  EXPECT_EQ(Call("SysCopyFile", P("small.txt"), P("new\\deeper\\copy.bin")), 0);
  EXPECT_EQ(ClosedFileBytes(P("new\\deeper\\copy.bin")), "small")
      << "the old destination is gone, not overwritten in part";
  EXPECT_EQ(LastError(), "");
}

TEST_F(Files, SingleFormsReportWhatWentWrong) {
  File("a.txt", "a");
  File("ro.txt", "old");
  SetFileAttributesA(P("ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  struct Case {
    const char* what;
    const char* function;
    std::string source, destination;
    std::string message;
  };
  const std::string longName = P(std::string(260, 'n'));
  const Case cases[] = {
      {"empty source", "SysCopyFile", "", P("b.txt"), "Missing or invalid parameter passed to function."},
      {"empty destination", "SysMoveFile", P("a.txt"), "",
       "Missing or invalid parameter passed to function."},
      {"missing source", "SysCopyFile", P("none.txt"), P("b.txt"),
       "The file \"" + P("none.txt") + "\" could not be found."},
      {"read-only destination", "SysCopyFile", P("a.txt"), P("ro.txt"),
       "Error creating \"" + P("ro.txt") + "\"."},
      {"missing source of a rename", "SysRenameFile", P("none.txt"), P("b.txt"),
       "The file \"" + P("none.txt") + "\" could not be found."},
      // 5
      {"over-long destination", "SysCopyFile", P("a.txt"), longName,
       "The specified file path exceeds the maximum length."},
      {"source that is a directory", "SysCopyFile", base, P("b.txt"), "Error opening \"" + base + "\"."},
      {"tree under a file", "SysCopyFile", P("a.txt"), P("a.txt\\sub\\b.txt"),
       "Error creating \"" + P("a.txt\\sub") + "\"."},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.what);
    EXPECT_EQ(Call(c.function, c.source, c.destination), -1);
    EXPECT_EQ(LastError(), c.message);
  }
  EXPECT_EQ(ClosedFileBytes(P("ro.txt")), "old");
  EXPECT_EQ(ClosedFileBytes(P("a.txt")), "a");
  EXPECT_FALSE(PathExists(P("b.txt")));
  EXPECT_EQ(host.Call<int32_t>("SysCopyFile", nullptr, P("b.txt").c_str()), -1);
  EXPECT_EQ(LastError(), "Missing or invalid parameter passed to function.");
}

// The single forms delete an existing destination first; a destination that names the source
// must not take the source with it.
TEST_F(Files, ADestinationThatNamesTheSourceKeepsIt) {
  File("same.txt", "keep");
  const std::string spellings[] = {P("same.txt"), P("SAME.TXT"), P(".\\same.txt"),
                                   base + "\\..\\" + base.substr(base.rfind('\\') + 1) + "\\same.txt"};
  for (const std::string& other : spellings) {
    SCOPED_TRACE(other);
    EXPECT_EQ(Call("SysCopyFile", P("same.txt"), other), 0) << LastError();
    EXPECT_EQ(Call("SysMoveFile", P("same.txt"), other), 0) << LastError();
    EXPECT_EQ(ClosedFileBytes(P("same.txt")), "keep");
  }
  // A rename to another way of writing the name is the platform's (Windows changes the
  // letters, Wine keeps them); the file stays.
  EXPECT_EQ(Call("SysRenameFile", P("same.txt"), P("Same.Txt")), 0) << LastError();
  EXPECT_EQ(ClosedFileBytes(P("same.txt")), "keep");
}

TEST_F(Files, MoveFileCopiesThenDeletesTheSource) {
  File("old.txt", "moved");
  HANDLE h = CreateFileA(P("old.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME longAgo{0x2A69C000, 0x01BE9D4E};  // 1999
  SetFileTime(h, &longAgo, &longAgo, &longAgo);
  CloseHandle(h);
  File("dest.txt", "replaced");

  EXPECT_EQ(Call("SysMoveFile", P("old.txt"), P("dest.txt")), 0) << LastError();
  EXPECT_FALSE(PathExists(P("old.txt")));
  EXPECT_EQ(ClosedFileBytes(P("dest.txt")), "moved");
  EXPECT_GT(Ticks(WriteTimeOf(P("dest.txt"))), Ticks(longAgo) + 10000000LL * 86400 * 365)
      << "a move on the same disk is still a copy, with a new time stamp";

  // A source that cannot be deleted stays, and so does its copy.
  File("pinned.txt", "pinned");
  HANDLE pin =
      CreateFileA(P("pinned.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(Call("SysMoveFile", P("pinned.txt"), P("pinned2.txt")), -1);
  CloseHandle(pin);
  EXPECT_EQ(LastError(), "Error deleting file \"" + P("pinned.txt") + "\".");
  EXPECT_EQ(ClosedFileBytes(P("pinned.txt")), "pinned");
  EXPECT_EQ(ClosedFileBytes(P("pinned2.txt")), "pinned");
}

// A source whose bytes cannot be read is no copy, and a move must then keep its source.
// Under Wine the process's own memory file opens but fails its first read; Windows has no
// such file at hand.
TEST_F(Files, AReadThatFailsIsNoCopy) {
  const std::string unreadable = "Z:\\proc\\self\\mem";
  if (GetFileAttributesA(unreadable.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "not under Wine";
  EXPECT_EQ(Call("SysMoveFile", unreadable, P("moved.bin")), -1);
  EXPECT_EQ(LastError(), "Error reading \"" + unreadable + "\".");
  std::string list = unreadable + "\t" + P("listed.bin");
  EXPECT_EQ(host.Call<int32_t>("SysMoveFileList", list.c_str(), int32_t{1}), -1);
  EXPECT_EQ(LastError(), "Error reading \"" + unreadable + "\".");
  EXPECT_EQ(host.Call<int32_t>("SysCopyFile", unreadable.c_str(), P("copied.bin").c_str()), -1);
  EXPECT_EQ(LastError(), "Error reading \"" + unreadable + "\".");
}

TEST_F(Files, RenameFileMovesIntoANewFolderAndReplacesTheDestination) {
  File("a.txt", "a");
  File("b.txt", "b");
  EXPECT_EQ(Call("SysRenameFile", P("a.txt"), P("b.txt")), 0) << LastError();
  EXPECT_EQ(ClosedFileBytes(P("b.txt")), "a");
  EXPECT_FALSE(PathExists(P("a.txt")));
  EXPECT_EQ(Call("SysRenameFile", P("b.txt"), P("x\\y\\c.txt")), 0) << LastError();
  EXPECT_EQ(ClosedFileBytes(P("x\\y\\c.txt")), "a");

  // A file the platform will not let go is reported with the name it was to get.
  File("d.txt", "d");
  HANDLE h = CreateFileA(P("d.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(Call("SysRenameFile", P("d.txt"), P("e.txt")), -1);
  CloseHandle(h);
  EXPECT_EQ(LastError(), "Invalid file path \"" + P("e.txt") + "\".");
  EXPECT_EQ(ClosedFileBytes(P("d.txt")), "d");
}

TEST_F(Files, CopyFilesPicksByPatternAndMirrorsTheVisitedTree) {
  File("a.TXT", "a");
  File("b.txt", "b");
  File("c.doc", "c");
  Dir("x.txt");
  Dir("sub");
  File("sub\\d.txt", "d");
  Dir("sub\\empty");
  Dir(".x");
  File(".x\\e.txt", "e");
  Dir("..x");
  File("..x\\f.txt", "f");
  const std::string fileSpec = P("*.txt");

  EXPECT_EQ(
      host.Call<int32_t>("SysCopyFiles", fileSpec.c_str(), P("flat").c_str(), "", int32_t{0}, int32_t{1}), 0)
      << LastError();
  EXPECT_EQ(ClosedFileBytes(P("flat\\a.TXT")), "a");
  EXPECT_EQ(ClosedFileBytes(P("flat\\b.txt")), "b");
  EXPECT_FALSE(PathExists(P("flat\\c.doc")));
  EXPECT_FALSE(PathExists(P("flat\\x.txt"))) << "a directory never matches";
  EXPECT_FALSE(PathExists(P("flat\\sub")));

  EXPECT_EQ(
      host.Call<int32_t>("SysCopyFiles", fileSpec.c_str(), P("tree").c_str(), "", int32_t{1}, int32_t{1}), 0)
      << LastError();
  EXPECT_EQ(ClosedFileBytes(P("tree\\sub\\d.txt")), "d");
  EXPECT_TRUE(IsDirectory(P("tree\\sub\\empty"))) << "visited directories are made, also the empty ones";
  EXPECT_TRUE(IsDirectory(P("tree\\x.txt")));
  EXPECT_EQ(ClosedFileBytes(P("tree\\.x\\e.txt")), "e");
  EXPECT_FALSE(PathExists(P("tree\\..x"))) << "names that begin with .. are not entered";
  EXPECT_TRUE(IsDirectory(P("tree\\flat"))) << "made by the first copy, and visited";
  EXPECT_FALSE(PathExists(P("tree\\tree"))) << "the destination inside the source is not entered";
  EXPECT_EQ(LastError(), "");
}

TEST_F(Files, CopyFilesWithoutOverwriteLeavesExistingFiles) {
  File("a.txt", "new a");
  File("b.txt", "new b");
  Dir("to");
  File("to\\b.txt", "old b");
  EXPECT_EQ(
      host.Call<int32_t>("SysCopyFiles", P("*.txt").c_str(), P("to").c_str(), "", int32_t{0}, int32_t{0}), 0);
  EXPECT_EQ(ClosedFileBytes(P("to\\a.txt")), "new a");
  EXPECT_EQ(ClosedFileBytes(P("to\\b.txt")), "old b");
  EXPECT_EQ(LastError(), "");
  EXPECT_EQ(host.Call<int32_t>("SysCopyFiles", P("*.txt").c_str(), (P("to") + "\\").c_str(), "", int32_t{0},
                               int32_t{5}),
            0);
  EXPECT_EQ(ClosedFileBytes(P("to\\b.txt")), "new b");
  // Into its own folder every file is already where it should be.
  EXPECT_EQ(host.Call<int32_t>("SysCopyFiles", P("*.txt").c_str(), base.c_str(), "", int32_t{0}, int32_t{1}),
            0)
      << LastError();
  EXPECT_EQ(host.Call<int32_t>("SysMoveFiles", P("*.txt").c_str(), base.c_str(), "", int32_t{0}, int32_t{1}),
            0)
      << LastError();
  EXPECT_EQ(ClosedFileBytes(P("a.txt")), "new a");
}

TEST_F(Files, WildcardFormsRefuseBadSpecs) {
  File("a.txt");
  Dir("deep");
  const std::string longDestination = P("deep\\" + std::string(248 - P("deep\\").size() - 1, 'd'));
  ASSERT_TRUE(CreateDirectoryA(longDestination.c_str(), nullptr));
  File(std::string(40, 'f') + ".txt");
  struct Case {
    const char* what;
    std::string fileSpec, destination;
    std::string message;
  };
  const Case cases[] = {
      {"empty file spec", "", P("to"), "Missing or invalid parameter passed to function."},
      {"empty destination", P("*.txt"), "", "Missing or invalid parameter passed to function."},
      {"no backslash", "*.txt", P("to"), "Missing or invalid parameter passed to function."},
      {"nothing after the backslash", P(""), P("to"), "Invalid file name pattern."},
      {"long pattern", P(std::string(260, '*')), P("to"),
       "The specified file name pattern exceeds the maximum length."},
      // 5
      {"long file spec", P(std::string(250, 'd') + "\\*.txt"), P("to"),
       "The specified file path exceeds the maximum length."},
      {"destination with a missing parent", P("*.txt"), P("none\\to"),
       "Error creating directory \"" + P("none\\to") + "\"."},
      {"names that outgrow the destination", P("f*.txt"), longDestination,
       "The specified file path exceeds the maximum length."},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.what);
    EXPECT_EQ(host.Call<int32_t>("SysCopyFiles", c.fileSpec.c_str(), c.destination.c_str(), "", int32_t{1},
                                 int32_t{1}),
              -1);
    EXPECT_EQ(LastError(), c.message);
  }
  EXPECT_FALSE(PathExists(P("to")));
  // A folder that is not there has nothing to walk.
  EXPECT_EQ(host.Call<int32_t>("SysCopyFiles", P("none\\*.txt").c_str(), P("to").c_str(), "", int32_t{1},
                               int32_t{1}),
            0);
  EXPECT_EQ(host.Call<int32_t>("SysDeleteFiles", P("none\\*.txt").c_str(), "", int32_t{1}), 0);
  EXPECT_EQ(LastError(), "");
}

TEST_F(Files, MoveFilesAndDeleteFilesWalkTheSubtree) {
  File("a.txt", "a");
  File("keep.doc", "k");
  Dir("sub");
  File("sub\\b.txt", "b");
  EXPECT_EQ(
      host.Call<int32_t>("SysMoveFiles", P("*.txt").c_str(), P("to").c_str(), "", int32_t{1}, int32_t{0}), 0)
      << LastError();
  EXPECT_EQ(ClosedFileBytes(P("to\\a.txt")), "a");
  EXPECT_EQ(ClosedFileBytes(P("to\\sub\\b.txt")), "b");
  EXPECT_FALSE(PathExists(P("a.txt")));
  EXPECT_FALSE(PathExists(P("sub\\b.txt")));
  EXPECT_TRUE(IsDirectory(P("sub")));

  EXPECT_EQ(host.Call<int32_t>("SysDeleteFiles", P("to\\*.TXT|*.doc").c_str(), "", int32_t{1}), 0)
      << LastError();
  EXPECT_FALSE(PathExists(P("to\\a.txt")));
  EXPECT_FALSE(PathExists(P("to\\sub\\b.txt")));
  EXPECT_TRUE(IsDirectory(P("to\\sub"))) << "directories stay";
  EXPECT_TRUE(PathExists(P("keep.doc")));

  // A failure stops the walk where it is; the wait cursor still comes down.
  File("to\\c.txt");
  HANDLE pin =
      CreateFileA(P("to\\c.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(host.Call<int32_t>("SysDeleteFiles", P("to\\*.txt").c_str(), "", int32_t{0}), -1);
  CloseHandle(pin);
  EXPECT_EQ(LastError(), "Error deleting file \"" + P("to\\c.txt") + "\".");
}

TEST_F(Files, ListFormsCarryOutEachLine) {
  File("a.txt", "a");
  File("b.txt", "b");
  std::string list = P("a.txt") + "\t" + P("one\\two\\a.txt") + "\r" + P("b.txt") + "\t" + P("b2.txt") + "\r";
  EXPECT_EQ(host.Call<int32_t>("SysCopyFileList", list.c_str(), int32_t{1}), 0) << LastError();
  EXPECT_EQ(ClosedFileBytes(P("one\\two\\a.txt")), "a");
  EXPECT_EQ(ClosedFileBytes(P("b2.txt")), "b");

  File("a.txt", "a again");
  list.pop_back();  // the last line may go without its carriage return
  EXPECT_EQ(host.Call<int32_t>("SysCopyFileList", list.c_str(), int32_t{0}), 0) << LastError();
  EXPECT_EQ(ClosedFileBytes(P("one\\two\\a.txt")), "a") << "an existing destination is skipped";

  std::string moves = P("a.txt") + "\t" + P("moved\\a.txt") + "\r" + P("b.txt") + "\t" + P("b2.txt");
  EXPECT_EQ(host.Call<int32_t>("SysMoveFileList", moves.c_str(), int32_t{0}), 0) << LastError();
  EXPECT_EQ(ClosedFileBytes(P("moved\\a.txt")), "a again");
  EXPECT_FALSE(PathExists(P("a.txt")));
  EXPECT_EQ(ClosedFileBytes(P("b.txt")), "b") << "skipped, so not moved either";

  std::string renames = P("b.txt") + "\t" + P("renamed\\b.txt") + "\r";
  EXPECT_EQ(host.Call<int32_t>("SysRenameFileList", renames.c_str(), int32_t{1}), 0) << LastError();
  EXPECT_EQ(ClosedFileBytes(P("renamed\\b.txt")), "b");
  File("c.txt", "c");
  std::string onto = P("c.txt") + "\t" + P("renamed\\b.txt");
  EXPECT_EQ(host.Call<int32_t>("SysRenameFileList", onto.c_str(), int32_t{1}), -1)
      << "the list rename replaces nothing";
  EXPECT_EQ(ClosedFileBytes(P("renamed\\b.txt")), "b");
  LastError();

  std::string deletes = P("c.txt") + "\r" + P("b2.txt") + "\r";
  EXPECT_EQ(host.Call<int32_t>("SysDeleteFileList", deletes.c_str()), 0) << LastError();
  EXPECT_FALSE(PathExists(P("c.txt")));
  EXPECT_FALSE(PathExists(P("b2.txt")));
  EXPECT_EQ(LastError(), "");
}

TEST_F(Files, ListFormsRefuseBadLines) {
  File("a.txt", "a");
  File("gone.txt");
  const std::string a = P("a.txt");
  const std::string longPath = P(std::string(260, 'l'));
  struct Case {
    const char* what;
    const char* function;  // with a destination unless SysDeleteFileList
    std::string list;
    std::string message;
    const char* made;  // done before the failing line, or null
  };
  const Case cases[] = {
      {"empty", "SysCopyFileList", "", "Missing or invalid parameter passed to function.", nullptr},
      {"no tab", "SysCopyFileList", a + " " + P("b.txt"), "Invalid file path in list.", nullptr},
      {"short destination", "SysCopyFileList", a + "\tb:", "Invalid file path in list.", nullptr},
      {"long destination", "SysCopyFileList", a + "\t" + longPath,
       "The specified file path exceeds the maximum length.", nullptr},
      {"destination without backslash", "SysCopyFileList", a + "\tb.txt", "Invalid file path \"b.txt\".",
       nullptr},
      // 5
      {"short source", "SysCopyFileList", "ab\t" + P("b.txt"), "Invalid file path \"ab\".", nullptr},
      {"long source", "SysMoveFileList", longPath + "\t" + P("b.txt"),
       "The specified file path exceeds the maximum length.", nullptr},
      {"empty line in the middle", "SysCopyFileList",
       a + "\t" + P("c1.txt") + "\r\r" + a + "\t" + P("c2.txt"), "Invalid file path in list.", "c1.txt"},
      {"empty line without destination", "SysDeleteFileList", P("gone.txt") + "\r\r" + a,
       "Invalid file path \"\".", nullptr},
      {"two characters", "SysDeleteFileList", "ab", "Invalid file path \"ab\".", nullptr},
      // 10
      {"missing source after a good line", "SysCopyFileList",
       a + "\t" + P("c3.txt") + "\r" + P("none.txt") + "\t" + P("c4.txt"),
       "The file \"" + P("none.txt") + "\" could not be found.", "c3.txt"},
      {"directory under a file", "SysCopyFileList", a + "\t" + P("a.txt\\sub\\c.txt"),
       "Error creating \"" + P("a.txt\\sub") + "\".", nullptr},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.what);
    int32_t result = std::string(c.function) == "SysDeleteFileList"
                         ? host.Call<int32_t>(c.function, c.list.c_str())
                         : host.Call<int32_t>(c.function, c.list.c_str(), int32_t{1});
    EXPECT_EQ(result, -1);
    EXPECT_EQ(LastError(), c.message);
    if (c.made) {
      EXPECT_TRUE(PathExists(P(c.made)));
    }
  }
  EXPECT_EQ(ClosedFileBytes(a), "a") << "nothing after a failing line is carried out";
  EXPECT_FALSE(PathExists(P("gone.txt"))) << "but the lines before it are";
  EXPECT_FALSE(PathExists(P("b.txt")));
  EXPECT_FALSE(PathExists(P("c2.txt")));
  EXPECT_FALSE(PathExists(P("c4.txt")));
  EXPECT_EQ(host.Call<int32_t>("SysDeleteFileList", nullptr), -1);
  EXPECT_EQ(LastError(), "Missing or invalid parameter passed to function.");
}

TEST_F(Files, FileExists) {
  File("a.txt");
  EXPECT_EQ(Call("SysFileExists", P("a.txt")), 1);
  EXPECT_EQ(Call("SysFileExists", base), 1) << "a directory counts";
  EXPECT_EQ(Call("SysFileExists", P("none.txt")), 0);
  EXPECT_EQ(Call("SysFileExists", P("none\\none.txt")), 0);
  EXPECT_EQ(LastError(), "");
  EXPECT_EQ(Call("SysFileExists", ""), -1);
  EXPECT_EQ(LastError(), "Missing or invalid parameter passed to function.");
}

class FindFiles : public Files {
 protected:
  HostString Find(const std::string& fileSpec, int32_t searchDirs, int32_t searchAll, int32_t firstOnly,
                  const char* minDate = "", const char* maxDate = "", int32_t minDays = 0,
                  int32_t maxDays = 0) {
    return host.Call<HostString>("SysFindFiles", fileSpec.c_str(), "", searchDirs, searchAll, firstOnly,
                                 minDate, maxDate, minDays, maxDays);
  }
  void Stamp(const std::string& relative, const char* date, const char* time) {
    ASSERT_EQ(host.Call<int32_t>("SysSetFileTime", P(relative).c_str(), date, time), 0) << LastError();
  }
};

TEST_F(FindFiles, ListsMatchingPathsEachEndedByACarriageReturn) {
  File("a.txt");
  File("b.TXT");
  File("c.doc");
  Dir("sub.txt");
  File("sub.txt\\d.txt");
  HostString s = Find(P("*.txt"), 0, 0, 0);
  ASSERT_TRUE(s.present);
  EXPECT_TRUE(s.movable);
  EXPECT_EQ(s.lockCount, 0u);
  bool ended = true;
  EXPECT_EQ(Lines(s.text, &ended), (std::multiset<std::string>{P("a.txt"), P("b.TXT")}));
  EXPECT_TRUE(ended);

  s = Find(P("*.txt"), 1, 0, 0);
  EXPECT_EQ(Lines(s.text), (std::multiset<std::string>{P("a.txt"), P("b.TXT"), P("sub.txt\\d.txt")}));

  s = Find(P("*.txt"), 1, 0, 1);
  EXPECT_EQ(s.blockSize, 262u);
  ASSERT_EQ(Lines(s.text).size(), 1u);
  EXPECT_EQ(s.text.back(), '\r');

  s = Find(P("*.xyz"), 1, 0, 0);
  EXPECT_TRUE(s.present) << "nothing found is the empty text, not a failure";
  EXPECT_EQ(s.text, "");
  EXPECT_EQ(LastError(), "");

  s = Find(P(""), 0, 0, 0);
  EXPECT_FALSE(s.present);
  EXPECT_EQ(LastError(), "Invalid file name pattern.");
}

TEST_F(FindFiles, AResultLongerThanItsBlockKeepsEveryPath) {
  std::set<std::string> made;
  const std::string stem(200 - base.size(), 'n');
  for (int i = 0; i < 160; ++i) {
    std::string name = stem + std::to_string(1000 + i) + ".dat";
    File(name);
    made.insert(P(name));
  }
  HostString s = Find(P("*.dat"), 0, 0, 0);
  ASSERT_TRUE(s.present) << LastError();
  EXPECT_GT(s.text.size(), 29999u);
  std::multiset<std::string> lines = Lines(s.text);
  EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()), made);
  EXPECT_EQ(lines.size(), made.size());
}

TEST_F(FindFiles, DateBoundsPickByLastWriteTime) {
  File("before.txt");
  File("midnight.txt");
  File("edge.txt");
  File("later.txt");
  File("now.txt");
  Stamp("before.txt", "12/31/96", "23:59:59");
  Stamp("midnight.txt", "1/1/97", "0:00:00");
  Stamp("edge.txt", "1/1/97", "0:00:01");
  Stamp("later.txt", "6/15/97", "12:00");
  struct Case {
    const char* what;
    const char* minDate;
    const char* maxDate;
    int32_t minDays, maxDays;
    std::multiset<std::string> found;
  };
  const Case cases[] = {
      {"from 1/1/97 00:00:01", "1/1/97", "", 0, 0, {"edge.txt", "later.txt", "now.txt"}},
      {"up to 1/1/97 00:00:01", "", "1/1/97", 0, 0, {"before.txt", "midnight.txt", "edge.txt"}},
      {"both", "1/1/97", "1/1/97", 0, 0, {"edge.txt"}},
      {"the last seven days", "", "", 7, 0, {"now.txt"}},
      {"older than seven days", "", "", 0, 7, {"before.txt", "midnight.txt", "edge.txt", "later.txt"}},
      // 5
      {"a date wins over its day count", "6/1/97", "", 7, 0, {"later.txt", "now.txt"}},
      {"no bound at all", "", "", 0, -3, {"before.txt", "midnight.txt", "edge.txt", "later.txt", "now.txt"}},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.what);
    HostString s = Find(P("*.txt"), 0, 0, 0, c.minDate, c.maxDate, c.minDays, c.maxDays);
    ASSERT_TRUE(s.present) << LastError();
    std::multiset<std::string> expected;
    for (const std::string& name : c.found) expected.insert(P(name));
    EXPECT_EQ(Lines(s.text), expected);
  }
}

TEST_F(FindFiles, RefusesDatesItCannotHoldAndFilesItCannotOpen) {
  File("a.txt");
  const char* badDates[] = {"1/1/1997", "1/1/69", "1/x/97", "2/30/97", "13/1/97", "1/20/138"};
  for (const char* date : badDates) {
    SCOPED_TRACE(date);
    EXPECT_FALSE(Find(P("*.txt"), 0, 0, 0, date).present);
    EXPECT_EQ(LastError(), "Specified date has incorrect format.");
    EXPECT_FALSE(Find(P("*.txt"), 0, 0, 0, "", date).present);
    EXPECT_EQ(LastError(), "Specified date has incorrect format.");
  }
  HostString latest = Find(P("*.txt"), 0, 0, 0, "1/18/138");
  EXPECT_TRUE(latest.present) << "the last day a signed second count reaches";

  HANDLE pin = CreateFileA(P("a.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_FALSE(Find(P("*.txt"), 0, 0, 0, "", "", 7).present);
  EXPECT_EQ(LastError(), "Error opening \"" + P("a.txt") + "\".");
  EXPECT_TRUE(Find(P("*.txt"), 0, 0, 0).present) << "without a bound no file is opened";
  CloseHandle(pin);
}

TEST_F(FindFiles, SearchAllLooksAtTheRootOfEveryFixedDisk) {
  const std::string name = "rxfind" + std::to_string(GetCurrentProcessId()) + ".tmp";
  const std::string path = "C:\\" + name;
  ASSERT_TRUE(testing_support::WriteFileBytes(path, "x")) << path;
  HostString s = Find("ignored\\dir\\" + name, 0, 1, 0);
  HostString first = Find(name, 0, 1, 1);
  HostString none = Find("rxfind" + std::to_string(GetCurrentProcessId()) + ".none", 0, 1, 0);
  DeleteFileA(path.c_str());
  ASSERT_TRUE(s.present) << LastError();
  EXPECT_EQ(s.text, path + "\r");
  EXPECT_EQ(first.text, path + "\r");
  EXPECT_TRUE(none.present);
  EXPECT_EQ(none.text, "");
  EXPECT_EQ(LastError(), "");

  EXPECT_FALSE(Find("", 0, 1, 0).present);
  EXPECT_EQ(LastError(), "Missing or invalid parameter passed to function.");
  EXPECT_FALSE(Find("C:\\" + std::string(260, 'p'), 0, 1, 0).present);
  EXPECT_EQ(LastError(), "The specified file name pattern exceeds the maximum length.");
}

TEST_F(Files, AttributesAsLetters) {
  File("a.txt");
  struct Case {
    const char* set;
    const char* get;
  };
  // clang-format off
  const Case cases[] = {
      {"ra", "RA"},
      {"rh", "RH"},
      {"SHRA", "RHSA"},
      {"dxa", "A"},  // every other letter is ignored, D too
      {"", ""},
  };
  // clang-format on
  // Wine shows every plain file as archived; Windows shows the flag as it was set.
  auto withoutArchive = [](std::string s) {
    s.erase(std::remove(s.begin(), s.end(), 'A'), s.end());
    return s;
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.set);
    char attributes[8];
    strcpy(attributes, c.set);
    EXPECT_EQ(host.Call<int32_t>("SysSetFileAttrib", P("a.txt").c_str(), attributes), 0) << LastError();
    EXPECT_STREQ(attributes, c.set) << "the host's text stays as it came";
    HostString s = host.Call<HostString>("SysGetFileAttrib", P("a.txt").c_str());
    ASSERT_TRUE(s.present);
    EXPECT_EQ(withoutArchive(s.text), withoutArchive(c.get));
    if (std::string(c.get).find('A') != std::string::npos) {
      EXPECT_EQ(s.text.back(), 'A');
    }
    EXPECT_EQ(s.blockSize, 6u);
  }
  HostString dir = host.Call<HostString>("SysGetFileAttrib", base.c_str());
  EXPECT_NE(dir.text.find('D'), std::string::npos) << dir.text;

  EXPECT_FALSE(host.Call<HostString>("SysGetFileAttrib", P("none").c_str()).present);
  EXPECT_EQ(LastError(), "Unable to get file attributes for \"" + P("none") + "\".");
  EXPECT_EQ(host.Call<int32_t>("SysSetFileAttrib", P("none").c_str(), "r"), -1);
  EXPECT_EQ(LastError(), "Unable to set file attributes for \"" + P("none") + "\".");
  EXPECT_EQ(host.Call<int32_t>("SysSetFileAttrib", P("a.txt").c_str(), nullptr), -1);
  EXPECT_EQ(LastError(), "Missing or invalid parameter passed to function.");
  EXPECT_FALSE(host.Call<HostString>("SysGetFileAttrib", "").present);
  EXPECT_EQ(LastError(), "Missing or invalid parameter passed to function.");
}

TEST_F(Files, FileTimesAsText) {
  File("a.txt");
  struct Case {
    const char* date;
    const char* time;
    const char* text;  // what SysGetFileTime gives afterwards, or the refusal
  };
  const Case cases[] = {
      {"12/31/99", "23:59", "12/31/99 23:59:00"},
      {"3/15/97", "14:05:09", "3/15/97 14:05:09"},
      {"7/4/3", "9:30:15", "7/4/103 9:30:15"},
      {"12/31/99", "23", nullptr},
      {"13/1/99", "12:00", nullptr},
      // 5
      {"1/1/99", "25:00", nullptr},
      {"x", "12:00", nullptr},
      // A year written in full is that year, not 1900 years later.
      {"12/31/1999", "23:59", "12/31/99 23:59:00"},
      {"1/2/2003", "7:08", "1/2/103 7:08:00"},
      {"2/29/2000", "12:00:30", "2/29/100 12:00:30"},
      // 10: years the platform's file times cannot hold
      {"1/1/1600", "12:00", nullptr},
      {"12/31/30828", "12:00", nullptr},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("row " + std::to_string(row++) + ": " + c.date + " " + c.time);
    int32_t result = host.Call<int32_t>("SysSetFileTime", P("a.txt").c_str(), c.date, c.time);
    if (!c.text) {
      EXPECT_EQ(result, -1);
      EXPECT_EQ(LastError(), "Specified date has incorrect format.");
      continue;
    }
    EXPECT_EQ(result, 0) << LastError();
    HostString s = host.Call<HostString>("SysGetFileTime", P("a.txt").c_str());
    ASSERT_TRUE(s.present) << LastError();
    EXPECT_EQ(s.text, c.text);
    EXPECT_EQ(s.blockSize, 25u);
  }
  FILETIME created, accessed, written;
  HANDLE h =
      CreateFileA(P("a.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  GetFileTime(h, &created, &accessed, &written);
  CloseHandle(h);
  EXPECT_EQ(Ticks(created), Ticks(written)) << "all three times are set";
  EXPECT_EQ(Ticks(accessed), Ticks(written));

  EXPECT_EQ(host.Call<int32_t>("SysSetFileTime", P("none").c_str(), "1/1/99", "1:00"), -1);
  EXPECT_EQ(LastError(), "Error opening \"" + P("none") + "\".");
  EXPECT_EQ(host.Call<int32_t>("SysSetFileTime", P("a.txt").c_str(), "1/1/99", ""), -1);
  EXPECT_EQ(LastError(), "Missing or invalid parameter passed to function.");
  EXPECT_FALSE(host.Call<HostString>("SysGetFileTime", P("none").c_str()).present);
  EXPECT_EQ(LastError(), "Error opening \"" + P("none") + "\".");
}

TEST_F(Files, FileSizeWithoutAnyMessage) {
  File("a.bin", std::string(70001, 'z'));
  File("empty.bin", "");
  EXPECT_EQ(host.Call<uint32_t>("SysGetFileSize", P("a.bin").c_str()), 70001u);
  EXPECT_EQ(host.Call<uint32_t>("SysGetFileSize", P("empty.bin").c_str()), 0u);
  host.window.traffic.clear();
  EXPECT_EQ(host.Call<uint32_t>("SysGetFileSize", P("none").c_str()), 0xFFFFFFFFu);
  EXPECT_EQ(host.Call<uint32_t>("SysGetFileSize", ""), 0xFFFFFFFFu);
  EXPECT_EQ(host.Call<uint32_t>("SysGetFileSize", nullptr), 0xFFFFFFFFu);
  EXPECT_TRUE(host.window.traffic.empty()) << "not even the host is asked";
}

// Without the host's switch the author sees the box, and the wait cursor is gone by then.
TEST_F(Files, FailuresShowTheBoxWhenTheHostDoesNotHideThem) {
  host.variables.Erase("TLHideErrors");
  File("a.txt");
  BoxCatcher catcher;
  EXPECT_EQ(Call("SysRenameFile", P("none.txt"), P("b.txt")), -1);
  EXPECT_EQ(host.Call<int32_t>("SysCopyFiles", P("*.txt").c_str(), P("none\\to").c_str(), "", int32_t{0},
                               int32_t{1}),
            -1);
  std::vector<SeenBox> seen = catcher.Stop();
  ASSERT_EQ(seen.size(), 2u);
  const std::string first = "The file \"" + P("none.txt") + "\" could not be found.";
  const std::string second = "Error creating directory \"" + P("none\\to") + "\".";
  EXPECT_EQ(seen[0].text, std::wstring(first.begin(), first.end()));
  EXPECT_EQ(seen[1].text, std::wstring(second.begin(), second.end()));
  EXPECT_EQ(seen[0].caption, L"RXSystem UCD Error");
  EXPECT_FALSE(host.variables.Get("TLLastError").has_value());
}

}  // namespace
