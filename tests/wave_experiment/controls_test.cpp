// The main window's controls: the value edits with their track bars, the hidden information
// box, and the way out with the questions form once more and the unsaved-changes question.
#include <gtest/gtest.h>

#include <atomic>
#include <iterator>
#include <vector>

#include "enter_key.h"
#include "exit_question.h"
#include "forms/core/message_service.h"
#include "main_window_fixture.h"

using namespace kelmora_test;
using testing_support::MessageRecorder;

namespace {

class Controls : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    Start();
    Unlock();
  }
};

// Typed values as a table: Enter or leaving the edit runs its updater.
TEST_F(Controls, EditUpdatersTable) {
  struct Case {
    int which;  // 0 E_edit, 1 d_edit, 2 v_Edit
    const char* typed;
    bool byExit;  // leave the edit (else Enter)
    size_t messages;
    const char* textAfter;  // nullptr: the text the edit had when it got the focus
    int position;
    double quantity;
  };
  const char* invalid = "Invalid real value.";
  const Case cases[] = {
      {0, "20", false, 0, "10", 1000, 10.0},
      {0, "0.1", false, 0, "0.3", 30, 0.3},
      {0, "3.125", false, 0, "3.125", 312, 3.125},  // 312.5 to even
      {2, "1.234", false, 0, "1.234", 123, 1.234},
      {2, "abc", true, 1, nullptr, 25, 0.25},
      // 5
      {1, "3/4", false, 0, "3/4", 75, 0.75},
      {1, "1/0", false, 2, nullptr, 40, 0.4},
      {0, "a/4", true, 2, nullptr, 350, 3.5},
      {0, "2,5", false, 1, nullptr, 350, 3.5},
      {0, "", false, 1, nullptr, 350, 3.5},
      // 10
      {2, "2.005", true, 0, "2", 200, 2.0},
      {0, "  7", false, 0, "  7", 700, 7.0},
      {1, "-1", true, 0, "0.1", 10, 0.1},
  };
  struct Family {
    forms::Edit* edit;
    forms::TrackBar* bar;
    double* quantity;
    const char* start;
    int startPosition;
    const char* range;
  };
  const Family families[] = {
      {form->E_edit.get(), form->E_TrackBar.get(), &Unit1::Force, "3.5", 350, "0.3 έως 10"},
      {form->d_edit.get(), form->d_TrackBar.get(), &Unit1::Density, "0.4", 40, "0.1 έως 3"},
      {form->v_Edit.get(), form->v_TrackBar.get(), &Unit1::Frequency, "0.25", 25, "0.03 έως 2"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const Family& f = families[c.which];
    SCOPED_TRACE(testing::Message() << "row " << i << ": " << c.typed);
    f.bar->SetPosition(f.startPosition);
    f.edit->SetText(f.start);
    *f.quantity = f.startPosition / 100.0;
    form->work_button->SetFocus();
    f.edit->SetFocus();  // the enter handler keeps the text
    MessageRecorder messages;
    f.edit->SetText(c.typed);
    if (c.byExit) {
      form->work_button->SetFocus();
    } else {
      testing_support::PressKey(f.edit->Handle(), VK_RETURN);
    }
    Pump(20);
    ASSERT_EQ(messages.Count(), c.messages);
    if (c.messages > 0) {
      const auto& last = messages.messages.back();
      EXPECT_EQ(last.kind, forms::MessageKind::GreekConfirm);
      EXPECT_EQ(last.caption, "Λάθος τιμή");
      EXPECT_EQ(last.text,
                std::string("Η τιμή δεν μπορεί να υπολογισθεί. Δώστε έναν αριθμό από ") + f.range + ".");
      EXPECT_EQ(last.buttons, 0u);
      if (c.messages == 2) {
        EXPECT_EQ(messages.messages[0].text, invalid);
      }
      EXPECT_EQ(GetFocus(), f.edit->Handle()) << "the focus goes back to the edit";
    }
    EXPECT_EQ(f.edit->Text(), c.textAfter ? c.textAfter : f.start);
    EXPECT_EQ(f.bar->Position(), c.position);
    EXPECT_DOUBLE_EQ(*f.quantity, c.quantity);
  }
}

// The real message box: leaving the edit with letters in it shows it once; its own taking of
// the focus is no exit from the edit.
TEST_F(Controls, LettersShowTheRealMessageOnceAndKeepTheFocus) {
  form->work_button->SetFocus();
  form->v_Edit->SetFocus();
  form->v_Edit->SetText("xyz");
  std::atomic<int> boxes{0};
  std::atomic<bool> driverDone{false};
  testing_support::Driver d([&] {
    for (int i = 0; i < 3; ++i) {
      HWND w = testing_support::WaitForTopWindow(L"Λάθος τιμή", i == 0 ? 5000 : 500);
      if (!w) break;
      ++boxes;
      testing_support::ClickChild(testing_support::FindChildByText(w, L"OK"));
      while (IsWindowVisible(w)) Sleep(5);
    }
    driverDone = true;
  });
  form->work_button->SetFocus();
  // The driver reads window captions, which this thread answers: pump until it gives up
  // waiting for a second box.
  testing_support::PumpUntil([&] { return driverDone.load(); }, 15000);
  d.Join();
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(form->v_Edit->Text(), "0.25");
  EXPECT_EQ(GetFocus(), form->v_Edit->Handle());
  EXPECT_EQ(form->v_TrackBar->Position(), 25);
}

// A good value with Enter, then a bad one with Enter and the message closed by Enter, as a
// student does it: one message, and the edit comes back to the good value that its track
// bar shows, not to the text it had when it got the focus.
TEST_F(Controls, ABadValueAfterAGoodOneBringsBackTheGoodOneWithOneMessage) {
  struct Case {
    forms::Edit* edit;
    forms::TrackBar* bar;
    const char* good;
    const char* shown;  // the good value as the edit shows it
    int position;
  };
  const Case cases[] = {
      {form->E_edit.get(), form->E_TrackBar.get(), "20", "10", 1000},
      {form->d_edit.get(), form->d_TrackBar.get(), "0.55", "0.55", 55},
      {form->v_Edit.get(), form->v_TrackBar.get(), "0.015", "0.03", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.good);
    form->work_button->SetFocus();
    c.edit->SetFocus();
    EXPECT_EQ(TypeAndPressEnter(*c.edit, c.good), 0);
    EXPECT_EQ(c.edit->Text(), c.shown);
    EXPECT_EQ(c.bar->Position(), c.position);
    int updates = program.eUpdates;
    EXPECT_EQ(TypeAndPressEnter(*c.edit, "abc"), 1) << "one bad entry, one message";
    EXPECT_EQ(c.edit->Text(), c.shown);
    EXPECT_EQ(c.bar->Position(), c.position);
    EXPECT_EQ(GetFocus(), c.edit->Handle());
    if (c.edit == form->E_edit.get()) {
      EXPECT_EQ(program.eUpdates - updates, 1) << "the Enter that closed the message is no entry";
    }
  }
}

// After the "Λάθος τιμή" message the edit holds the value it brings back selected, as a tab
// into the edit leaves it: the student's next key replaces the value rather than going in
// front of it, whichever way the entry was left and the message put away.
TEST_F(Controls, TheKeyAfterABadValueReplacesTheValueBroughtBack) {
  struct Case {
    forms::Edit* edit;
    const char* start;
    UINT leave;
    MessageAway away;
  };
  const Case cases[] = {
      {form->E_edit.get(), "3.5", VK_RETURN, MessageAway::Enter},
      {form->d_edit.get(), "0.4", VK_RETURN, MessageAway::OkButton},
      {form->v_Edit.get(), "0.25", VK_RETURN, MessageAway::CloseBox},
      {form->E_edit.get(), "3.5", VK_TAB, MessageAway::OkButton},
      {form->d_edit.get(), "0.4", VK_TAB, MessageAway::Enter},
      // 5
      {form->v_Edit.get(), "0.25", VK_TAB, MessageAway::CloseBox},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "row " << i);
    form->work_button->SetFocus();
    c.edit->SetText(c.start);
    c.edit->SetFocus();
    ASSERT_EQ(LeaveWithABadValue(*c.edit, "abc", c.leave, c.away), 1);
    ASSERT_EQ(GetFocus(), c.edit->Handle());
    EXPECT_EQ(c.edit->Text(), c.start);
    DWORD from = 99, to = 99;
    SendMessageW(c.edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, std::string(c.start).size());
    PostMessageW(GetFocus(), WM_CHAR, L'7', 1);
    Pump(20);
    EXPECT_EQ(c.edit->Text(), "7");
  }
}

TEST_F(Controls, TrackBarsRewriteTheirEditOnlyWhenTheUserMovesThem) {
  MessageRecorder messages;
  struct Case {
    forms::TrackBar* bar;
    forms::Edit* edit;
    UINT key;
    int position;
    const char* text;
  };
  const Case cases[] = {{form->E_TrackBar.get(), form->E_edit.get(), VK_RIGHT, 351, "3.51"},
                        {form->d_TrackBar.get(), form->d_edit.get(), VK_LEFT, 39, "0.39"},
                        {form->v_TrackBar.get(), form->v_Edit.get(), VK_RIGHT, 26, "0.26"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    c.bar->SetFocus();
    testing_support::PressKey(c.bar->Handle(), c.key);
    Pump(20);
    EXPECT_EQ(c.bar->Position(), c.position);
    EXPECT_EQ(c.edit->Text(), c.text);
    c.bar->SetPosition(100);
    Pump(10);
    EXPECT_EQ(c.edit->Text(), c.text) << "a position set by the program";
  }
  EXPECT_DOUBLE_EQ(Unit1::Force, 3.5) << "the animation reads the bars itself";
  EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(Controls, Panel4ClickSequenceOpensTheInformationBox) {
  const unsigned S = MK_SHIFT, C = MK_CONTROL;
  struct Case {
    std::vector<unsigned> clicks;  // MK_ flags of each button release
    size_t boxes;
    int countAfter;
  };
  const Case cases[] = {
      {{S, C, S, C}, 1, 1},
      {{S, C, S, S}, 0, 1},
      {{S | C, S, C, S, C}, 1, 1},
      {{C, S, C, S}, 0, 4},
      {{S, C, S, C, S, C, S, C}, 2, 1},
      // 5
      {{0, 0, 0, 0}, 0, 1},
      {{S, C, S, C | MK_LBUTTON}, 0, 1},
  };
  HWND panel = form->Panel4->Handle();
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "row " << i);
    Unit1::CreditClicks = 1;
    MessageRecorder messages;
    for (unsigned flags : c.clicks) {
      // The right button counts as the left does.
      UINT up = i == 4 ? WM_RBUTTONUP : WM_LBUTTONUP;
      PostMessageW(panel, up, flags, MAKELPARAM(10, 10));
    }
    Pump(20);
    ASSERT_EQ(messages.Count(), c.boxes);
    for (const auto& m : messages.messages) {
      EXPECT_EQ(m.kind, forms::MessageKind::MessageDlg);
      EXPECT_EQ(m.type, forms::MsgDlgType::Information);
      EXPECT_EQ(m.buttons, unsigned{forms::mbOK});
      EXPECT_EQ(m.text, program.InformationText());
    }
    EXPECT_EQ(Unit1::CreditClicks, c.countAfter);
  }
}

// Closes the main window with its exit button through the message loop; the driver closes the
// questions form, answers the Greek question when it comes (by the caption of the main window,
// on a window that is not the main window), and then presses OK on whatever the save reports.
struct ExitRun {
  int questionsForms = 0;
  int saveQuestions = 0;
};

// `answer` names the button to click, or is null for none; with `byEnter` the question is
// answered by the Enter key instead.
ExitRun ExitThroughTheLoop(Unit1::TForm1& form, const wchar_t* answer, bool byEnter = false) {
  ExitRun run;
  HWND main = form.Handle();
  const DWORD gui = GetCurrentThreadId();
  if (byEnter) answer = L"";
  std::atomic<bool> done{false};
  testing_support::Driver d([&] {
    if (HWND q = testing_support::WaitForTopWindow(L"Πείραμα 2", 3000)) {
      ++run.questionsForms;
      PostMessageW(q, WM_CLOSE, 0, 0);
    }
    DWORD until = GetTickCount() + 1500;
    while (answer && static_cast<LONG>(until - GetTickCount()) > 0) {
      HWND w = nullptr;
      while ((w = FindWindowExW(nullptr, w, nullptr, L"Ταχύτητα Διάδοσης Κυμάτων"))) {
        if (w != main && IsWindowVisible(w)) break;
      }
      if (w && testing_support::FindChildByText(w, L"Να αποθηκευτούν οι αλλαγές;")) {
        ++run.saveQuestions;
        if (byEnter) {
          // The key goes to whatever has the focus in the question, as the keyboard's does.
          HWND focus = testing_support::WaitForFocus(gui);
          if (focus && GetAncestor(focus, GA_ROOT) == w) testing_support::PressKey(focus, VK_RETURN);
        } else {
          testing_support::ClickChild(testing_support::FindChildByText(w, answer));
        }
        break;
      }
      Sleep(10);
    }
    // The save's own messages (the floppy report's outcome) wait for an OK.
    until = GetTickCount() + 1000;
    while (answer && static_cast<LONG>(until - GetTickCount()) > 0) {
      if (HWND w = OtherVisibleWindow(main)) {
        if (HWND ok = testing_support::FindChildByText(w, L"OK")) {
          testing_support::ClickChild(ok);
          while (IsWindowVisible(w)) Sleep(5);
        }
      }
      Sleep(10);
    }
    done = true;
  });
  PostMessageW(form.exit_button->Handle(), BM_CLICK, 0, 0);
  forms::Application::Get().Run(form);
  // The driver reads window texts, which this thread answers: pump until it is done.
  while (!done) Pump(10);
  d.Join();
  return run;
}

TEST_F(Controls, LeavingShowsTheQuestionsOnceMoreAndAsksOnlyAboutChanges) {
  ExitRun run = ExitThroughTheLoop(*form, nullptr);
  EXPECT_EQ(run.questionsForms, 1);
  EXPECT_TRUE(forms::Application::Get().Terminated());
  EXPECT_EQ(ReadFileBytes(dataFile), FixtureFile());
}

TEST_F(Controls, YesToTheQuestionSavesBeforeTheWindowCloses) {
  Unit1::Answer2Lines = {"Μειώνεται με την πυκνότητα."};
  ExitRun run = ExitThroughTheLoop(*form, L"&Ναι");
  EXPECT_EQ(run.questionsForms, 1);
  EXPECT_EQ(run.saveQuestions, 1);
  EXPECT_TRUE(forms::Application::Get().Terminated());
  EXPECT_NE(ReadFileBytes(dataFile).find("Μειώνεται με την πυκνότητα.\r\n"), std::string::npos);
}

TEST_F(Controls, EnterAtTheQuestionSaves) {
  Unit1::Measurements.Cell(1, 3, 2) = "11.9";
  ExitRun run = ExitThroughTheLoop(*form, nullptr, true);
  EXPECT_EQ(run.saveQuestions, 1);
  EXPECT_TRUE(forms::Application::Get().Terminated());
  EXPECT_NE(ReadFileBytes(dataFile).find("\r\n11.9\r\n"), std::string::npos) << "the work was not saved";
}

TEST_F(Controls, NoToTheQuestionLeavesTheFile) {
  MessageRecorder messages;
  messages.answers = {forms::mrNo};
  Unit1::Measurements.Cell(1, 1, 1) = "9";
  testing_support::Driver d([] {
    if (HWND q = testing_support::WaitForTopWindow(L"Πείραμα 2", 3000)) PostMessageW(q, WM_CLOSE, 0, 0);
  });
  PostMessageW(form->exit_button->Handle(), BM_CLICK, 0, 0);
  forms::Application::Get().Run(*form);
  d.Join();
  ASSERT_EQ(messages.Count(), 1u);
  EXPECT_EQ(messages.messages[0].caption, "Ταχύτητα Διάδοσης Κυμάτων");
  EXPECT_EQ(messages.messages[0].text, "Να αποθηκευτούν οι αλλαγές;");
  EXPECT_EQ(messages.messages[0].buttons, 2u);
  EXPECT_EQ(ReadFileBytes(dataFile), FixtureFile());
}

// Each way of answering the real unsaved-changes question after a typed answer: Esc and the
// close box keep the program with the window, the file and the work as they were.
TEST_F(Controls, EveryAnswerToTheExitQuestion) {
  CheckEveryExitAnswer(
      [this]() -> Unit1::TForm1& {
        ResetProgram();
        Start();
        Unlock();
        return *form;
      },
      dataFile, FixtureFile());
}

// A save that fails at the exit keeps the window, so nothing typed is lost.
TEST_F(Controls, AFailedSaveAtTheExitKeepsTheWindow) {
  MessageRecorder messages;
  messages.answers = {forms::mrYes};
  Unit1::Question2 = "άλλη ερώτηση";
  HANDLE held = CreateFileW(dataFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  testing_support::Driver d([] {
    if (HWND q = testing_support::WaitForTopWindow(L"Πείραμα 2", 3000)) PostMessageW(q, WM_CLOSE, 0, 0);
  });
  Click(form->exit_button->Handle());
  d.Join();
  CloseHandle(held);
  EXPECT_FALSE(forms::Application::Get().Terminated());
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  // The question, then why the data were not saved.
  ASSERT_EQ(messages.Count(), 2u);
  EXPECT_EQ(messages.messages[1].kind, forms::MessageKind::GreekConfirm);
  EXPECT_EQ(messages.messages[1].caption, "2ο Πείραμα");
  EXPECT_EQ(messages.messages[1].text,
            "Τα δεδομένα δεν αποθηκεύτηκαν. Το αρχείο δεδομένων χρησιμοποιείται από άλλο "
            "πρόγραμμα.")
      << messages.TextUtf8(1);
  EXPECT_EQ(Unit1::Question2, "άλλη ερώτηση");
  EXPECT_EQ(ReadFileBytes(dataFile), FixtureFile());
}

// Before the questions form was ever closed, the exit shows no questions form.
TEST_F(MainWindow, LeavingBeforeTheExperimentWasUnlockedShowsNoQuestionsForm) {
  Start();
  std::atomic<bool> shown{false};
  std::atomic<bool> driverDone{false};
  testing_support::Driver d([&] {
    if (HWND q = testing_support::WaitForTopWindow(L"Πείραμα 2", 700)) {
      shown = true;
      PostMessageW(q, WM_CLOSE, 0, 0);
    }
    driverDone = true;
  });
  PostMessageW(form->exit_button->Handle(), BM_CLICK, 0, 0);
  forms::Application::Get().Run(*form);
  // The driver reads window captions, which this thread answers: pump until it gives up.
  testing_support::PumpUntil([&] { return driverDone.load(); }, 15000);
  d.Join();
  EXPECT_FALSE(shown);
  EXPECT_TRUE(forms::Application::Get().Terminated());
}

}  // namespace
