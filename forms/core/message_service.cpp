#include "forms/core/message_service.h"

#include <utility>

namespace forms {
namespace {

MessageRecorder& Recorder() {
  static MessageRecorder recorder;
  return recorder;
}

std::string& Title() {
  static std::string title;
  return title;
}

const char* CaptionOf(MsgDlgType type) {
  switch (type) {
    case MsgDlgType::Warning:
      return "Warning";
    case MsgDlgType::Error:
      return "Error";
    case MsgDlgType::Information:
      return "Information";
    case MsgDlgType::Confirmation:
      return "Confirm";
    case MsgDlgType::Custom:
      break;
  }
  return nullptr;
}

}  // namespace

ScopedMessageRecorder::ScopedMessageRecorder(MessageRecorder recorder)
    : previous_(std::exchange(Recorder(), std::move(recorder))) {}

ScopedMessageRecorder::~ScopedMessageRecorder() { Recorder() = std::move(previous_); }

std::optional<int> InterceptMessage(const MessageRequest& request) {
  if (!Recorder()) return std::nullopt;
  // A copy, so a recorder that replaces itself while answering stays alive for the call.
  MessageRecorder recorder = Recorder();
  return recorder(request);
}

int PresentMessage(const MessageRequest& request) {
  if (auto answer = InterceptMessage(request)) return *answer;
  return ShowOnPlatform(request);
}

void SetApplicationTitle(const std::string& title) { Title() = title; }
const std::string& ApplicationTitle() { return Title(); }

int MessageDlg(const std::string& text, MsgDlgType type, unsigned buttons) {
  MessageRequest r;
  r.kind = MessageKind::MessageDlg;
  const char* caption = CaptionOf(type);
  r.caption = caption ? caption : ApplicationTitle();
  r.text = text;
  r.type = type;
  r.buttons = buttons;
  return PresentMessage(r);
}

void ShowMessage(const std::string& text) {
  MessageRequest r;
  r.kind = MessageKind::PlainMessage;
  r.caption = ApplicationTitle();
  r.text = text;
  PresentMessage(r);
}

int PlatformMessageBox(const std::string& caption, const std::string& text, unsigned mbFlags) {
  MessageRequest r;
  r.kind = MessageKind::PlatformBox;
  r.caption = caption;
  r.text = text;
  r.buttons = mbFlags;
  return PresentMessage(r);
}

void ReportError(const std::string& text) {
  MessageRequest r;
  r.kind = MessageKind::ErrorReport;
  r.caption = ApplicationTitle();
  r.text = text;
  r.type = MsgDlgType::Error;
  PresentMessage(r);
}

}  // namespace forms
