// Either program's way out as the student takes it once the experiment is unlocked, in the
// program's own message loop: the exit button, the questions form once more with an answer
// typed into it, and the real "Να αποθηκευτούν οι αλλαγές;" question answered with a key, a
// click or its close box.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

#include "child_process.h"
#include "forms/application.h"
#include "forms/core/text.h"
#include "gui_driver.h"
#include "test_files.h"
#include "wave_experiment/Unit1.h"
#include "wave_experiment/experiment_data.h"

namespace kelmora_test {

// What the student does at the unsaved-changes question.
enum class AtTheQuestion { Esc, Enter, CloseMessage, CloseBox, Yes, No };

struct ExitAnswer {
  const char* name;
  AtTheQuestion how;
  bool ends;   // the program ends
  bool saves;  // the data file holds the typed answer afterwards
};

// The same table for both programs: only a button ends the program, and only "Ναι" and
// Enter (its default) save.
inline constexpr ExitAnswer kExitAnswers[] = {
    {"Esc", AtTheQuestion::Esc, false, false},
    {"WM_CLOSE to the question", AtTheQuestion::CloseMessage, false, false},
    {"the question's close box", AtTheQuestion::CloseBox, false, false},
    {"the No button", AtTheQuestion::No, true, false},
    {"the Yes button", AtTheQuestion::Yes, true, true},
    {"Enter", AtTheQuestion::Enter, true, true},
};

// A visible top-level window of this process other than `main`.
inline HWND OtherVisibleWindow(HWND main) {
  struct Find {
    HWND main, found;
  } f{main, nullptr};
  EnumWindows(
      [](HWND w, LPARAM lp) __attribute__((stdcall))->BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId() && w != f->main && IsWindowVisible(w) &&
            testing_support::ClassName(w) != L"IME") {
          f->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// The program as the window's thread finds it between two of the student's steps.
struct ProgramState {
  bool ended = false;  // the application was told to end
  bool windowVisible = false;
  bool windowEnabled = false;
  bool otherWindow = false;  // a message or form of the program on the screen
  std::string file;          // the data file's bytes
  Unit1::StringList answer2;
  std::string cell;  // the changed cell, Measurements (1, 3, 2)
};

// A window of the window's thread that answers a posted mark with the program's state: a
// thread's posted messages are handled in the order they came, so the state is the one that
// everything done before the mark was posted has left.
class StateMark {
 public:
  explicit StateMark(HWND main) : main_(main) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KelmoraStateMark";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                              nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~StateMark() { DestroyWindow(window_); }
  StateMark(const StateMark&) = delete;
  StateMark& operator=(const StateMark&) = delete;

  // From the driver: the state once the window's thread has handled what came before.
  bool Take(ProgramState& state) {
    int round = ++posted_;
    PostMessageW(window_, WM_APP, static_cast<WPARAM>(round), 0);
    if (!testing_support::WaitUntil([&] { return seen_ == round; }, 5000)) return false;
    state = state_;
    return true;
  }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m != WM_APP) return DefWindowProcW(w, m, wp, lp);
    auto* self = reinterpret_cast<StateMark*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    ProgramState& s = self->state_;
    s.ended = forms::Application::Get().Terminated();
    s.windowVisible = IsWindowVisible(self->main_) != FALSE;
    s.windowEnabled = IsWindowEnabled(self->main_) != FALSE;
    s.otherWindow = OtherVisibleWindow(self->main_) != nullptr;
    s.file = ReadFileBytes(Unit1::DataFileArgument);
    s.answer2 = Unit1::Answer2Lines;
    s.cell = Unit1::Measurements.Cell(1, 3, 2);
    self->seen_ = static_cast<int>(wp);
    return 0;
  }
  HWND main_;
  HWND window_ = nullptr;
  ProgramState state_;
  int posted_ = 0;
  std::atomic<int> seen_{0};
};

// One way out: what the student met and what the program was left as.
struct ExitStep {
  int questionsForms = 0;
  int saveQuestions = 0;
  // The second answer as the questions form showed it before anything was typed.
  std::wstring answerShown;
  // The question was still on the screen after the student's key or click.
  bool questionStayed = false;
  bool settled = false;  // the state below was taken
  ProgramState after;
};

struct ExitSession {
  ExitStep first;
  // The student going on after a first way out that left the program running: the exit
  // again, nothing typed, and "Ναι".
  bool wentOn = false;
  ExitStep second;
};

// Runs `form` in the application's loop as the program does, from a click on its exit
// button: in the questions form the student clicks into the second answer and types `typed`
// (nothing for an empty text), and at the unsaved-changes question does `how`; the save's
// own messages are closed with their OK. A program still running after that is left again,
// with "Ναι".
inline ExitSession LeaveThroughTheLoop(Unit1::TForm1& form, const std::wstring& typed, AtTheQuestion how) {
  using namespace testing_support;
  ExitSession session;
  const HWND main = form.Handle();
  const HWND exitButton = form.exit_button->Handle();
  const std::wstring caption = forms::Widen(form.Caption());
  const DWORD gui = GetCurrentThreadId();
  StateMark mark(main);
  std::atomic<bool> driverDone{false};

  auto step = [&](ExitStep& run, const std::wstring& text, AtTheQuestion answer) {
    if (HWND q = WaitForTopWindow(L"Πείραμα 2", 3000)) {
      ++run.questionsForms;
      // The second answer's memo is the lower of the two.
      HWND memo = nullptr;
      EnumChildWindows(
          q, [](HWND w, LPARAM lp) __attribute__((stdcall))->BOOL {
            HWND& lowest = *reinterpret_cast<HWND*>(lp);
            if (ClassName(w) == L"Edit" && (!lowest || ChildBounds(w).top > ChildBounds(lowest).top)) {
              lowest = w;
            }
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&memo));
      if (memo) {
        run.answerShown = WindowText(memo);
        if (!text.empty()) {
          ClickChild(memo);
          if (WaitUntil([&] { return FocusOf(gui) == memo; }, 3000)) {
            for (wchar_t c : text) PostMessageW(memo, WM_CHAR, c, 1);
          }
        }
      }
      PostMessageW(q, WM_CLOSE, 0, 0);
    }
    HWND question = nullptr;
    WaitUntil(
        [&] {
          question = nullptr;
          while ((question = FindWindowExW(nullptr, question, nullptr, caption.c_str()))) {
            if (question != main && IsWindowVisible(question) &&
                FindChildByText(question, L"Να αποθηκευτούν οι αλλαγές;")) {
              return true;
            }
          }
          return false;
        },
        3000);
    if (question) {
      ++run.saveQuestions;
      switch (answer) {
        case AtTheQuestion::Esc:
        case AtTheQuestion::Enter: {
          // The key goes to whatever has the focus in the question, as the keyboard's does;
          // the question takes the focus a moment after it is shown.
          const HWND focus = WaitForFocusIn(gui, question, 3000);
          PressKey(focus ? focus : question, answer == AtTheQuestion::Esc ? VK_ESCAPE : VK_RETURN);
          break;
        }
        case AtTheQuestion::CloseMessage:
          PostMessageW(question, WM_CLOSE, 0, 0);
          break;
        case AtTheQuestion::CloseBox:
          PostMessageW(question, WM_SYSCOMMAND, SC_CLOSE, 0);
          break;
        case AtTheQuestion::Yes:
          ClickChild(FindChildByText(question, L"&Ναι"));
          break;
        case AtTheQuestion::No:
          ClickChild(FindChildByText(question, L"&Οχι"));
          break;
      }
      run.questionStayed = !WaitUntil([&] { return !IsWindowVisible(question); }, 3000);
      // Put away all the same, so that the run goes on and the case can fail.
      if (run.questionStayed) PostMessageW(question, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    // The save's own messages (the floppy report's outcome) wait for an OK; the state is the
    // one that holds once none is on the screen.
    for (int round = 0; round < 20 && !run.settled; ++round) {
      if (HWND w = OtherVisibleWindow(main)) {
        if (HWND ok = FindChildByText(w, L"OK")) {
          ClickChild(ok);
          WaitUntil([&] { return !IsWindowVisible(w); }, 3000);
        }
      }
      run.settled = mark.Take(run.after) && !run.after.otherWindow;
    }
  };

  Driver d([&] {
    step(session.first, typed, how);
    if (session.first.settled && !session.first.after.ended) {
      session.wentOn = true;
      PostMessageW(exitButton, BM_CLICK, 0, 0);
      step(session.second, L"", AtTheQuestion::Yes);
    }
    driverDone = true;
  });
  PostMessageW(exitButton, BM_CLICK, 0, 0);
  forms::Application::Get().Run(form);
  // The driver reads window texts and takes the state, which this thread answers.
  PumpUntil([&] { return driverDone.load(); }, 30000);
  d.Join();
  return session;
}

// Every row of kExitAnswers, each on a run that `freshRun` starts afresh on `dataFile` holding
// `fixture` and unlocks, with a cell changed and the second answer typed at the exit. A
// question put away unanswered leaves the window open and usable, the file as it was and the
// work in the program; the next way out shows the typed answer again and saves it.
inline void CheckEveryExitAnswer(const std::function<Unit1::TForm1&()>& freshRun,
                                 const std::wstring& dataFile, const std::string& fixture) {
  const std::wstring typed = L"Μειώνεται με την πυκνότητα.";
  const std::string typedCp = forms::Narrow(typed);
  auto holdsTheWork = [&](const std::string& bytes) {
    return bytes.find("\r\n" + typedCp + "\r\n") != std::string::npos &&
           bytes.find("\r\n11.9\r\n") != std::string::npos;
  };
  for (const ExitAnswer& c : kExitAnswers) {
    SCOPED_TRACE(c.name);
    WriteFileBytes(dataFile, fixture);
    Unit1::TForm1& form = freshRun();
    Unit1::Measurements.Cell(1, 3, 2) = "11.9";
    ExitSession session = LeaveThroughTheLoop(form, typed, c.how);
    const ExitStep& first = session.first;
    EXPECT_EQ(first.questionsForms, 1);
    ASSERT_EQ(first.saveQuestions, 1);
    EXPECT_FALSE(first.questionStayed) << "the key or click did not end the question";
    ASSERT_TRUE(first.settled) << "a message stayed on the screen";
    EXPECT_EQ(first.after.ended, c.ends);
    EXPECT_EQ(first.after.windowVisible, !c.ends);
    EXPECT_EQ(first.after.answer2, Unit1::StringList{typedCp});
    EXPECT_EQ(first.after.cell, "11.9");
    if (c.saves) {
      EXPECT_TRUE(holdsTheWork(first.after.file)) << "not saved";
    } else {
      EXPECT_EQ(first.after.file, fixture);
    }
    EXPECT_EQ(session.wentOn, !c.ends);
    if (!session.wentOn) continue;
    EXPECT_TRUE(first.after.windowEnabled);
    const ExitStep& second = session.second;
    EXPECT_EQ(second.questionsForms, 1);
    EXPECT_EQ(second.answerShown, typed + L"\r\n") << "the typed answer is not in the form";
    EXPECT_EQ(second.saveQuestions, 1);
    EXPECT_TRUE(second.settled);
    EXPECT_TRUE(second.after.ended);
    EXPECT_TRUE(holdsTheWork(second.after.file)) << "lost at the second exit";
  }
}

}  // namespace kelmora_test
