#include "wave_experiment/peirama.h"

#include "wave_experiment/form_seams.h"

namespace peirama {

Tpeirama_form* peirama_form = nullptr;

Tpeirama_form::Tpeirama_form() {
  SetBorderStyle(forms::BorderStyle::Dialog);
  SetPosition(forms::FormPosition::ScreenCenter);
  SetCaption("Πείραμα 2");
  SetClientSize(402, 375);
}

void CreatePeiramaForm() {
  if (!peirama_form) peirama_form = new Tpeirama_form();
}

void ShowPeiramaForm() {
  if (peirama_form) peirama_form->ShowModal();
}

}  // namespace peirama
