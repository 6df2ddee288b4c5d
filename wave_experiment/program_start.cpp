#include "wave_experiment/program_start.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

#include "forms/application.h"
#include "forms/platform/owned_handles.h"

namespace Unit1 {
namespace {

std::wstring FirstArgument() {
  int count = 0;
  const forms::UniqueLocal<LPWSTR*> args(CommandLineToArgvW(GetCommandLineW(), &count));
  return args && count > 1 ? args.get()[1] : L"";
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
