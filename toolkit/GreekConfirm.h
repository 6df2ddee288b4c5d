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
  void FormActivate();

  forms::Label Label1;
  forms::BitBtn yes_BitBtn;
  forms::BitBtn no_BitBtn;
  forms::BitBtn ok_BitBtn;
  forms::BitBtn cancel_bitbtn;
};

// The form of the call in progress; null between calls.
extern TGreekConfirmForm* GreekConfirmForm;

// Layouts: 0 OK; 1 OK, Cancel; 2 Yes, No; 3 Yes, No, Cancel. Returns the modal result
// (1 OK, 2 Cancel or the close box, 6 Yes, 7 No).
int VeruGreekConfirm(const std::string& Caption, const std::string& Text, std::uint8_t Kind);

}  // namespace GreekConfirm
