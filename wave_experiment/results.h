// The results dialog (unit results). A placeholder shell until the dialog is built.
#pragma once
#include "forms/form.h"

namespace results {

class Tresults_form : public forms::Form {
 public:
  Tresults_form();
};

extern Tresults_form* results_form;

}  // namespace results
