// The save button's road: the data file, the floppy report on A:, the outcome message.
// A: is a folder of the test's own, or absent; these tests run one at a time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_bytes.h"
#include "floppy_drive.h"
#include "forms/core/message_service.h"
#include "forms/core/text.h"
#include "gui_driver.h"
#include "message_recorder.h"
#include "scratch_folder.h"
#include "wave_experiment/experiment_data.h"
#include "wave_experiment/report_file.h"
#include "wave_experiment/results.h"
#include "wave_experiment/results_report.h"
#include "wave_experiment/wave_results.h"

using results_tests::FloppyDrive;
using namespace testing_support;

namespace {

const char kSaved[] = "Τα αποτελέσματα αποθηκεύτηκαν.";
const char kNotSaved[] = "Τα αποτελέσματα δεν αποθηκεύτηκαν στη δισκέτα.";

class Save : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::Application::Get().ResetTerminated();
    results::results_form = &dialog;
    Unit1::Question1 = "Πώς μεταβάλλεται η ταχύτητα διάδοσης;";
    Unit1::Question2 = "Εξαρτάται από τη συχνότητα;";
    Unit1::Answer1Lines = {"Αυξάνεται."};
    Unit1::Answer2Lines.clear();
    Unit1::Measurements.Clear();
    Unit1::Measurements.Cell(1, 1, 1) = "3.5";
    Unit1::Measurements.Cell(2, 5, 5) = "ένα κείμενο πολύ μεγαλύτερο από είκοσι";
    Unit1::GridRows = 6;
    Unit1::GridCols = 6;
  }
  void TearDown() override { results::results_form = nullptr; }

  // The data file as the program writes it; the bytes it wrote.
  void WriteDataFile() {
    dataBytes = Unit1::FormatDataFile(Unit1::kWaveDataFilePolicy, Unit1::Questions, Unit1::Measurements,
                                      Unit1::GridRows, Unit1::GridCols);
    if (!WriteFileBytes(dataPath, dataBytes)) throw results::InOutError(GetLastError());
  }

  std::string Report() const {
    return results_report::BuildWaveReport(Unit1::Questions, Unit1::Measurements, "Πίνακας Μετρήσεων  -",
                                           "κύματα");
  }

  results::Tresults_form dialog;
  ScratchFolder folder{"kelmora-save-"};
  const std::wstring dataPath = folder.File(L"data.txt");
  std::string dataBytes;
};

TEST_F(Save, WritesBothFilesAndSaysSo) {
  FloppyDrive floppy(true);
  testing_support::MessageRecorder rec;
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE("save " + std::to_string(round));
    if (round == 2) Unit1::Measurements.Cell(1, 2, 1) = "0.4";
    rec.Clear();
    results::SaveExperiment([&] { WriteDataFile(); }, [] { return WaveProgram::WriteWaveResultsFile(); });
    ASSERT_EQ(rec.Count(), 1u);
    EXPECT_EQ(rec.messages[0].kind, forms::MessageKind::GreekConfirm);
    EXPECT_EQ(rec.messages[0].caption, "2ο Πείραμα");
    EXPECT_EQ(rec.messages[0].text, kSaved);
    EXPECT_EQ(rec.messages[0].buttons, 0u);
    // Saving again rewrites both; nothing is appended.
    EXPECT_EQ(floppy.Read(L"results1-2.txt"), Report());
    EXPECT_EQ(ReadFileBytes(dataPath), dataBytes);
  }
  // The cell longer than 20 characters is cut in the report and whole in the data file.
  EXPECT_NE(dataBytes.find("ένα κείμενο πολύ μεγαλύτερο από είκοσι\r\n"), std::string::npos);
  EXPECT_NE(floppy.Read(L"results1-2.txt").find("ένα κείμενο πολύ μεγ\r\n"), std::string::npos);
}

TEST_F(Save, NoFloppyDriveTellsTheStudentInGreekAndKeepsTheDataFile) {
  FloppyDrive floppy(false);
  // The real message windows, so nothing but our two Greek boxes may appear.
  std::vector<std::wstring> seen;
  Driver d([&] {
    for (const wchar_t* caption : {L"Σφάλμα δισκέτας", L"2ο Πείραμα"}) {
      HWND box = WaitForTopWindow(caption);
      if (!box) return;
      if (CountTopWindows(true) != 1) seen.push_back(L"another window beside the message");
      for (const std::wstring& text : NonButtonTexts(box)) seen.push_back(text);
      ClickChild(FindChildByText(box, L"OK"));
      while (IsWindow(box) && IsWindowVisible(box)) Sleep(5);
    }
  });
  results::SaveExperiment([&] { WriteDataFile(); }, [] { return WaveProgram::WriteWaveResultsFile(); });
  d.Join();
  EXPECT_EQ(seen,
            (std::vector<std::wstring>{L"Δεν είναι δυνατή η εγγραφή στη δισκέτα.", forms::Widen(kNotSaved)}));
  EXPECT_EQ(ReadFileBytes(dataPath), dataBytes);
  EXPECT_FALSE(dataBytes.empty());
}

// The data file's failure is told in Greek with its reason, and the save stops there.
TEST_F(Save, ADataFileThatCannotBeWrittenStopsTheSave) {
  FloppyDrive floppy(true);
  struct Case {
    unsigned long code;
    const char* reason;
  };
  const Case cases[] = {
      {ERROR_DIRECTORY, "Ο φάκελος του αρχείου δεδομένων δεν υπάρχει."},
      {ERROR_DISK_FULL, "Ο δίσκος είναι γεμάτος."},
      {ERROR_WRITE_PROTECT, "Ο δίσκος δεν επιτρέπει την εγγραφή."},
      {ERROR_ACCESS_DENIED, "Δεν επιτρέπεται η εγγραφή του αρχείου δεδομένων."},
      {1117, "Ο δίσκος δεν δέχτηκε την εγγραφή (σφάλμα 1117)."},
  };
  bool reportTried = false;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    testing_support::MessageRecorder rec;
    EXPECT_FALSE(results::SaveExperiment([&] { throw results::InOutError(c.code); },
                                         [&] {
                                           reportTried = true;
                                           return WaveProgram::WriteWaveResultsFile();
                                         }));
    ASSERT_EQ(rec.Count(), 1u);
    EXPECT_EQ(rec.messages[0].kind, forms::MessageKind::GreekConfirm);
    EXPECT_EQ(rec.messages[0].caption, "2ο Πείραμα");
    EXPECT_EQ(rec.messages[0].text, std::string("Τα δεδομένα δεν αποθηκεύτηκαν. ") + c.reason);
  }
  EXPECT_FALSE(reportTried);
  bool exists = true;
  floppy.Read(L"results1-2.txt", &exists);
  EXPECT_FALSE(exists);
}

TEST(FloppyReport, AFileThatCannotBeCreatedIsTheFloppyMessage) {
  // A folder in the way of the file: creation fails as on a write-protected disk.
  forms::Application::Get().ResetTerminated();
  testing_support::MessageRecorder rec;
  const ScratchFolder blocked{"kelmora-blocked-"};
  UINT modeBefore = GetErrorMode();
  EXPECT_FALSE(results::WriteFloppyReport(blocked.WidePath(), "x\r\n"));
  ASSERT_EQ(rec.Count(), 1u);
  EXPECT_EQ(rec.messages[0].caption, "Σφάλμα δισκέτας");
  EXPECT_EQ(rec.messages[0].text, "Δεν είναι δυνατή η εγγραφή στη δισκέτα.");
  // The platform's error mode is as it was.
  EXPECT_EQ(GetErrorMode(), modeBefore);
}

}  // namespace
