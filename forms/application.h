// The application object: start-up, the message loop, pumping on demand, termination and the
// general error report.
#pragma once
#include <windows.h>

#include <string>

namespace forms {

class Form;

class Application {
 public:
  static Application& Get();

  // Registers the window classes and the common controls; safe to call more than once.
  void Initialize();
  void SetTitle(const std::string& title);
  const std::string& Title() const;

  // Shows the main form and runs the message loop until the application terminates.
  void Run(Form& mainForm);
  Form* MainForm() const { return mainForm_; }

  // Handles every message already waiting, then returns.
  void ProcessMessages();
  // Waits for one message and handles it; false when the queue said quit.
  bool HandleMessage();
  // Handles one message if one is waiting; false when none was.
  bool HandleWaitingMessage();

  void Terminate();
  bool Terminated() const { return terminated_; }
  // Tests run many forms in one process: they clear the flag (and a pending quit) between cases.
  void ResetTerminated();

  // The general error report for the exception being handled; the program goes on.
  void HandleException();

 private:
  void Dispatch(MSG& msg);

  Form* mainForm_ = nullptr;
  bool terminated_ = false;
  bool initialized_ = false;
};

// The windows of the forms layer register this class name.
extern const wchar_t kWindowClass[];
extern const wchar_t kFormClass[];

}  // namespace forms
