// RXSystem's beeps and message boxes taken at the library's message seam, for the tests that
// link the library's code into themselves: every beep and box in order, and the button the
// user would press. This is not message_recorder.h's recorder: that one stands in for the
// programs' message service, a seam of the forms library that the native build has too,
// while this one needs the Windows library's host interface.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "scoped_seam.h"
#include "system_services/host/host_interface.h"

namespace testing_support {

struct SeamBox {
  HWND owner;
  std::string text;
  std::string caption;
  UINT flags;
};

// In place for its lifetime. The seam holds plain functions, so they reach the recorder made
// last; one made inside another's lifetime hands the seam back to it when it goes.
class SeamBoxRecorder {
 public:
  SeamBoxRecorder() : outer_(Active()), seam_(rxsystem::ReplaceMessageSeam, {&Beep, &Box}) {
    Active() = this;
  }
  ~SeamBoxRecorder() { Active() = outer_; }
  SeamBoxRecorder(const SeamBoxRecorder&) = delete;
  SeamBoxRecorder& operator=(const SeamBoxRecorder&) = delete;

  std::vector<UINT> beeps;
  std::vector<SeamBox> boxes;
  // The button every box answers with.
  int answer = IDOK;

  void Clear() {
    beeps.clear();
    boxes.clear();
  }

 private:
  static SeamBoxRecorder*& Active() {
    static SeamBoxRecorder* active = nullptr;
    return active;
  }
  static void Beep(UINT type) { Active()->beeps.push_back(type); }
  static int Box(HWND owner, const char* text, const char* caption, UINT flags) {
    SeamBoxRecorder* r = Active();
    r->boxes.push_back({owner, text ? text : "", caption ? caption : "", flags});
    return r->answer;
  }

  SeamBoxRecorder* outer_;
  ScopedSeam<rxsystem::MessageSeam> seam_;
};

}  // namespace testing_support
