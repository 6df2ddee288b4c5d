// The message-box family and the prompt and list dialogs that the library builds in memory.
#pragma once
#include "system_services/dialogs/dialog_layout.h"
#include "system_services/host/host_interface.h"

namespace rxsystem {

// The author's box: ButtonType 0..4 picks the buttons, DefaultButton 2 or 3 the default;
// the 1-based position of the pressed button, or -1 after the id-51 report.
int32_t MessageBoxByType(HWND owner, UINT icon, int32_t buttonType, int32_t defaultButton,
                         const char* caption, const char* text);

// What SysPrompt hands its dialog procedure while the dialog is open.
struct PromptState {
  char* result = nullptr;  // the locked result block
  int32_t MaxEditLength = 0;
  bool centre = false;
};

// What SysListPrompt hands its dialog procedure while the dialog is open.
struct ListPromptState {
  char* result = nullptr;  // the locked result block
  size_t resultSize = 0;
  std::array<int32_t, kMaxListColumns> tabStops{};
  int32_t columns = 0;
  int32_t rows = 0;
  const char* items = nullptr;  // the working copy, every row NUL-terminated
  bool FixedFont = false;
  bool MultipleSelect = false;
  HWND list = nullptr;
  bool centre = false;
};

// Writes the list dialog's result text for the button that closed it (0: the close box).
void ListDlgCollect(ListPromptState& state, int button);

}  // namespace rxsystem

extern "C" {
int32_t __stdcall SysMessage(const rxsystem::HostContext* context, int32_t ButtonType, int32_t DefaultButton,
                             const char* Title, const char* Message);
int32_t __stdcall SysInfoMessage(const rxsystem::HostContext* context, int32_t ButtonType,
                                 int32_t DefaultButton, const char* Title, const char* Message);
int32_t __stdcall SysWarningMessage(const rxsystem::HostContext* context, int32_t ButtonType,
                                    int32_t DefaultButton, const char* Title, const char* Message);
int32_t __stdcall SysErrorMessage(const rxsystem::HostContext* context, int32_t ButtonType,
                                  int32_t DefaultButton, const char* Title, const char* Message);
int32_t __stdcall SysQuestionMessage(const rxsystem::HostContext* context, int32_t ButtonType,
                                     int32_t DefaultButton, const char* Title, const char* Message);

HGLOBAL __stdcall SysPrompt(const rxsystem::HostContext* context, int32_t Left, int32_t Top, int32_t Width,
                            const char* Title, const char* Description, int32_t CenterDesc,
                            int32_t NumberDescLines, const char* Label, const char* Button1,
                            const char* Button2, const char* Button3, int32_t DefaultButton,
                            int32_t MaxEditLength, int32_t NumberEditLines);
HGLOBAL __stdcall SysListPrompt(const rxsystem::HostContext* context, int32_t Left, int32_t Top,
                                int32_t Width, const char* Title, const char* Description, int32_t CenterDesc,
                                int32_t NumberDescLines, const char* Heading, const char* ListItems,
                                int32_t Sort, int32_t MultipleSelect, int32_t FixedFont,
                                int32_t NumberListLines, const char* Button1, const char* Button2,
                                const char* Button3, int32_t DefaultButton);

INT_PTR __stdcall PromptDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR __stdcall ListDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
}
