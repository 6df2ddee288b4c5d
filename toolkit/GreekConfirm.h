// The modal message box with Greek buttons that tells the student every message.
#pragma once
#include <cstdint>
#include <string>

#include "forms/button.h"
#include "forms/form.h"
#include "forms/label.h"

namespace GreekConfirm {

class TGreekConfirmForm : public forms::Form {
 public:
  TGreekConfirmForm();

  // Lays the buttons and widths out for layout 0..3 (others keep the design).
  void ApplyLayout(std::uint8_t Kind);
  // The button Enter presses and the first focus: the shown button with this result.
  void SetDefaultResult(int result);
  void FormActivate();

  forms::Label Label1;
  forms::BitBtn yes_BitBtn;
  forms::BitBtn no_BitBtn;
  forms::BitBtn ok_BitBtn;
  forms::BitBtn cancel_bitbtn;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // Esc puts the question away unanswered, as the close box does, on a form with no button
  // that means "do nothing".
  bool escapeDismisses_ = false;
};

// The form of the call in progress; null between calls.
extern TGreekConfirmForm* GreekConfirmForm;

// Layouts: 0 OK; 1 OK, Cancel; 2 Yes, No; 3 Yes, No, Cancel. Returns the modal result
// (1 OK, 2 Cancel, 6 Yes, 7 No). The close box gives 2, and so does Esc on every layout but 0,
// where it does nothing: on the Yes/No layout Esc answers neither, so that the caller can
// keep everything as it was.
int VeruGreekConfirm(const std::string& Caption, const std::string& Text, std::uint8_t Kind);
// The same with the shown button whose result is `DefaultResult` as the one that Enter
// presses and that has the focus first, for a question where the design's "No" would throw
// the student's work away.
int VeruGreekConfirm(const std::string& Caption, const std::string& Text, std::uint8_t Kind,
                     int DefaultResult);

}  // namespace GreekConfirm
