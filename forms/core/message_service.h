// One replaceable service for every message box and message dialog of the programs.
// Tests install a recorder: it sees caption, text and buttons and answers without a window.
#pragma once
#include <functional>
#include <optional>
#include <string>

namespace forms {

enum class MessageKind {
  MessageDlg,    // the toolkit's typed message dialog
  PlainMessage,  // a plain box captioned with the application title
  PlatformBox,   // the platform message box with its own caption and MB_ flags
  GreekConfirm,  // the Greek message dialog (buttons = layout 0..3)
  ErrorReport,   // the application's general error report
};

enum class MsgDlgType { Warning, Error, Information, Confirmation, Custom };

// Button set of a MessageDlg.
enum MsgDlgButton : unsigned {
  mbYes = 1u << 0,
  mbNo = 1u << 1,
  mbOK = 1u << 2,
  mbCancel = 1u << 3,
  mbAbort = 1u << 4,
  mbRetry = 1u << 5,
  mbIgnore = 1u << 6,
};

// Modal results; the same numbers as the platform's button ids.
enum ModalResult : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
};

struct MessageRequest {
  MessageKind kind = MessageKind::PlainMessage;
  std::string caption;  // as shown (MessageDlg: derived from the type)
  std::string text;
  MsgDlgType type = MsgDlgType::Information;
  unsigned buttons = 0;  // MsgDlgButton set, MB_ flags or Greek layout, by kind
};

using MessageRecorder = std::function<int(const MessageRequest&)>;

// Installs a recorder for the lifetime of the object; the previous one comes back after.
class ScopedMessageRecorder {
 public:
  explicit ScopedMessageRecorder(MessageRecorder recorder);
  ~ScopedMessageRecorder();
  ScopedMessageRecorder(const ScopedMessageRecorder&) = delete;
  ScopedMessageRecorder& operator=(const ScopedMessageRecorder&) = delete;

 private:
  MessageRecorder previous_;
};

// The recorder's answer when one is installed; nullopt means the real window is to be shown.
std::optional<int> InterceptMessage(const MessageRequest& request);

// Shows the request on the platform (or the recorder). Dialogs of our own (the Greek dialog)
// call InterceptMessage themselves and show their own window.
int PresentMessage(const MessageRequest& request);

void SetApplicationTitle(const std::string& title);
const std::string& ApplicationTitle();

int MessageDlg(const std::string& text, MsgDlgType type, unsigned buttons);
void ShowMessage(const std::string& text);
int PlatformMessageBox(const std::string& caption, const std::string& text, unsigned mbFlags);
void ReportError(const std::string& text);

// Platform half: shows a request for real. Defined once per build (Windows or native).
int ShowOnPlatform(const MessageRequest& request);

}  // namespace forms
