// Native (test) builds have no windows: a message nobody recorded goes to stderr.
#include <cstdio>

#include "forms/core/message_service.h"
#include "forms/core/text.h"

namespace forms {

int ShowOnPlatform(const MessageRequest& request) {
  std::fprintf(stderr, "[message] %s: %s\n", ToUtf8(request.caption).c_str(), ToUtf8(request.text).c_str());
  if (request.kind == MessageKind::MessageDlg) {
    if (request.buttons & mbOK) return mrOk;
    if (request.buttons & mbYes) return mrYes;
  }
  return mrOk;
}

}  // namespace forms
