#include <windows.h>

#include "forms/core/message_service.h"
#include "forms/core/text.h"

namespace forms {
namespace {

UINT FlagsOfMessageDlg(const MessageRequest& r) {
  UINT flags = 0;
  switch (r.type) {
    case MsgDlgType::Warning:
      flags |= MB_ICONWARNING;
      break;
    case MsgDlgType::Error:
      flags |= MB_ICONERROR;
      break;
    case MsgDlgType::Information:
      flags |= MB_ICONINFORMATION;
      break;
    case MsgDlgType::Confirmation:
      flags |= MB_ICONQUESTION;
      break;
    case MsgDlgType::Custom:
      break;
  }
  unsigned b = r.buttons;
  if ((b & mbYes) && (b & mbNo) && (b & mbCancel))
    flags |= MB_YESNOCANCEL;
  else if ((b & mbYes) && (b & mbNo))
    flags |= MB_YESNO;
  else if ((b & mbAbort) && (b & mbRetry) && (b & mbIgnore))
    flags |= MB_ABORTRETRYIGNORE;
  else if ((b & mbRetry) && (b & mbCancel))
    flags |= MB_RETRYCANCEL;
  else if ((b & mbOK) && (b & mbCancel))
    flags |= MB_OKCANCEL;
  else
    flags |= MB_OK;
  return flags;
}

}  // namespace

int ShowOnPlatform(const MessageRequest& r) {
  UINT flags = 0;
  switch (r.kind) {
    case MessageKind::MessageDlg:
      flags = FlagsOfMessageDlg(r);
      break;
    case MessageKind::PlatformBox:
      flags = r.buttons;
      break;
    case MessageKind::ErrorReport:
      flags = MB_OK | MB_ICONERROR;
      break;
    case MessageKind::PlainMessage:
    case MessageKind::GreekConfirm:
      flags = MB_OK;
      break;
  }
  if (!(flags & (MB_SYSTEMMODAL | MB_TASKMODAL))) flags |= MB_TASKMODAL;
  std::wstring text = Widen(r.text);
  std::wstring caption = Widen(r.caption);
  return MessageBoxW(GetActiveWindow(), text.c_str(), caption.c_str(), flags);
}

}  // namespace forms
