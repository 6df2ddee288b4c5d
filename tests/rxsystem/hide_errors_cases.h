// The host's TLHideErrors switch: which settings show the error box and which leave the
// message in TLLastError, and hosts that fail the look-up, ignore it or have no window. The
// library's shared code and the library itself under the stand-in host answer them alike.
#pragma once
#include <optional>

#include "stand_in_host.h"

namespace rxsystem_tests {

enum class SwitchHost { Answers, FailsTheGet, Ignores, NoWindow };

struct HideErrorsCase {
  const char* what;
  SwitchHost host;
  std::optional<authorware_host::Value> hideErrors;
  bool boxShown;
};

inline const HideErrorsCase kHideErrorsCases[] = {
    {"unset", SwitchHost::Answers, std::nullopt, true},
    {"0", SwitchHost::Answers, 0, true},
    {"1", SwitchHost::Answers, 1, false},
    {"2", SwitchHost::Answers, 2, true},
    {"text 1", SwitchHost::Answers, std::string("1"), false},  // the host converts, as is its business
    // 5
    {"the get fails", SwitchHost::FailsTheGet, 1, true},
    {"the host ignores the messages", SwitchHost::Ignores, 1, true},
    {"no host window", SwitchHost::NoWindow, 1, true},
};

// The host's variables and window set as the row asks, with no traffic yet.
inline void PrepareHost(const HideErrorsCase& c, authorware_host::VariableStore& variables,
                        authorware_host::PresentationWindow& window) {
  variables = authorware_host::VariableStore();
  if (c.hideErrors) variables.Set("TLHideErrors", *c.hideErrors);
  if (c.host == SwitchHost::FailsTheGet) variables.FailGet("TLHideErrors");
  window.ignoreMessages = c.host == SwitchHost::Ignores;
  window.traffic.clear();
}

}  // namespace rxsystem_tests
