#include "forms/memo.h"

#include "forms/core/text.h"

namespace forms {

Memo::Memo(Control* parent, bool verticalScrollBar) : Control(parent) {
  // No ES_AUTOHSCROLL: long lines wrap at the box's edge.
  DWORD style = WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
  if (verticalScrollBar) style |= WS_VSCROLL;
  CreateHandle(L"EDIT", style, WS_EX_CLIENTEDGE);
  // The default limit would cut a long answer without a word.
  SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);
  SetColor(clWindow);
}

std::vector<std::string> SplitMemoText(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      if (start < text.size()) lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string JoinMemoLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::vector<std::string> Memo::Lines() const { return SplitMemoText(Text()); }

void Memo::SetLines(const std::vector<std::string>& lines) { SetText(JoinMemoLines(lines)); }

LRESULT Memo::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETDLGCODE) {
    LRESULT r = CallDefault(msg, wp, lp);
    // A multi-line edit asks for every key; Tab and Esc are left to the form, so Tab moves on
    // and Esc means what it means on the form. Enter stays here: a new line.
    auto* m = reinterpret_cast<const MSG*>(lp);
    if (m && m->message == WM_KEYDOWN && ((m->wParam == VK_TAB && !wantTabs) || m->wParam == VK_ESCAPE)) {
      r &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    }
    if (wantTabs) r |= DLGC_WANTTAB;
    return r;
  }
  return Control::WndProc(msg, wp, lp);
}

}  // namespace forms
