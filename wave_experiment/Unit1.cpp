#include "wave_experiment/Unit1.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <optional>
#include <type_traits>

#include "forms/application.h"
#include "forms/core/checked_arithmetic.h"
#include "forms/cursors.h"
#include "forms/core/message_service.h"
#include "forms/platform/whole_file.h"
#include "toolkit/GreekConfirm.h"
#include "toolkit/charakas.h"
#include "toolkit/dtools.h"
#include "toolkit/okgraph3.h"
#include "wave_experiment/wave_graph.h"
#include "wave_experiment/form_seams.h"
#include "wave_experiment/report_file.h"
#include "wave_experiment/wave_model.h"

namespace Unit1 {

std::int32_t GraphXMin = 0, GraphXMax = 0, GraphYMin = 0, GraphYMax = 0;
std::int32_t MarkerSize = 0;
double ForceMin = 0, ForceMax = 0, DensityMin = 0, DensityMax = 0, FreqMin = 0, FreqMax = 0;
double Force = 0, Density = 0, Frequency = 0;
double WaveSpeed = 0, WaveLength = 0;
bool StopAnimation = false;
std::int32_t TimeStep = 0;
std::int32_t RulerUnits = 0;
double RulerSpeed = 0, RulerLength = 0, RulerFrequency = 0;
std::string SavedEText, SavedDText, SavedVText;
std::int32_t CreditClicks = 0;
bool SetupDone = false;

std::wstring DataFileArgument;
unsigned FrameIntervalMs = 50;

TForm1* Form1 = nullptr;

namespace {

constexpr char kSaveQuestion[] = "Να αποθηκευτούν οι αλλαγές;";
constexpr char kWrongValueCaption[] = "Λάθος τιμή";

using results::InOutError;

// The save's message tells the replace's own refusals by these codes.
static_assert(results::kFolderInPlaceOfFile == forms::kFolderInPlaceOfFile);
static_assert(results::kFileReadOnly == forms::kFileReadOnly);

forms::FontSpec FontOf(const forms::FontSpec& base, const ControlRow& row) {
  forms::FontSpec f = base;
  if (row.fontHeight != 0) {
    f.height = row.fontHeight;
    f.style = row.fontStyle;
  }
  f.color = row.fontColor;
  return f;
}

void ApplyCommon(forms::Control& c, const ControlRow& row) {
  c.SetBounds(row.left, row.top, row.width, row.height);
  if (row.fontHeight != 0 || row.fontColor != forms::clWindowText) {
    c.SetFont(FontOf(c.Font(), row));
  }
  if (row.color != forms::clNone) c.SetColor(row.color);
  if (row.options & kHandCursor) c.SetCursor(forms::CursorHandle(forms::crHandPoint));
  if (row.options & kStartsDisabled) c.SetEnabled(false);
  if (row.options & kHidden) c.Hide();
}

template <class T>
void ApplyKind(T& c, const ControlRow& row) {
  if constexpr (std::is_same_v<T, forms::StaticText>) {
    c.SetCaption(row.caption);
    if (row.options & kCentred) c.SetAlignment(forms::Alignment::Center);
    if (row.options & kSunken) c.SetBorderStyle(forms::StaticBorder::Sunken);
  } else if constexpr (std::is_same_v<T, forms::Label>) {
    c.SetCaption(row.caption);
    if (row.options & kCentred) c.SetAlignment(forms::Alignment::Center);
  } else if constexpr (std::is_same_v<T, forms::TrackBar>) {
    if (row.options & kTrackBarDesign) {
      c.SetThumbLength(20);
      c.SetTickMarks(forms::TickMarks::BottomRight);
    }
    c.SetMax(row.trackMax);
  } else if constexpr (std::is_same_v<T, forms::CheckBox> || std::is_same_v<T, forms::RadioButton>) {
    c.SetCaption(row.caption);
    if (row.options & kChecked) c.SetChecked(true);
  } else if constexpr (std::is_same_v<T, forms::Button> || std::is_same_v<T, forms::BitBtn>) {
    c.SetCaption(row.caption);
    if (row.options & kCancel) c.SetCancel(true);
    if constexpr (std::is_same_v<T, forms::BitBtn>) {
      if (row.options & kGlyphs) c.SetGlyph(forms::MakeMarkGlyph('v', RGB(0, 0, 128)), 2);
    }
  } else if constexpr (std::is_same_v<T, forms::Panel>) {
    c.SetCaption(row.caption);
    if (row.options & kNoBevel) c.SetBevelOuter(forms::BevelCut::None);
    if (row.options & kRaisedInner) c.SetBevelInner(forms::BevelCut::Raised);
  } else if constexpr (std::is_same_v<T, forms::Bevel>) {
    c.SetShape(forms::BevelShape::Box);
  }
}

bool FileExists(const std::wstring& name) {
  if (name.empty()) return false;
  DWORD attr = GetFileAttributesW(name.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

// ---- The control table ----

namespace {

constexpr int kBold = forms::fsBold;

// clang-format off
const ControlRow kSharedControls[] = {
    {.control = &TForm1::work_button, .left = 640, .top = 392, .width = 129, .height = 89,
     .caption = "Έ&ναρξη", .fontHeight = 19, .fontStyle = kBold, .options = kStartsDisabled},
    {.control = &TForm1::calc_Button, .left = 24, .top = 528, .width = 137, .height = 33,
     .caption = "&Αριθμομηχανή", .options = kStartsDisabled},
    {.control = &TForm1::results_Button, .left = 200, .top = 528, .width = 185, .height = 33,
     .caption = "&Πίνακας Μετρήσεων", .fontHeight = 13, .fontStyle = kBold,
     .options = kStartsDisabled},
    {.control = &TForm1::save_BitBtn, .left = 424, .top = 528, .width = 161, .height = 33,
     .caption = "Α&ποθήκευση", .fontHeight = 13, .fontStyle = kBold,
     .options = kStartsDisabled | kGlyphs},
    {.control = &TForm1::exit_button, .left = 648, .top = 528, .width = 113, .height = 33,
     .caption = "Έξ&οδος", .options = kCancel},
    {.control = &TForm1::charakas_Button, .left = 24, .top = 44, .width = 81, .height = 33,
     .caption = "&Χάρακας", .options = kStartsDisabled},
    {.control = &TForm1::distance_StaticText, .left = 128, .top = 16, .width = 161, .height = 20,
     .caption = "Μήκος κύματος (λ)", .options = kCentred},
    {.control = &TForm1::time_StaticText, .left = 384, .top = 16, .width = 105, .height = 20,
     .caption = "Συχνότητα (v)", .options = kCentred},
    {.control = &TForm1::Panel1, .left = 8, .top = 96, .width = 593, .height = 393},
    {.control = &TForm1::charakas_Panel, .parent = &TForm1::Panel1, .left = 128, .top = 64,
     .width = 97, .height = 25, .options = kHidden | kRaisedInner | kHandCursor,
     .color = forms::clBlue},
    {.control = &TForm1::Panel2, .left = 136, .top = 36, .width = 137, .height = 49},
    {.control = &TForm1::Bevel1, .parent = &TForm1::Panel2, .left = 8, .top = 7, .width = 121,
     .height = 35},
    {.control = &TForm1::distance_value_Label, .parent = &TForm1::Panel2, .left = 16, .top = 16,
     .width = 97, .height = 16, .options = kHidden | kCentred},
    {.control = &TForm1::Panel3, .left = 368, .top = 36, .width = 137, .height = 49},
    {.control = &TForm1::Bevel2, .parent = &TForm1::Panel3, .left = 8, .top = 7, .width = 121,
     .height = 35},
    {.control = &TForm1::time_value_Label, .parent = &TForm1::Panel3, .left = 16, .top = 16,
     .width = 105, .height = 16, .fontHeight = 13, .fontStyle = kBold, .fontColor = forms::clRed,
     .options = kHidden | kCentred},
};
// clang-format on

}  // namespace

std::vector<ControlRow> WithSharedControls(std::span<const ControlRow> first,
                                           std::span<const ControlRow> last) {
  std::vector<ControlRow> rows(first.begin(), first.end());
  rows.insert(rows.end(), std::begin(kSharedControls), std::end(kSharedControls));
  rows.insert(rows.end(), last.begin(), last.end());
  return rows;
}

// ---- The operations both programs do alike ----

void ExperimentProgram::ReadDataFile(TForm1& form) { form.ReadDataFileWithPolicy(); }
void ExperimentProgram::WriteDataFile(TForm1& form) { form.WriteDataFileWithPolicy(); }

void ExperimentProgram::RunAnimation(TForm1& form) {
  okgraph3::SetPenColor(0);
  StopAnimation = false;
  form.RunFrames([this, &form] { Frame(form); });
}

// ---- The window ----

TForm1::TForm1(ExperimentProgram& program) : program_(program) {
  Form1 = this;
  SetBorderStyle(forms::BorderStyle::Single);
  SetMaximizeBox(false);
  SetPosition(forms::FormPosition::ScreenCenter);
  SetCaption(program_.Caption());
  forms::FontSpec font;
  font.name = "MS Sans Serif";
  font.height = 13;
  font.style = forms::fsBold;
  SetFont(font);
  SetClientSize(792, 573);
  CreateControls();
  BindHandlers();
  FormCreate();
}

TForm1::~TForm1() {
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::CreateControls() {
  for (const ControlRow& row : program_.Controls()) {
    forms::Control* parent = this;
    if (row.parent) parent = (this->*row.parent).get();
    std::visit(
        [&](auto member) {
          using Ptr = std::remove_reference_t<decltype(this->*member)>;
          using T = typename Ptr::element_type;
          auto control = std::make_unique<T>(parent);
          ApplyKind(*control, row);
          ApplyCommon(*control, row);
          this->*member = std::move(control);
        },
        row.control);
  }
}

void TForm1::BindHandlers() {
  onActivate = [this] { FormActivate(); };
  onClose = [this](forms::CloseAction& action) { FormClose(action); };
  // A value edit acts on an Enter that went down in this window. The Enter that closes the
  // "Λάθος τιμή" message goes down in the message and comes up in the edit the message gives
  // the focus back to: that one would apply the edit a second time. The dialog manager takes
  // an Enter going down before the edit sees it, so the form looks at the keys first.
  keyPreview = true;
  onKeyDown = [this](unsigned& key, unsigned) {
    if (key == VK_RETURN) enterWentDown_ = true;
  };
  auto bindEdit = [this](forms::Edit* e, auto enter, auto exit, auto keyUp) {
    if (!e) return;
    e->onEnter = enter;
    e->onExit = exit;
    e->onKeyDown = [this](unsigned& key, unsigned) {
      if (key == VK_RETURN) enterWentDown_ = true;
    };
    e->onKeyUp = [this, keyUp](unsigned& key, unsigned) {
      if (key == VK_RETURN) {
        bool wentDownHere = enterWentDown_;
        enterWentDown_ = false;
        if (!wentDownHere) return;
      }
      keyUp(key);
    };
  };
  bindEdit(
      E_edit.get(), [this] { E_editEnter(); }, [this] { E_editExit(); },
      [this](unsigned key) { E_editKeyUp(key); });
  bindEdit(
      d_edit.get(), [this] { d_editEnter(); }, [this] { d_editExit(); },
      [this](unsigned key) { d_editKeyUp(key); });
  bindEdit(
      v_Edit.get(), [this] { v_EditEnter(); }, [this] { v_EditExit(); },
      [this](unsigned key) { v_EditKeyUp(key); });
  if (E_TrackBar) E_TrackBar->onChange = [this] { E_TrackBarChange(); };
  if (d_TrackBar) d_TrackBar->onChange = [this] { d_TrackBarChange(); };
  if (v_TrackBar) v_TrackBar->onChange = [this] { v_TrackBarChange(); };
  if (egkarsia_radiobutton) egkarsia_radiobutton->onClick = [this] { egkarsia_radiobuttonClick(); };
  if (diamhkh_RadioButton) diamhkh_RadioButton->onClick = [this] { diamhkh_RadioButtonClick(); };
  if (peirama_Button) peirama_Button->onClick = [this] { peirama_ButtonClick(); };
  if (work_button) work_button->onClick = [this] { work_buttonClick(); };
  if (calc_Button) calc_Button->onClick = [this] { calc_ButtonClick(); };
  if (results_Button) results_Button->onClick = [this] { results_ButtonClick(); };
  if (save_BitBtn) save_BitBtn->onClick = [this] { save_BitBtnClick(); };
  if (exit_button) exit_button->onClick = [this] { exit_buttonClick(); };
  if (charakas_Button) charakas_Button->onClick = [this] { charakas_ButtonClick(); };
  if (charakas_Panel) {
    charakas_Panel->onMouseDown = [this](forms::MouseButton b, unsigned s, int x, int y) {
      charakas_PanelMouseDown(b, s, x, y);
    };
    charakas_Panel->onMouseMove = [this](unsigned s, int x, int y) { charakas_PanelMouseMove(s, x, y); };
    charakas_Panel->onMouseUp = [this](forms::MouseButton b, unsigned s, int x, int y) {
      charakas_PanelMouseUp(b, s, x, y);
    };
    charakas_Panel->onCaptureLost = [this] { charakas_PanelCaptureLost(); };
  }
  if (Panel4) {
    Panel4->onMouseUp = [this](forms::MouseButton b, unsigned s, int x, int y) { Panel4MouseUp(b, s, x, y); };
  }
}

void TForm1::FormCreate() {
  GraphXMin = -10;
  GraphXMax = 100;
  GraphYMin = -50;
  GraphYMax = 50;
}

void TForm1::FormActivate() { InitExperiment(); }

bool TForm1::BeginSetup() {
  if (SetupDone || setupRunning_) return false;
  setupRunning_ = true;
  return true;
}

void TForm1::EndSetup() {
  SetupDone = true;
  setupRunning_ = false;
}

void TForm1::FinishSetup() {
  TimeStep = 0;
  okgraph3::CreateGraph(Panel1.get());
  SetupGraph();
  okgraph3::GraphMoveTo(0, 0);
  charakas::InitCharakas(okgraph3::GetPlotPanel(), charakas_Panel.get(), okgraph3::GetPenX(), 2);
  ReadDataFile();
  CreditClicks = 1;
  EndSetup();
}

void TForm1::FormClose(forms::CloseAction& action) {
  // Once the experiment is unlocked the questions form comes once more, for the answers.
  if (work_button->Enabled()) peirama_Button->Click();
  if (DataChanged()) {
    // Enter saves: a student who presses it to get on loses nothing.
    int answer = GreekConfirm::VeruGreekConfirm(program_.Caption(), kSaveQuestion, 2, forms::mrYes);
    if (answer == forms::mrYes) {
      try {
        save_BitBtnClick();
      } catch (...) {
        // The work is not on disk: the window stays so that nothing typed is lost.
        forms::Application::Get().HandleException();
        action = forms::CloseAction::None;
        return;
      }
      // A data file that could not be written has been told; the work stays on the screen.
      if (DataChanged()) {
        action = forms::CloseAction::None;
        return;
      }
    } else if (answer != forms::mrNo) {
      // Esc or the close box answers neither: the student goes on with everything as it was.
      action = forms::CloseAction::None;
      return;
    }
  }
  if (HWND calc = FindCalculator()) PostMessageW(calc, WM_CLOSE, 0, 0);
}

// ---- Animation ----

void TForm1::work_buttonClick() {
  if (work_button->Caption() == kPauseCaption) {
    StopAnimation = true;
    exit_button->SetEnabled(true);
    work_button->SetCaption(kStartCaption);
    return;
  }
  exit_button->SetEnabled(false);
  work_button->SetCaption(kPauseCaption);
  charakas_Button->SetEnabled(true);
  calc_Button->SetEnabled(true);
  StopAnimation = false;
  // A start clicked inside a frame of the running loop (a pause the loop has not yet seen):
  // that loop goes on. A second loop inside it would keep the first from ever ending.
  if (Animating()) return;
  try {
    RunAnimation();
  } catch (...) {
    StopAnimation = true;
    work_button->SetCaption(kStartCaption);
    exit_button->SetEnabled(true);
    throw;
  }
}

void TForm1::RunFrames(const std::function<void()>& frame) {
  using Clock = std::chrono::steady_clock;
  auto& app = forms::Application::Get();
  ++animating_;
  struct Leave {
    int& n;
    ~Leave() { --n; }
  } leave{animating_};
  const auto interval = std::chrono::milliseconds(FrameIntervalMs);
  auto next = Clock::now();
  while (!StopAnimation && !app.Terminated()) {
    frame();
    next += interval;
    auto now = Clock::now();
    // Far behind (a dialog held the frame): start afresh rather than race to catch up.
    if (now > next + interval) next = now;
    while (!StopAnimation && !app.Terminated()) {
      now = Clock::now();
      if (now >= next) break;
      auto left = std::chrono::ceil<std::chrono::milliseconds>(next - now).count();
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
      app.ProcessMessages();
    }
  }
}

// ---- Ruler ----

void TForm1::charakas_PanelMouseDown(forms::MouseButton button, unsigned shift, int x, int y) {
  charakas::CharakasMouseDown(charakas_Panel.get(), button, shift, x, y);
}

void TForm1::charakas_PanelMouseMove(unsigned shift, int x, int y) {
  if (!charakas::RulerPanel) return;
  charakas::CharakasMouseMove(charakas_Panel.get(), shift, x, y);
  MeasureRuler();
}

void TForm1::charakas_PanelMouseUp(forms::MouseButton button, unsigned shift, int x, int y) {
  if (!charakas::RulerPanel) return;
  charakas::CharakasMouseUp(charakas_Panel.get(), button, shift, x, y);
  MeasureRuler();
}

void TForm1::charakas_PanelCaptureLost() { charakas::CharakasCaptureLost(charakas_Panel.get()); }

void TForm1::charakas_ButtonClick() {
  charakas_Panel->SetVisible(!charakas_Panel->Visible());
  if (time_value_Label->Caption().empty()) MeasureRuler();
  distance_value_Label->SetVisible(charakas_Panel->Visible());
  time_value_Label->SetVisible(charakas_Panel->Visible());
}

void TForm1::ShowRulerReading(const std::string& length, const std::string& frequency, bool red) {
  if (distance_value_Label->Caption() != length) distance_value_Label->SetCaption(length);
  if (time_value_Label->Caption() != frequency) time_value_Label->SetCaption(frequency);
  forms::Color colour = red ? forms::clRed : forms::clBlue;
  if (charakas_Panel->GetColor() != colour) {
    charakas_Panel->SetColor(colour);
    charakas_Panel->Repaint();
  }
}

double PixelsToUnits(std::int32_t Width) {
  return wave_model::PixelsToUnits(Width, GraphXMin, GraphXMax, [](double x) {
    okgraph3::GraphMoveTo(x, 0);
    return okgraph3::GetPenX();
  });
}

// ---- Value edits and track bars ----

void TForm1::UpdateValueEdit(forms::Edit& edit, forms::TrackBar& bar, std::string& savedText,
                             double& quantity, double rangeMin, double rangeMax) {
  double value = dtools::TextToReal(edit.Text());
  if (value == dtools::InvalidReal) {
    GreekConfirm::VeruGreekConfirm(kWrongValueCaption,
                                   "Η τιμή δεν μπορεί να υπολογισθεί. Δώστε έναν αριθμό από " +
                                       dtools::RealToText(rangeMin / 100, 2) + " έως " +
                                       dtools::RealToText(rangeMax / 100, 2) + ".",
                                   0);
    RestoreValueEdit(edit, savedText);
    return;
  }
  if (value < bar.Min() / 100.0) {
    value = bar.Min() / 100.0;
    edit.SetText(dtools::RealToText(value, 2));
  }
  if (value > bar.Max() / 100.0) {
    value = bar.Max() / 100.0;
    edit.SetText(dtools::RealToText(value, 2));
  }
  // The position first: a value that cannot be one changes nothing.
  std::int32_t position = forms::Round(value * 100);
  quantity = value;
  bar.SetPosition(position);
  // A bad entry after this one brings back this value, which the track bar now shows, not
  // the text the edit had when it got the focus.
  savedText = edit.Text();
}

void TForm1::RestoreValueEdit(forms::Edit& edit, const std::string& text) {
  edit.SetText(text);
  edit.SetFocus();
  // Setting the text leaves the caret at its start, where the next key would go in front of
  // the value; selected, as a tab into the edit leaves it, the key replaces it.
  edit.SelectAll();
}

void TForm1::E_editEnter() { SavedEText = E_edit->Text(); }
void TForm1::E_editExit() { update_e_edit(); }
void TForm1::E_editKeyUp(unsigned key) {
  if (key == 13) update_e_edit();
}
void TForm1::d_editEnter() { SavedDText = d_edit->Text(); }
void TForm1::d_editExit() { update_d_edit(); }
void TForm1::d_editKeyUp(unsigned key) {
  if (key == 13) update_d_edit();
}
void TForm1::v_EditEnter() { SavedVText = v_Edit->Text(); }
void TForm1::v_EditExit() { update_v_edit(); }
void TForm1::v_EditKeyUp(unsigned key) {
  if (key == 13) update_v_edit();
}

void TForm1::update_d_edit() {
  UpdateValueEdit(*d_edit, *d_TrackBar, SavedDText, Density, DensityMin, DensityMax);
}

void TForm1::update_v_edit() {
  UpdateValueEdit(*v_Edit, *v_TrackBar, SavedVText, Frequency, FreqMin, FreqMax);
}

void TForm1::d_TrackBarChange() { d_edit->SetText(dtools::RealToText(d_TrackBar->Position() / 100.0, 2)); }

void TForm1::v_TrackBarChange() { v_Edit->SetText(dtools::RealToText(v_TrackBar->Position() / 100.0, 2)); }

// ---- Wave kind ----

void TForm1::egkarsia_radiobuttonClick() {
  okgraph3::SetYTitleFont("ms sans serif", 8, 0, forms::fsBold);
  okgraph3::DrawYTitle();
  showline_CheckBox->SetEnabled(true);
  E_track_StaticText->SetCaption("Δύναμη (F)");
  d_track_StaticText->SetCaption("Γραμμική πυκνότητα (μ)");
}

void TForm1::diamhkh_RadioButtonClick() {
  okgraph3::SetYTitleFont("ms sans serif", 8, okgraph3::GetBackColor(), forms::fsBold);
  okgraph3::DrawYTitle();
  showline_CheckBox->SetEnabled(false);
  E_track_StaticText->SetCaption("Μέτρο ελαστικότητας (E)");
  d_track_StaticText->SetCaption("Πυκνότητα μέσου (d)");
}

// ---- Buttons ----

void TForm1::peirama_ButtonClick() {
  peirama::ShowPeiramaForm();
  enable_buttons();
  work_button->SetFocus();
}

HWND FindCalculator() { return FindWindowA("SciCalc", "Calculator"); }

void TForm1::calc_ButtonClick() {
  HWND calc = FindCalculator();
  if (!calc) {
    WinExec("calc.exe", SW_SHOW);
    return;
  }
  // A calculator hidden in the tray comes back on its first private message.
  if (!IsWindowVisible(calc)) PostMessageW(calc, WM_USER, 0, 0);
  ShowWindow(calc, SW_RESTORE);
  SetForegroundWindow(calc);
}

void TForm1::exit_buttonClick() { Close(); }

std::int32_t NextCreditClicks(std::int32_t clicks, unsigned shift, bool& show) {
  unsigned wanted = clicks % 2 == 0 ? forms::ssCtrl : forms::ssShift;
  clicks = shift == wanted ? forms::CheckedAdd(clicks, 1) : 1;
  show = clicks % 5 == 0;
  if (show) clicks = 1;
  return clicks;
}

void TForm1::Panel4MouseUp(forms::MouseButton, unsigned shift, int, int) {
  bool show = false;
  CreditClicks = NextCreditClicks(CreditClicks, shift, show);
  if (show) forms::MessageDlg(program_.InformationText(), forms::MsgDlgType::Information, forms::mbOK);
}

void TForm1::results_ButtonClick() { results::results_ButtonClick(*this); }
void TForm1::save_BitBtnClick() { results::save_BitBtnClick(*this); }

// ---- The data file ----

void TForm1::ReadDataFileWithPolicy() {
  const DataFilePolicy& policy = program_.FilePolicy();
  auto& app = forms::Application::Get();
  if (!FileExists(DataFileArgument)) {
    GreekConfirm::VeruGreekConfirm(kReadErrorCaption, policy.missingFileText, 0);
    app.Terminate();
    return;
  }
  // Others may read the file meanwhile, but not change it under the parse.
  const std::optional<std::string> bytes = forms::ReadWholeFile(DataFileArgument, {.share = FILE_SHARE_READ});
  // A file that exists but cannot be read is reported as bad content, once.
  ReadOutcome outcome = bytes ? ParseDataFile(*bytes, policy, Questions, Measurements, GridRows, GridCols)
                              : ReadOutcome::BadContent;
  if (outcome != ReadOutcome::Ok) {
    GreekConfirm::VeruGreekConfirm(kReadErrorCaption, kBadContentText, 0);
    app.Terminate();
    return;
  }
  savedBytes_ = FormatDataFile(policy, Questions, Measurements, GridRows, GridCols);
  savedBytesKnown_ = true;
}

void TForm1::WriteDataFileWithPolicy() {
  std::string bytes = FormatDataFile(program_.FilePolicy(), Questions, Measurements, GridRows, GridCols);
  // Written beside the student's file and only then moved in its place, so a save that fails
  // half-way leaves the file as it was.
  if (const forms::WriteOutcome replaced = forms::ReplaceWholeFile(DataFileArgument, bytes); !replaced.ok) {
    throw InOutError(replaced.error);
  }
  savedBytes_ = std::move(bytes);
  savedBytesKnown_ = true;
}

bool TForm1::DataChanged() const {
  if (!savedBytesKnown_) return false;
  try {
    return FormatDataFile(program_.FilePolicy(), Questions, Measurements, GridRows, GridCols) != savedBytes_;
  } catch (...) {
    // What cannot be written cannot be saved either: nothing to ask.
    return false;
  }
}

// ---- The graph ----

void ConfigureGraph() {
  ConfigureWaveGraph(GraphXMin, GraphXMax, GraphYMin, GraphYMax);
  MarkerSize = 4;
}

void SetupGraph() {
  ConfigureGraph();
  okgraph3::FitGraph();
  okgraph3::DrawGraph();
}

}  // namespace Unit1
