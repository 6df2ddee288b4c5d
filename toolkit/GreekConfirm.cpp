#include "toolkit/GreekConfirm.h"

#include <memory>

#include "forms/core/message_service.h"

namespace GreekConfirm {

TGreekConfirmForm* GreekConfirmForm = nullptr;

namespace {

forms::FontSpec ControlFont(bool bold) {
  forms::FontSpec f;
  f.name = "MS Sans Serif";
  f.height = 13;
  f.style = bold ? unsigned{forms::fsBold} : 0u;
  f.charset = forms::kGreekCharset;
  f.color = forms::clBlack;
  return f;
}

void PlaceButton(forms::BitBtn& b, int left, std::string_view caption, int result, int tabOrder) {
  b.SetFont(ControlFont(true));
  b.SetBounds(left, 112, 97, 25);
  if (!caption.empty()) b.SetCaption(caption);
  b.modalResult = result;
  b.SetTabOrder(tabOrder);
}

}  // namespace

TGreekConfirmForm::TGreekConfirmForm()
    : Label1(this), yes_BitBtn(this), no_BitBtn(this), ok_BitBtn(this), cancel_bitbtn(this) {
  SetBorderStyle(forms::BorderStyle::Dialog);
  SetPosition(forms::FormPosition::ScreenCenter);
  SetClientSize(260, 144);

  Label1.SetFont(ControlFont(false));
  Label1.SetBounds(16, 16, 225, 81);
  Label1.SetAlignment(forms::Alignment::Center);

  yes_BitBtn.SetGlyph(forms::MakeMarkGlyph('v', RGB(0, 128, 0)), 2);
  PlaceButton(yes_BitBtn, 31, "&Ναι", forms::mrYes, 1);
  no_BitBtn.SetGlyph(forms::MakeMarkGlyph('x', RGB(192, 0, 0)), 2);
  PlaceButton(no_BitBtn, 127, "&Οχι", forms::mrNo, 0);
  ok_BitBtn.SetKind(forms::BitBtnKind::OK);
  PlaceButton(ok_BitBtn, 79, "", forms::mrOk, 2);
  ok_BitBtn.Hide();
  cancel_bitbtn.SetKind(forms::BitBtnKind::Cancel);
  PlaceButton(cancel_bitbtn, 79, "&Ακύρωση", forms::mrCancel, 3);
  // The design makes "No" both the default and the cancel button.
  defaultButton = &no_BitBtn;
  cancelButton = &no_BitBtn;

  onActivate = [this] { FormActivate(); };
}

void TGreekConfirmForm::FormActivate() { Label1.SetWordWrap(true); }

void TGreekConfirmForm::ApplyLayout(std::uint8_t Kind) {
  auto show = [](forms::BitBtn& b, bool on, int left) {
    if (on) b.SetLeft(left);
    b.SetVisible(on);
  };
  int formWidth = 0, labelWidth = 0;
  switch (Kind) {
    case 0:
      show(ok_BitBtn, true, 56);
      show(yes_BitBtn, false, 0);
      show(no_BitBtn, false, 0);
      show(cancel_bitbtn, false, 0);
      formWidth = 218, labelWidth = 193;
      cancelButton = nullptr;
      break;
    case 1:
      show(ok_BitBtn, true, 24);
      show(cancel_bitbtn, true, 168);
      show(yes_BitBtn, false, 0);
      show(no_BitBtn, false, 0);
      formWidth = 298, labelWidth = 273;
      cancelButton = &cancel_bitbtn;
      break;
    case 2:
      show(yes_BitBtn, true, 24);
      show(no_BitBtn, true, 168);
      show(ok_BitBtn, false, 0);
      show(cancel_bitbtn, false, 0);
      formWidth = 298, labelWidth = 273;
      // Esc is no "No": a student who presses it to get away from the question has not
      // chosen to throw the work away.
      cancelButton = nullptr;
      break;
    case 3:
      show(yes_BitBtn, true, 16);
      show(no_BitBtn, true, 136);
      show(cancel_bitbtn, true, 256);
      show(ok_BitBtn, false, 0);
      formWidth = 378, labelWidth = 353;
      // With a Cancel button on the form, Esc means Cancel, not No.
      cancelButton = &cancel_bitbtn;
      break;
    default:
      return;
  }
  escapeDismisses_ = Kind == 2;
  SetWidth(formWidth);
  Label1.SetWidth(labelWidth);
}

LRESULT TGreekConfirmForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  // The dialog manager's Esc: a command IDCANCEL that names no control.
  if (msg == WM_COMMAND && LOWORD(wp) == IDCANCEL && lp == 0 && escapeDismisses_) {
    Close();
    return 0;
  }
  return forms::Form::WndProc(msg, wp, lp);
}

void TGreekConfirmForm::SetDefaultResult(int result) {
  for (forms::BitBtn* b : {&yes_BitBtn, &no_BitBtn, &ok_BitBtn, &cancel_bitbtn}) {
    if (b->modalResult == result && b->Visible()) {
      defaultButton = b;
      activeControl = b;
      return;
    }
  }
}

namespace {

int Confirm(const std::string& Caption, const std::string& Text, std::uint8_t Kind, int DefaultResult) {
  forms::MessageRequest request;
  request.kind = forms::MessageKind::GreekConfirm;
  request.caption = Caption;
  request.text = Text;
  request.buttons = Kind;
  if (auto answer = forms::InterceptMessage(request)) return *answer;

  // One form per call, freed after it: a message never leaves a window behind.
  auto form = std::make_unique<TGreekConfirmForm>();
  GreekConfirmForm = form.get();
  form->ApplyLayout(Kind);
  if (DefaultResult != forms::mrNone) form->SetDefaultResult(DefaultResult);
  form->SetCaption(Caption);
  form->Label1.SetCaption(Text);
  int result = form->ShowModal();
  GreekConfirmForm = nullptr;
  return result;
}

}  // namespace

int VeruGreekConfirm(const std::string& Caption, const std::string& Text, std::uint8_t Kind) {
  return Confirm(Caption, Text, Kind, forms::mrNone);
}

int VeruGreekConfirm(const std::string& Caption, const std::string& Text, std::uint8_t Kind,
                     int DefaultResult) {
  return Confirm(Caption, Text, Kind, DefaultResult);
}

}  // namespace GreekConfirm
