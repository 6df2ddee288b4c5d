// Kelmora4: the sound-speed experiment. One argument: the path of the data file.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "forms/application.h"
#include "sound_experiment/sound_program.h"
#include "wave_experiment/Unit1.h"

namespace {

std::wstring FirstArgument() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  std::wstring first = args && count > 1 ? args[1] : L"";
  LocalFree(args);
  return first;
}

}  // namespace

int main() {
  auto& app = forms::Application::Get();
  app.Initialize();
  app.SetTitle("Θερμοκρασία και Ταχύτητα του Ήχου");
  Unit1::DataFileArgument = FirstArgument();
  static SoundProgram::Program program;
  // The first form created is the main window.
  static Unit1::TForm1 Form1(program);
  SoundProgram::CreateForms();
  app.Run(Form1);
  return 0;
}
