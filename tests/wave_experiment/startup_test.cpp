// Kelmora2 starting: the main window as designed, the one-time set-up, the data file read at
// start and written back, and a missing or malformed file ending the program after its
// message.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <variant>

#include "forms/core/message_service.h"
#include "gui_driver.h"
#include "main_window_fixture.h"
#include "toolkit/charakas.h"
#include "toolkit/okgraph3.h"

using namespace kelmora_test;
using testing_support::MessageRecorder;

namespace {

forms::Control* ControlOf(Unit1::TForm1& form, const Unit1::ControlSlot& slot) {
  return std::visit([&](auto member) -> forms::Control* { return (form.*member).get(); }, slot);
}

TEST_F(MainWindow, StartsOnTheDataFileWithTheDesignedWindow) {
  MessageRecorder messages;
  Start();
  ASSERT_EQ(messages.Count(), 0u) << messages.TextUtf8(0);
  EXPECT_TRUE(Unit1::SetupDone);
  EXPECT_FALSE(forms::Application::Get().Terminated());

  EXPECT_EQ(form->Caption(), "Ταχύτητα Διάδοσης Κυμάτων");
  EXPECT_EQ(form->ClientWidth(), 792);
  EXPECT_EQ(form->ClientHeight(), 573);
  // Every control of the table where the table puts it, enabled and shown as it says.
  for (const Unit1::ControlRow& row : program.Controls()) {
    forms::Control* c = ControlOf(*form, row.control);
    ASSERT_NE(c, nullptr);
    SCOPED_TRACE(forms::ToUtf8(row.caption) + " at " + std::to_string(row.left) + "," +
                 std::to_string(row.top));
    if (c != form->charakas_Panel.get()) {
      EXPECT_EQ(c->Left(), row.left);
      EXPECT_EQ(c->Top(), row.top);
      EXPECT_EQ(c->Width(), row.width);
      EXPECT_EQ(c->Height(), row.height);
    }
    EXPECT_EQ(c->Enabled(), !(row.options & Unit1::kStartsDisabled));
    EXPECT_EQ(c->Visible(), !(row.options & Unit1::kHidden));
    if (*row.caption) {
      EXPECT_EQ(c->Text(), row.caption);
    }
    if (row.fontHeight) {
      EXPECT_EQ(c->Font().height, row.fontHeight);
      EXPECT_EQ(c->Font().style, row.fontStyle);
    }
    EXPECT_EQ(c->Font().charset, forms::kGreekCharset);
  }
  EXPECT_TRUE(form->showline_CheckBox->Checked());
  EXPECT_TRUE(form->egkarsia_radiobutton->Checked());
  EXPECT_FALSE(form->diamhkh_RadioButton->Checked());
  EXPECT_EQ(form->cancelButton, form->exit_button.get());

  // The set-up's ranges, positions and texts.
  struct Bar {
    forms::TrackBar* bar;
    forms::Edit* edit;
    int min, max, position;
    const char* text;
  };
  const Bar bars[] = {{form->E_TrackBar.get(), form->E_edit.get(), 30, 1000, 350, "3.5"},
                      {form->d_TrackBar.get(), form->d_edit.get(), 10, 300, 40, "0.4"},
                      {form->v_TrackBar.get(), form->v_Edit.get(), 3, 200, 25, "0.25"}};
  for (const Bar& b : bars) {
    SCOPED_TRACE(b.text);
    EXPECT_EQ(b.bar->Min(), b.min);
    EXPECT_EQ(b.bar->Max(), b.max);
    EXPECT_EQ(b.bar->Position(), b.position);
    EXPECT_EQ(SendMessageW(b.bar->Handle(), TBM_GETRANGEMIN, 0, 0), b.min);
    EXPECT_EQ(SendMessageW(b.bar->Handle(), TBM_GETRANGEMAX, 0, 0), b.max);
    EXPECT_EQ(SendMessageW(b.bar->Handle(), TBM_GETPOS, 0, 0), b.position);
    EXPECT_EQ(b.edit->Text(), b.text);
  }
  EXPECT_DOUBLE_EQ(Unit1::Force, 3.5);
  EXPECT_DOUBLE_EQ(Unit1::Density, 0.4);
  EXPECT_DOUBLE_EQ(Unit1::Frequency, 0.25);
  EXPECT_EQ(Unit1::TimeStep, 0);
  EXPECT_EQ(Unit1::CreditClicks, 1);

  // The graph on Panel1 and the ruler on its plot panel, limited at the pixel of x = 0.
  EXPECT_EQ(okgraph3::CurrentWidgets().HostPanel, form->Panel1.get());
  EXPECT_EQ(okgraph3::GetXMin(), -10);
  EXPECT_EQ(okgraph3::GetXMax(), 100);
  EXPECT_EQ(okgraph3::GetYMin(), -50);
  EXPECT_EQ(okgraph3::GetYMax(), 50);
  EXPECT_EQ(okgraph3::GetXGridStep(), 10);
  EXPECT_EQ(okgraph3::GetYGridStep(), 10);
  EXPECT_EQ(Unit1::MarkerSize, 4);
  EXPECT_EQ(charakas::RulerParent, okgraph3::GetPlotPanel());
  EXPECT_EQ(charakas::RulerPanel, form->charakas_Panel.get());
  okgraph3::GraphMoveTo(0, 0);
  EXPECT_EQ(charakas::RulerLeftLimit, okgraph3::GetPenX());
  EXPECT_EQ(charakas::RulerRightMargin, 2);
  EXPECT_EQ(form->charakas_Panel->Width(), 97);
  EXPECT_EQ(form->charakas_Panel->Height(), 9);
  EXPECT_FALSE(form->charakas_Panel->Visible());

  // What the file holds.
  EXPECT_EQ(Unit1::Question1, "Πώς εξαρτάται η ταχύτητα από τη δύναμη;");
  EXPECT_EQ(Unit1::Answer1Lines, (Unit1::StringList{"Αυξάνεται με τη δύναμη."}));
  EXPECT_EQ(Unit1::Answer2Lines, (Unit1::StringList{""}));
  EXPECT_EQ(Unit1::GridRows, 3);
  EXPECT_EQ(Unit1::GridCols, 4);
  EXPECT_EQ(Unit1::Measurements.Cell(1, 3, 1), "11.8");
  EXPECT_EQ(Unit1::Measurements.Cell(2, 1, 1), "Ε1");
  EXPECT_EQ(Unit1::Measurements.Cell(2, 3, 2), "x");
  EXPECT_FALSE(form->DataChanged());
}

TEST_F(MainWindow, LaterActivationsRunNoSecondSetUp) {
  MessageRecorder messages;
  Start();
  forms::Panel* plot = okgraph3::GetPlotPanel();
  form->E_TrackBar->SetPosition(500);
  Unit1::Question1 = "άλλη";
  // Another window of the program takes the activation and gives it back.
  forms::Form other;
  other.Show();
  Pump(30);
  form->Show();
  Pump(30);
  EXPECT_EQ(okgraph3::GetPlotPanel(), plot);
  EXPECT_EQ(form->E_TrackBar->Position(), 500);
  EXPECT_EQ(Unit1::Question1, "άλλη");
  EXPECT_EQ(Unit1::Answer1Lines.size(), 1u);
  EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(MainWindow, FileProblemsGiveTheirMessageAndEndTheProgram) {
  struct Case {
    const char* name;
    bool exists;
    std::string bytes;
    const char* text;
    size_t answers1;  // what was read before the failure stays
  };
  const Case cases[] = {
      {"missing", false, "", "Το αρχείο δεδομένων δεν βρέθηκε.", 0},
      {"ends inside answer 1", true, "Q\r\n----------\r\nα\r\n", "Λάθος τιμές στο αρχείο δεδομένων.", 1},
      {"bad count", true,
       "Q\r\n----------\r\nα\r\n----------\r\nQ2\r\n----------\r\nβ\r\n----------\r\nδύο\r\n",
       "Λάθος τιμές στο αρχείο δεδομένων.", 1},
      {"a folder of that name", true, "", "Το αρχείο δεδομένων δεν βρέθηκε.", 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "row " << i << ": " << c.name);
    ResetProgram();
    std::wstring name = folder.File(L"case" + std::to_wstring(i));
    if (c.exists && i == 3) {
      CreateDirectoryW(name.c_str(), nullptr);
    } else if (c.exists) {
      WriteFileBytes(name, c.bytes);
    }
    Unit1::DataFileArgument = name;
    MessageRecorder messages;
    Start();
    ASSERT_EQ(messages.Count(), 1u);
    EXPECT_EQ(messages.messages[0].kind, forms::MessageKind::GreekConfirm);
    EXPECT_EQ(messages.messages[0].caption, "Σφάλμα ανάγνωσης");
    EXPECT_EQ(messages.messages[0].text, c.text);
    EXPECT_EQ(messages.messages[0].buttons, 0u);
    EXPECT_TRUE(forms::Application::Get().Terminated());
    EXPECT_TRUE(Unit1::SetupDone);
    EXPECT_EQ(Unit1::Answer1Lines.size(), c.answers1);
    RemoveDirectoryW(name.c_str());
  }
}

// The message box of the reader re-activates the main window while the set-up still runs:
// the set-up goes on once, and the file is read once.
TEST_F(MainWindow, TheReadersRealMessageBoxStartsNoSecondSetUp) {
  WriteFileBytes(dataFile, "Q\r\n----------\r\nα\r\n");
  std::atomic<int> boxes{0};
  std::atomic<bool> driverDone{false};
  testing_support::Driver d([&] {
    for (int i = 0; i < 5; ++i) {
      HWND w = testing_support::WaitForTopWindow(L"Σφάλμα ανάγνωσης", i == 0 ? 5000 : 600);
      if (!w) break;
      ++boxes;
      testing_support::ClickChild(testing_support::FindChildByText(w, L"OK"));
      while (IsWindowVisible(w)) Sleep(5);
    }
    driverDone = true;
  });
  Start();
  // The driver reads window captions, which this thread answers: pump until it gives up
  // waiting for a second box.
  testing_support::PumpUntil([&] { return driverDone.load(); }, 15000);
  d.Join();
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(Unit1::Answer1Lines, (Unit1::StringList{"α"}));
  EXPECT_TRUE(Unit1::SetupDone);
  EXPECT_TRUE(forms::Application::Get().Terminated());
}

TEST_F(MainWindow, WritesTheDataFileBackAndAFailedWriteKeepsTheOldFile) {
  MessageRecorder messages;
  Start();
  Unit1::Answer2Lines = {"νέα απάντηση", "----------"};
  Unit1::Measurements.Cell(1, 2, 2) = "0.25";
  EXPECT_TRUE(form->DataChanged());
  form->WriteDataFile();
  std::string written = ReadFileBytes(dataFile);
  EXPECT_EQ(written, Unit1::FormatDataFile(Unit1::kWaveDataFilePolicy, Unit1::Questions, Unit1::Measurements,
                                           Unit1::GridRows, Unit1::GridCols));
  EXPECT_NE(written.find("---------- \r\n"), std::string::npos);
  EXPECT_FALSE(form->DataChanged());
  EXPECT_EQ(folder.CountFiles(), 1);

  // Held open by another program: nothing replaces it, no temporary file stays behind, and
  // the save tells the student why in Greek, and nothing else.
  Unit1::Question1 = "αλλαγμένη";
  HANDLE held = CreateFileW(dataFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_ANY_THROW(form->WriteDataFile());
  form->save_BitBtn->SetEnabled(true);
  messages.Clear();
  SendMessageW(form->save_BitBtn->Handle(), BM_CLICK, 0, 0);
  CloseHandle(held);
  EXPECT_EQ(ReadFileBytes(dataFile), written);
  EXPECT_EQ(folder.CountFiles(), 1);
  EXPECT_TRUE(form->DataChanged());
  ASSERT_EQ(messages.Count(), 1u);
  EXPECT_EQ(messages.messages[0].kind, forms::MessageKind::GreekConfirm);
  EXPECT_EQ(messages.messages[0].caption, "2ο Πείραμα");
  EXPECT_EQ(messages.messages[0].text,
            "Τα δεδομένα δεν αποθηκεύτηκαν. Το αρχείο δεδομένων χρησιμοποιείται από άλλο "
            "πρόγραμμα.")
      << messages.TextUtf8(0);
}

}  // namespace
