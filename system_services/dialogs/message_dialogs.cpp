#include "system_services/dialogs/message_dialogs.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "system_services/host/center_window.h"
#include "system_services/dialogs/dialog_template.h"

namespace rxsystem {
namespace {

DescriptionBlock Description(const char* text, int32_t centerDesc, int32_t lines) {
  return DescriptionBlock{OptionalText(text), centerDesc != 0, lines};
}

void MeasureButtons(ButtonSet& buttons, const MeasuringFont& font) {
  for (int i = 0; i < buttons.count; ++i)
    buttons.pixelWidths[static_cast<size_t>(i)] =
        font.TextWidthWithNul(buttons.texts[static_cast<size_t>(i)]);
}

bool AddItems(DialogTemplate& t, const DialogLayout& layout) {
  for (int i = 0; i < layout.count; ++i)
    if (!AddDialogItem(t, layout.items[static_cast<size_t>(i)])) return false;
  return true;
}

template <class State>
State* StateOf(HWND dialog) {
  return reinterpret_cast<State*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

int ButtonOfCommand(WPARAM wParam) {
  if (HIWORD(wParam) != BN_CLICKED) return 0;
  switch (LOWORD(wParam)) {
    case kButton1Id:
      return 1;
    case kButton2Id:
      return 2;
    case kButton3Id:
      return 3;
    default:
      return 0;
  }
}

void PromptCollect(HWND dialog, const PromptState& state, int button) {
  ResultWriter out(state.result, static_cast<size_t>(state.MaxEditLength) + 3);
  WriteButtonDigit(out, button);
  const int room = static_cast<int>(std::min<int64_t>(int64_t{state.MaxEditLength} + 1, 0x7FFFFFFF));
  GetDlgItemTextA(dialog, kPromptEditId, state.result + 2, room);
}

}  // namespace

int32_t MessageBoxByType(HWND owner, UINT icon, int32_t buttonType, int32_t defaultButton,
                         const char* caption, const char* text) {
  static constexpr UINT kButtonSets[] = {MB_OK, MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL, MB_RETRYCANCEL};
  if (buttonType < 0 || buttonType > 4) {
    ReportError(kInvalidParameter);
    return -1;
  }
  UINT flags = kButtonSets[buttonType] | icon;
  if (defaultButton == 2) flags |= MB_DEFBUTTON2;
  if (defaultButton == 3) flags |= MB_DEFBUTTON3;
  const int answer = SeamBox(owner, text ? text : "", caption ? caption : "", flags);
  switch (buttonType) {
    case 0:
      return 1;
    case 1:
      return answer == IDOK ? 1 : 2;
    case 2:
      return answer == IDYES ? 1 : 2;
    case 3:
      return answer == IDYES ? 1 : answer == IDNO ? 2 : 3;
    default:
      return answer == IDRETRY ? 1 : 2;
  }
}

void ListDlgCollect(ListPromptState& state, int button) {
  ResultWriter out(state.result, state.resultSize);
  WriteButtonDigit(out, button);
  if (!state.MultipleSelect) {
    const LRESULT selected = SendMessageA(state.list, LB_GETCURSEL, 0, 0);
    const LRESULT data =
        selected == LB_ERR ? -1 : SendMessageA(state.list, LB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
    WriteSingleSelection(out, data == LB_ERR ? -1 : data);
    return;
  }
  const LRESULT counted = SendMessageA(state.list, LB_GETSELCOUNT, 0, 0);
  const uint32_t count = counted > 0 ? static_cast<uint32_t>(counted) : 0;
  if (count == 0) {
    WriteMultipleSelection(out, 0, {});
    return;
  }
  LockedBlock block;
  auto* indexes = reinterpret_cast<int*>(NewLockedBlock(size_t{count} * 4, block));
  if (!indexes) {
    VeruErrorBox(kInsufficientMemory);
    WriteMultipleSelection(out, count, {});
    return;
  }
  const LRESULT got = SendMessageA(state.list, LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(indexes));
  out.Line(count);
  // Display order is ascending index order, which the list hands back.
  for (LRESULT i = 0; i < std::min<LRESULT>(got, count); ++i) {
    const LRESULT data = SendMessageA(state.list, LB_GETITEMDATA, static_cast<WPARAM>(indexes[i]), 0);
    out.Line(data == LB_ERR ? 0u : static_cast<uint32_t>(data) + 1);
  }
}

}  // namespace rxsystem

using namespace rxsystem;

extern "C" int32_t __stdcall SysMessage(const HostContext* context, int32_t ButtonType, int32_t DefaultButton,
                                        const char* Title, const char* Message) {
  if (!EnterExport(context)) return -1;
  return MessageBoxByType(context->HostWindow, 0, ButtonType, DefaultButton, Title, Message);
}

extern "C" int32_t __stdcall SysInfoMessage(const HostContext* context, int32_t ButtonType,
                                            int32_t DefaultButton, const char* Title, const char* Message) {
  if (!EnterExport(context)) return -1;
  return MessageBoxByType(context->HostWindow, MB_ICONINFORMATION, ButtonType, DefaultButton, Title, Message);
}

extern "C" int32_t __stdcall SysWarningMessage(const HostContext* context, int32_t ButtonType,
                                               int32_t DefaultButton, const char* Title,
                                               const char* Message) {
  if (!EnterExport(context)) return -1;
  return MessageBoxByType(context->HostWindow, MB_ICONEXCLAMATION, ButtonType, DefaultButton, Title, Message);
}

extern "C" int32_t __stdcall SysErrorMessage(const HostContext* context, int32_t ButtonType,
                                             int32_t DefaultButton, const char* Title, const char* Message) {
  if (!EnterExport(context)) return -1;
  return MessageBoxByType(context->HostWindow, MB_ICONHAND, ButtonType, DefaultButton, Title, Message);
}

extern "C" int32_t __stdcall SysQuestionMessage(const HostContext* context, int32_t ButtonType,
                                                int32_t DefaultButton, const char* Title,
                                                const char* Message) {
  if (!EnterExport(context)) return -1;
  return MessageBoxByType(context->HostWindow, MB_ICONQUESTION, ButtonType, DefaultButton, Title, Message);
}

extern "C" HGLOBAL __stdcall SysPrompt(const HostContext* context, int32_t Left, int32_t Top, int32_t Width,
                                       const char* Title, const char* Description, int32_t CenterDesc,
                                       int32_t NumberDescLines, const char* Label, const char* Button1,
                                       const char* Button2, const char* Button3, int32_t DefaultButton,
                                       int32_t MaxEditLength, int32_t NumberEditLines) {
  if (!EnterExport(context)) return nullptr;
  const HWND owner = context->HostWindow;
  PromptRequest request;
  request.width = Width;
  request.description = rxsystem::Description(Description, CenterDesc, NumberDescLines);
  request.label = OptionalText(Label);
  request.buttons = ChooseButtons(Button1, Button2, Button3);
  const EditShape edit = ShapeEdit(NumberEditLines, DefaultButton);
  request.editLines = edit.lines;
  request.defaultButton = edit.defaultButton;

  MeasuringFont font(owner);
  const FontMetrics metrics = font.Metrics();
  if (!request.label.empty()) request.labelPixels = font.TextWidthWithNul(request.label);
  MeasureButtons(request.buttons, font);
  const DialogLayout layout = LayoutPrompt(request, metrics);

  DialogTemplate dialog;
  if (BuildDialogTemplate(metrics, Title, Left, Top, layout.width, layout.height, layout.count,
                          layout.textChars, dialog) != 0)
    return nullptr;
  // A negative length counts as 0. The block holds the digit, the CR, the text and its NUL.
  PromptState state;
  state.MaxEditLength = std::max<int32_t>(MaxEditLength, 0);
  state.centre = dialog.centre;
  // The host takes the block over when the dialog has answered.
  LockedBlock result;
  if (!NewLockedBlock(static_cast<size_t>(state.MaxEditLength) + 3, result)) {
    font.Release();
    VeruErrorBox(kInsufficientMemory);
    return nullptr;
  }
  state.result = result.text();
  AddItems(dialog, layout);
  font.Release();
  DialogBoxIndirectParamA(ModuleInstance, reinterpret_cast<LPCDLGTEMPLATEA>(dialog.base), owner,
                          PromptDlgProc, reinterpret_cast<LPARAM>(&state));
  return result.release();
}

extern "C" INT_PTR __stdcall PromptDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<PromptState*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      if (!state) return TRUE;
      if (state->centre) CenterWindow(dialog);
      SendDlgItemMessageA(dialog, kPromptEditId, EM_LIMITTEXT, static_cast<WPARAM>(state->MaxEditLength), 0);
      return TRUE;
    }
    case WM_COMMAND: {
      const int button = ButtonOfCommand(wParam);
      auto* state = StateOf<PromptState>(dialog);
      if (button == 0 || !state) return FALSE;
      PromptCollect(dialog, *state, button);
      EndDialog(dialog, button);
      return TRUE;
    }
    case WM_CLOSE: {
      auto* state = StateOf<PromptState>(dialog);
      if (!state) return FALSE;
      PromptCollect(dialog, *state, 0);
      EndDialog(dialog, 0);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

namespace {

struct RowMeasure {
  const MeasuringFont* font;
};

int32_t MeasureColumn(void* context, std::string_view text) {
  return static_cast<RowMeasure*>(context)->font->TextWidth(text);
}

HGLOBAL ListPrompt(const HostContext* context, int32_t Left, int32_t Top, int32_t Width, const char* Title,
                   const char* Description, int32_t CenterDesc, int32_t NumberDescLines, const char* Heading,
                   const char* ListItems, int32_t Sort, int32_t MultipleSelect, int32_t FixedFont,
                   int32_t NumberListLines, const char* Button1, const char* Button2, const char* Button3,
                   int32_t DefaultButton) {
  const HWND owner = context->HostWindow;
  ListRequest request;
  request.width = Width;
  request.description = rxsystem::Description(Description, CenterDesc, NumberDescLines);
  request.buttons = ChooseButtons(Button1, Button2, Button3);
  request.listLines = NumberListLines < 1 ? 10 : NumberListLines;
  request.sort = Sort != 0;
  request.multipleSelect = MultipleSelect != 0;
  request.fixedFont = FixedFont != 0;
  request.defaultButton = DefaultButton;

  MeasuringFont font(owner);
  FontMetrics metrics = font.Metrics();
  request.gapPixels = 2 * metrics.averageWidth;

  ListPromptState state;
  state.FixedFont = request.fixedFont;
  state.MultipleSelect = request.multipleSelect;
  // A locked working copy, freed at the end of the call.
  LockedBlock items(CopyToGlobalString(ListItems));
  if (!items.text()) return nullptr;
  state.items = items.text();

  // More heading columns than the list can have would have no width to stand on.
  if (!SplitHeading(OptionalText(Heading), request.heading)) {
    font.Release();
    ReportError(kTooManyColumns);
    return nullptr;
  }
  for (int j = 0; j < request.heading.count; ++j) {
    int32_t& w = request.columnWidths[static_cast<size_t>(j)];
    w = std::max(w, font.TextWidth(request.heading.columns[static_cast<size_t>(j)]));
  }

  if (request.fixedFont) font.SelectFixed();
  RowMeasure measure{&font};
  const ListScan scan = ScanListRows(items.text(), request.columnWidths, MeasureColumn, &measure);
  if (scan.tooManyColumns) {
    font.Release();
    ReportError(kTooManyColumns);
    return nullptr;
  }
  state.rows = scan.rows;
  state.columns = scan.columns;
  request.columns = scan.columns;
  if (request.fixedFont) {
    state.tabStops =
        ListTabStops(request.columnWidths, scan.columns, request.gapPixels, font.Metrics().averageWidth);
    font.SelectSans();
    metrics = font.Metrics();
  } else {
    state.tabStops =
        ListTabStops(request.columnWidths, scan.columns, request.gapPixels, metrics.averageWidth);
  }
  MeasureButtons(request.buttons, font);
  const DialogLayout layout = LayoutList(request, metrics);

  DialogTemplate dialog;
  if (BuildDialogTemplate(metrics, Title, Left, Top, layout.width, layout.height, layout.count,
                          layout.textChars, dialog) != 0)
    return nullptr;
  state.centre = dialog.centre;
  LockedBlock result;
  state.resultSize = ListResultSize(state.rows);
  if (!NewLockedBlock(state.resultSize, result)) {
    font.Release();
    VeruErrorBox(kInsufficientMemory);
    return nullptr;
  }
  state.result = result.text();
  AddItems(dialog, layout);
  font.Release();
  DialogBoxIndirectParamA(ModuleInstance, reinterpret_cast<LPCDLGTEMPLATEA>(dialog.base), owner, ListDlgProc,
                          reinterpret_cast<LPARAM>(&state));
  return result.release();
}

}  // namespace

extern "C" HGLOBAL __stdcall SysListPrompt(const HostContext* context, int32_t Left, int32_t Top,
                                           int32_t Width, const char* Title, const char* Description,
                                           int32_t CenterDesc, int32_t NumberDescLines, const char* Heading,
                                           const char* ListItems, int32_t Sort, int32_t MultipleSelect,
                                           int32_t FixedFont, int32_t NumberListLines, const char* Button1,
                                           const char* Button2, const char* Button3, int32_t DefaultButton) {
  if (!EnterExport(context)) return nullptr;
  return ListPrompt(context, Left, Top, Width, Title, Description, CenterDesc, NumberDescLines, Heading,
                    ListItems, Sort, MultipleSelect, FixedFont, NumberListLines, Button1, Button2, Button3,
                    DefaultButton);
}

extern "C" INT_PTR __stdcall ListDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<ListPromptState*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      if (!state) return TRUE;
      state->list = GetDlgItem(dialog, kListId);
      if (state->FixedFont)
        SendMessageA(state->list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FIXED_FONT)),
                     FALSE);
      if (state->columns > 1)
        SendMessageA(state->list, LB_SETTABSTOPS, static_cast<WPARAM>(state->columns - 1),
                     reinterpret_cast<LPARAM>(state->tabStops.data()));
      const char* row = state->items;
      for (int32_t r = 0; r < state->rows && row; ++r) {
        const LRESULT at = SendMessageA(state->list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
        if (at >= 0) SendMessageA(state->list, LB_SETITEMDATA, static_cast<WPARAM>(at), r);
        row += std::strlen(row) + 1;
      }
      if (state->centre) CenterWindow(dialog);
      return TRUE;
    }
    case WM_COMMAND: {
      const int button = ButtonOfCommand(wParam);
      auto* state = StateOf<ListPromptState>(dialog);
      if (button == 0 || !state) return FALSE;
      ListDlgCollect(*state, button);
      EndDialog(dialog, button);
      return TRUE;
    }
    case WM_CLOSE: {
      auto* state = StateOf<ListPromptState>(dialog);
      if (!state) return FALSE;
      ListDlgCollect(*state, 0);
      EndDialog(dialog, 0);
      return TRUE;
    }
    default:
      return FALSE;
  }
}
