// The questions form (unit peirama). A placeholder shell until the form is built: it opens
// empty and closes again; the answers stay as they are.
#pragma once
#include "forms/form.h"

namespace peirama {

class Tpeirama_form : public forms::Form {
 public:
  Tpeirama_form();
};

extern Tpeirama_form* peirama_form;

}  // namespace peirama
