// Records every message the programs show and answers from a queue (default: the first
// button of the request).
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "forms/core/message_service.h"
#include "forms/core/text.h"

namespace testing_support {

class MessageRecorder {
 public:
  MessageRecorder()
      : scope_([this](const forms::MessageRequest& r) {
          messages.push_back(r);
          if (!answers.empty()) {
            int a = answers.front();
            answers.pop_front();
            return a;
          }
          return defaultAnswer;
        }) {}

  std::vector<forms::MessageRequest> messages;
  std::deque<int> answers;
  int defaultAnswer = forms::mrOk;

  size_t Count() const { return messages.size(); }
  // Texts in UTF-8, for readable failure messages.
  std::string TextUtf8(size_t i) const { return forms::ToUtf8(messages.at(i).text); }
  void Clear() { messages.clear(); }

 private:
  forms::ScopedMessageRecorder scope_;
};

}  // namespace testing_support
