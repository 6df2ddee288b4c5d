// The save button of both programs' main window on data files of the test's own: what comes
// back from a save is a file the program takes again with the same content, a second save
// writes the same bytes, and a data file that cannot be written is told in Greek while the
// old file and the student's work stay as they were.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <iterator>
#include <string>

#include "data_file_content.h"
#include "forms/application.h"
#include "forms/core/message_service.h"
#include "gui_driver.h"
#include "message_recorder.h"
#include "program_run.h"
#include "sound_experiment/sound_data_file.h"
#include "test_files.h"
#include "text_fit.h"
#include "toolkit/GreekConfirm.h"
#include "wave_experiment/Unit1.h"

using namespace kelmora_test;
using testing_support::MessageRecorder;

namespace {

// Joins lines with CR LF after each.
std::string Lines(std::initializer_list<std::string> lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

// Questions and answers as the writer writes them: an answer that ends in an empty line, and
// one of two empty lines, so that a line gained or lost on the way through the questions
// form shows.
const std::string kHead =
    Lines({"Πώς εξαρτάται η ταχύτητα από τη θερμοκρασία;", "----------", "Αυξάνεται.", "", "----------",
           "Και από την πυκνότητα;", "----------", "", "", "----------"});

class SaveButton : public ::testing::Test {
 protected:
  void SetUp() override { forms::Application::Get().Initialize(); }

  // The program started on `file` as its program block starts it, and the questions form
  // opened and closed once, as a student does before anything else: the answers have been
  // through its memos.
  void Start(bool sound, const std::wstring& file) {
    run.Start(sound, file);
    if (HasFatalFailure()) return;
    ASSERT_FALSE(forms::Application::Get().Terminated()) << "the program did not take the file";
    OpenAndCloseQuestions(*run.form);
    ASSERT_TRUE(run.form->save_BitBtn->Enabled());
  }

  void ClickSave() { SendMessageW(run.form->save_BitBtn->Handle(), BM_CLICK, 0, 0); }

  ScratchFolder folder;
  ProgramRun run;
};

// Files each program takes at the edges of the format, saved twice through the button.
TEST_F(SaveButton, EveryFileTakenComesBackAsOneTakenWithTheSameContent) {
  struct Case {
    const char* name;
    bool sound;
    std::string tables;   // the lines after the answers
    std::string written;  // what the first save writes after the answers
  };
  const Case cases[] = {
      {"table count 0", false, Lines({"0"}), Lines({"2", "0", "0", "0", "0"})},
      {"set count 0", true, Lines({"0"}), Lines({"1", "0", "0"})},
      {"negative counts", false, Lines({"1", "-2", "-1"}), Lines({"2", "0", "0", "0", "0"})},
      {"one table of two", false, Lines({"1", "1", "2", "a", "b"}),
       Lines({"2", "1", "2", "a", "b", "1", "2", "", ""})},
      {"cells missing at the end", false, Lines({"1", "2", "2", "a"}),
       Lines({"2", "2", "2", "a", "", "", "", "2", "2", "", "", "", ""})},
      // 5
      {"a third table without cells", false, Lines({"3", "1", "1", "a", "0", "0", "0", "0"}),
       Lines({"2", "1", "1", "a", "1", "1", ""})},
      {"two sets", true, Lines({"2", "1", "1", "a", "1", "1", "b"}), Lines({"1", "1", "1", "a"})},
      {"a line feed inside a cell", true, Lines({"1", "1", "2", "x\ny", "z"}),
       Lines({"1", "1", "2", "x\ny", "z"})},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "row " << i << ": " << c.name);
    const Unit1::DataFilePolicy& policy =
        c.sound ? SoundProgram::kSoundDataFilePolicy : Unit1::kWaveDataFilePolicy;
    std::wstring file = folder.File(L"case" + std::to_wstring(i) + L".txt");
    const std::string original = kHead + c.tables;
    ASSERT_TRUE(WriteFileBytes(file, original));
    std::string saved[2];
    for (std::string& bytes : saved) {
      MessageRecorder messages;  // the floppy report's outcome
      Start(c.sound, file);
      if (HasFatalFailure()) return;
      ClickSave();
      bytes = ReadFileBytes(file);
    }
    EXPECT_EQ(saved[0], kHead + c.written);
    EXPECT_EQ(saved[1], saved[0]) << "the second save";
    data_file_content::Reading first = data_file_content::Read(original, policy);
    data_file_content::Reading back = data_file_content::Read(saved[0], policy);
    ASSERT_EQ(back.outcome, Unit1::ReadOutcome::Ok);
    EXPECT_EQ(data_file_content::Difference(first, back, policy), "");
  }
}

// A data file in a folder of its own, kept from being written in one of four ways after the
// program has read it; each save is refused with the Greek message, the file or folder in the
// way is as it was, nothing is left beside it, and the window keeps the student's work.
TEST_F(SaveButton, ADataFileThatCannotBeWrittenIsToldInGreekAndLeftAsItWas) {
  const std::string notSaved = "Τα δεδομένα δεν αποθηκεύτηκαν. ";
  enum Way { FolderGone, FolderInItsPlace, ReadOnly, HeldOpen };
  struct Case {
    Way way;
    const char* name;
    const char* reason;
  };
  const Case cases[] = {
      {FolderGone, "its folder is gone", "Ο φάκελος του αρχείου δεδομένων δεν υπάρχει."},
      {FolderInItsPlace, "a folder in its place", "Στη θέση του αρχείου δεδομένων υπάρχει φάκελος."},
      {ReadOnly, "read-only", "Το αρχείο δεδομένων είναι μόνο για ανάγνωση."},
      {HeldOpen, "held open by another program", "Το αρχείο δεδομένων χρησιμοποιείται από άλλο πρόγραμμα."},
  };
  const std::string original = kHead + Lines({"1", "1", "1", "3.5"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::wstring dir = folder.File(L"sub");
    std::wstring file = dir + L"\\data.txt";
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(file, original));
    Start(false, file);
    if (HasFatalFailure()) return;
    Unit1::Measurements.Cell(1, 1, 1) = "4.5";
    HANDLE held = INVALID_HANDLE_VALUE;
    switch (c.way) {
      case FolderGone:
        ASSERT_TRUE(DeleteFileW(file.c_str()));
        ASSERT_TRUE(RemoveDirectoryW(dir.c_str()));
        break;
      case FolderInItsPlace:
        ASSERT_TRUE(DeleteFileW(file.c_str()));
        ASSERT_TRUE(CreateDirectoryW(file.c_str(), nullptr));
        break;
      case ReadOnly:
        ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
        // Run as root, a process may write the file all the same: the mark must be there.
        ASSERT_NE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
        break;
      case HeldOpen:
        held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        break;
    }
    MessageRecorder messages;
    ClickSave();
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    ASSERT_EQ(messages.Count(), 1u) << "no report, no other message";
    EXPECT_EQ(messages.messages[0].kind, forms::MessageKind::GreekConfirm);
    EXPECT_EQ(messages.messages[0].caption, "2ο Πείραμα");
    EXPECT_EQ(messages.messages[0].text, notSaved + c.reason) << messages.TextUtf8(0);
    EXPECT_EQ(messages.messages[0].buttons, 0u);
    EXPECT_TRUE(IsWindowVisible(run.form->Handle()));
    EXPECT_FALSE(forms::Application::Get().Terminated());
    EXPECT_EQ(Unit1::Measurements.Cell(1, 1, 1), "4.5") << "the student's work is kept";
    DWORD attr = GetFileAttributesW(file.c_str());
    switch (c.way) {
      case FolderGone:
        EXPECT_EQ(GetFileAttributesW(dir.c_str()), INVALID_FILE_ATTRIBUTES);
        ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
        break;
      case FolderInItsPlace:
        EXPECT_NE(attr & FILE_ATTRIBUTE_DIRECTORY, 0u);
        EXPECT_TRUE(RemoveDirectoryW(file.c_str()));
        break;
      case ReadOnly:
      case HeldOpen:
        EXPECT_EQ(ReadFileBytes(file), original);
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(file.c_str());
        break;
    }
    // Nothing half-written stays beside the file.
    EXPECT_EQ(testing_support::CountEntries(dir), 0);
    RemoveDirectoryW(dir.c_str());
  }
}

// The read-only file in the real dialog: the student reads the whole message in the box.
TEST_F(SaveButton, TheRefusalIsReadWholeInTheRealDialog) {
  std::wstring file = folder.File(L"data.txt");
  ASSERT_TRUE(WriteFileBytes(file, kHead + Lines({"0"})));
  Start(true, file);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_NE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  const std::string text = "Τα δεδομένα δεν αποθηκεύτηκαν. Το αρχείο δεδομένων είναι μόνο για ανάγνωση.";
  std::atomic<bool> shown{false}, done{false};
  int needed = 0, height = 0;
  testing_support::Driver d([&] {
    if (HWND box = testing_support::WaitForTopWindow(L"2ο Πείραμα")) {
      shown = testing_support::FindChildByText(box, forms::Widen(text)) != nullptr;
      if (GreekConfirm::TGreekConfirmForm* f = GreekConfirm::GreekConfirmForm) {
        needed = WrappedTextHeight(f->Label1.Font(), ClientWidth(f->Label1), text, DT_CENTER);
        height = ClientHeight(f->Label1);
      }
      testing_support::ClickChild(testing_support::FindChildByText(box, L"OK"));
    } else if (GreekConfirm::TGreekConfirmForm* other = GreekConfirm::GreekConfirmForm) {
      // Some other message: closed, so that the save returns and the test fails by itself.
      PostMessageW(other->Handle(), WM_CLOSE, 0, 0);
    }
    done = true;
  });
  ClickSave();
  testing_support::PumpUntil([&] { return done.load(); });
  d.Join();
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(shown);
  EXPECT_GT(needed, 0);
  EXPECT_LE(needed, height) << "the message is cut off at the bottom";
  EXPECT_EQ(ReadFileBytes(file), kHead + Lines({"0"}));
  EXPECT_TRUE(IsWindowVisible(run.form->Handle()));
}

}  // namespace
