#include "wave_experiment/peirama.h"

#include <memory>

#include "forms/core/message_service.h"
#include "wave_experiment/experiment_data.h"

namespace peirama {

Tpeirama_form* peirama_form = nullptr;

namespace {

forms::FontSpec FormFont(int height, unsigned style, forms::Color color = forms::clWindowText) {
  forms::FontSpec f;
  f.name = "MS Sans Serif";
  f.height = height;
  f.style = style;
  f.color = color;
  return f;
}

void DesignQuestion(forms::StaticText& t, int left, int top, int width, int height, const char* text) {
  t.SetFont(FormFont(15, forms::fsBold));
  t.SetBounds(left, top, width, height);
  t.SetBorderStyle(forms::StaticBorder::Sunken);
  t.SetCaption(text);
}

void DesignAnswer(forms::Memo& m, int left, int top, int width, int height, int tabOrder) {
  m.SetFont(FormFont(15, 0, forms::clRed));
  m.SetBounds(left, top, width, height);
  m.SetTabOrder(tabOrder);
}

// The answer as the memo shows it: one empty line, which the data file holds for an empty
// answer, is an empty memo.
void ShowAnswer(forms::Memo& m, const Unit1::StringList& lines) {
  Unit1::StringList shown = lines;
  if (shown.size() == 1 && shown[0].empty()) shown.clear();
  m.SetLines(shown);
}

}  // namespace

Tpeirama_form::Tpeirama_form()
    : StaticText1(this), Memo1(this), StaticText2(this), Memo2(this), ok_BitBtn(this) {
  SetBorderStyle(forms::BorderStyle::Dialog);
  SetMinimizeBox(true);
  SetPosition(forms::FormPosition::ScreenCenter);
  SetCaption("Πείραμα 2");
  SetFont(FormFont(11, 0));
  SetClientSize(402, 375);

  // The design-time texts; the data file's questions replace them before the form is seen.
  DesignQuestion(StaticText1, 16, 24, 369, 73, "Ερώτηση 1");
  DesignAnswer(Memo1, 16, 112, 369, 57, 0);
  DesignQuestion(StaticText2, 16, 184, 369, 57, "Ερώτηση 2");
  DesignAnswer(Memo2, 16, 256, 369, 57, 1);

  ok_BitBtn.SetKind(forms::BitBtnKind::OK);
  ok_BitBtn.SetFont(FormFont(15, forms::fsBold));
  ok_BitBtn.SetBounds(149, 328, 105, 33);
  ok_BitBtn.SetTabOrder(2);
  ok_BitBtn.onClick = [this] { ok_BitBtnClick(); };

  activeControl = &Memo1;
  // At each opening rather than each activation, so that a message box never puts back
  // what the student typed since.
  onShow = [this] { FormActivate(); };
  onClose = [this](forms::CloseAction& action) { FormClose(action); };
}

void Tpeirama_form::FormActivate() {
  StaticText1.SetCaption(Unit1::Question1);
  StaticText2.SetCaption(Unit1::Question2);
  ShowAnswer(Memo1, Unit1::Answer1Lines);
  ShowAnswer(Memo2, Unit1::Answer2Lines);
}

void Tpeirama_form::ok_BitBtnClick() { SetModalResult(forms::mrOk); }

void Tpeirama_form::FormClose(forms::CloseAction&) {
  Unit1::Answer1Lines = Memo1.Lines();
  Unit1::Answer2Lines = Memo2.Lines();
}

void CreatePeiramaForm() {
  // Lives as long as the program, as the main window does.
  static std::unique_ptr<Tpeirama_form> form;
  form = std::make_unique<Tpeirama_form>();
  peirama_form = form.get();
}

void ShowPeiramaForm() { peirama_form->ShowModal(); }

}  // namespace peirama
