#include "forms/application.h"

#include <commctrl.h>

#include <exception>
#include <stdexcept>

#include "forms/form.h"
#include "forms/core/message_service.h"

namespace forms {

const wchar_t kWindowClass[] = L"KelmoraWindow";
const wchar_t kFormClass[] = L"KelmoraForm";

Application& Application::Get() {
  static Application app;
  return app;
}

void Application::Initialize() {
  if (initialized_) return;
  initialized_ = true;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);
  wc.lpszClassName = kFormClass;
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  RegisterClassExW(&wc);
}

void Application::SetTitle(const std::string& title) { SetApplicationTitle(title); }
const std::string& Application::Title() const { return ApplicationTitle(); }

void Application::Run(Form& mainForm) {
  Initialize();
  mainForm_ = &mainForm;
  if (!terminated_) mainForm.Show();
  while (!terminated_) HandleMessage();
  mainForm_ = nullptr;
}

void Application::Dispatch(MSG& msg) {
  try {
    if (Form::PreTranslate(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  } catch (...) {
    HandleException();
  }
}

bool Application::HandleWaitingMessage() {
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  Dispatch(msg);
  return true;
}

void Application::ProcessMessages() {
  while (HandleWaitingMessage()) {
  }
}

bool Application::HandleMessage() {
  if (HandleWaitingMessage()) return !terminated_;
  WaitMessage();
  return !terminated_;
}

void Application::Terminate() {
  if (!terminated_) PostQuitMessage(0);
  terminated_ = true;
}

void Application::ResetTerminated() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  terminated_ = false;
}

void Application::HandleException() {
  std::string text;
  try {
    throw;
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
    text = "Unknown error";
  }
  try {
    ReportError(text);
  } catch (...) {
    // A report that itself fails has nowhere left to go.
  }
}

}  // namespace forms
