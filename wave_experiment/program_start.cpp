#include "wave_experiment/program_start.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "forms/application.h"

namespace Unit1 {
namespace {

std::wstring FirstArgument() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  std::wstring first = args && count > 1 ? args[1] : L"";
  LocalFree(args);
  return first;
}

}  // namespace

int RunExperimentProgram(ExperimentProgram& program, const std::function<void()>& createOtherForms) {
  auto& app = forms::Application::Get();
  app.Initialize();
  app.SetTitle(program.Caption());
  DataFileArgument = FirstArgument();
  // The first form created is the main window. It lives to the end of the process, as the
  // forms of the program block do.
  static TForm1 Form1(program);
  createOtherForms();
  app.Run(Form1);
  return 0;
}

}  // namespace Unit1
