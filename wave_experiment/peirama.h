// Unit peirama: the questions form Tpeirama_form. It shows the two questions of the data file
// and lets the student write an answer to each; whichever way it closes, the answers go back
// into the main window's answer lists.
#pragma once
#include "forms/button.h"
#include "forms/form.h"
#include "forms/memo.h"
#include "forms/static_text.h"

namespace peirama {

class Tpeirama_form : public forms::Form {
 public:
  Tpeirama_form();

  // Fills the questions and memos each time the form opens, from the current answer lists.
  void FormActivate();
  void ok_BitBtnClick();
  // Any close, the OK button or the close box: the memos become the answer lists.
  void FormClose(forms::CloseAction& action);

  forms::StaticText StaticText1;
  forms::Memo Memo1;
  forms::StaticText StaticText2;
  forms::Memo Memo2;
  forms::BitBtn ok_BitBtn;
};

extern Tpeirama_form* peirama_form;

void CreatePeiramaForm();
void ShowPeiramaForm();

}  // namespace peirama
