// A multi-line edit box: Enter starts a new line inside it (never the form's default
// button), Tab goes on to the next control, and the text reads and writes as a list of lines.
#pragma once
#include <string>
#include <vector>

#include "forms/control.h"

namespace forms {

class Memo : public Control {
 public:
  explicit Memo(Control* parent, bool verticalScrollBar = true);

  // One entry per line ended by the student's Enter; a last line left empty after a final
  // Enter is not a line, so an empty memo has none.
  std::vector<std::string> Lines() const;
  // Each entry becomes a line ended by a line break.
  void SetLines(const std::vector<std::string>& lines);

  // Off: Tab moves the focus instead of typing a tab character.
  bool wantTabs = false;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

// The lines of a memo's text, split at CR LF (the pure half of Memo::Lines).
std::vector<std::string> SplitMemoText(const std::string& text);
std::string JoinMemoLines(const std::vector<std::string>& lines);

}  // namespace forms
