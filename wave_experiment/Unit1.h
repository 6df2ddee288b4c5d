// The main window TForm1 of the experiment programs and the machinery both programs share:
// the controls from the program's control table, the one-time set-up, the animation loop
// with its pacing, the ruler handlers, the value edits and track bars, the calculator, the
// close path and the hidden information box. At each seam the window calls the running
// program's own operation (ExperimentProgram); everything else is common.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "forms/bevel.h"
#include "forms/button.h"
#include "forms/check_box.h"
#include "forms/edit.h"
#include "forms/form.h"
#include "forms/label.h"
#include "forms/panel.h"
#include "forms/radio_button.h"
#include "forms/static_text.h"
#include "forms/track_bar.h"
#include "wave_experiment/experiment_data.h"

namespace results {
class Tresults_form;
}

namespace Unit1 {

class TForm1;

// ---- Unit-level state shared by the main window's handlers (besides experiment_data.h) ----

extern std::int32_t GraphXMin, GraphXMax, GraphYMin, GraphYMax;
extern std::int32_t MarkerSize;
// Track-bar ranges in hundredths.
extern double ForceMin, ForceMax, DensityMin, DensityMax, FreqMin, FreqMax;
// Physical values of the three quantities.
extern double Force, Density, Frequency;
extern double WaveSpeed, WaveLength;
extern bool StopAnimation;
extern std::int32_t TimeStep;
extern std::int32_t RulerUnits;
extern double RulerSpeed, RulerLength, RulerFrequency;
extern std::string SavedEText, SavedDText, SavedVText;
extern std::int32_t CreditClicks;
extern bool SetupDone;

// The data file: the program's first command-line argument (the program block sets it).
extern std::wstring DataFileArgument;
// Time between animation frames in milliseconds: 50 (20 frames a second).
extern unsigned FrameIntervalMs;

extern TForm1* Form1;

// Texts of the main window's messages.
inline constexpr char kPauseCaption[] = "&Παύση";
inline constexpr char kStartCaption[] = "Έ&ναρξη";

// ---- The control table ----

template <class T>
using Member = std::unique_ptr<T> TForm1::*;
using ControlSlot =
    std::variant<Member<forms::StaticText>, Member<forms::TrackBar>, Member<forms::Edit>,
                 Member<forms::CheckBox>, Member<forms::RadioButton>, Member<forms::Button>,
                 Member<forms::BitBtn>, Member<forms::Panel>, Member<forms::Bevel>, Member<forms::Label>>;

enum ControlOption : unsigned {
  kStartsDisabled = 1u << 0,
  kHidden = 1u << 1,
  kChecked = 1u << 2,
  kSunken = 1u << 3,   // static text border
  kCentred = 1u << 4,  // static text and label alignment
  kCancel = 1u << 5,   // the form's cancel button (Esc)
  kRaisedInner = 1u << 6,
  kNoBevel = 1u << 7,
  kHandCursor = 1u << 8,
  kGlyphs = 1u << 9,           // a two-image glyph on a bitmap button
  kTrackBarDesign = 1u << 10,  // thumb 20, ticks below
};

// One control of the main window: where it is, what it shows, how it starts. Fonts: height
// 0 keeps the form's font. Track bars start with the range 0..trackMax.
struct ControlRow {
  ControlSlot control;
  Member<forms::Panel> parent = nullptr;  // null: the form
  int left = 0, top = 0, width = 0, height = 0;
  const char* caption = "";
  int fontHeight = 0;
  unsigned fontStyle = 0;
  forms::Color fontColor = forms::clWindowText;
  unsigned options = 0;
  forms::Color color = forms::clNone;
  std::int32_t trackMax = 10;
};

// A program's control table: its own rows `first`, the rows both programs' windows have as
// one design (the start, calculator, results, save, exit and ruler buttons, the graph's panel
// with the ruler, and the ruler's readouts), then its own rows `last`. The window creates its
// controls in the table's order, which is the order of tabbing and of painting.
std::vector<ControlRow> WithSharedControls(std::span<const ControlRow> first,
                                           std::span<const ControlRow> last);

// ---- The per-program operations ----

// Everything the shared window learns of the program that runs it. Where both programs do
// the same, the operation is defined here and a program may still have its own.
class ExperimentProgram {
 public:
  virtual ~ExperimentProgram() = default;

  // The window's design.
  virtual const char* Caption() const = 0;
  virtual std::span<const ControlRow> Controls() const = 0;
  // The hidden information box's text.
  virtual std::string InformationText() const = 0;
  // The data file's differences.
  virtual const DataFilePolicy& FilePolicy() const = 0;

  virtual void InitExperiment(TForm1& form) = 0;
  // The data file with the program's policy.
  virtual void ReadDataFile(TForm1& form);
  virtual void WriteDataFile(TForm1& form);
  // The animation from pen colour 0, one Frame after another until a pause.
  virtual void RunAnimation(TForm1& form);
  virtual void Frame(TForm1& form) = 0;
  virtual void MeasureRuler(TForm1& form) = 0;
  virtual void enable_buttons(TForm1& form) = 0;
  virtual void update_e_edit(TForm1& form) = 0;
  virtual void E_TrackBarChange(TForm1& form) = 0;
  // The results dialog's set-up for the measurements this window has chosen.
  virtual void FillGrid(TForm1& form, results::Tresults_form& dialog) = 0;
  virtual bool WriteResultsFile(TForm1& form) = 0;
};

// ---- The main window ----

class TForm1 : public forms::Form {
 public:
  explicit TForm1(ExperimentProgram& program);
  ~TForm1() override;

  ExperimentProgram& Program() const { return program_; }

  // Controls; a control the program's table lacks stays null.
  std::unique_ptr<forms::StaticText> E_track_StaticText;
  std::unique_ptr<forms::TrackBar> E_TrackBar;
  std::unique_ptr<forms::Edit> E_edit;
  std::unique_ptr<forms::StaticText> d_track_StaticText;
  std::unique_ptr<forms::TrackBar> d_TrackBar;
  std::unique_ptr<forms::Edit> d_edit;
  std::unique_ptr<forms::StaticText> v_track_statictext;
  std::unique_ptr<forms::TrackBar> v_TrackBar;
  std::unique_ptr<forms::Edit> v_Edit;
  std::unique_ptr<forms::CheckBox> showline_CheckBox;
  std::unique_ptr<forms::RadioButton> egkarsia_radiobutton;
  std::unique_ptr<forms::RadioButton> diamhkh_RadioButton;
  std::unique_ptr<forms::Button> peirama_Button;
  std::unique_ptr<forms::Button> work_button;
  std::unique_ptr<forms::Button> calc_Button;
  std::unique_ptr<forms::Button> results_Button;
  std::unique_ptr<forms::BitBtn> save_BitBtn;
  std::unique_ptr<forms::Button> exit_button;
  std::unique_ptr<forms::Button> charakas_Button;
  std::unique_ptr<forms::StaticText> distance_StaticText;
  std::unique_ptr<forms::StaticText> time_StaticText;
  std::unique_ptr<forms::Panel> Panel1;
  std::unique_ptr<forms::Panel> charakas_Panel;
  std::unique_ptr<forms::Panel> Panel2;
  std::unique_ptr<forms::Bevel> Bevel1;
  std::unique_ptr<forms::Label> distance_value_Label;
  std::unique_ptr<forms::Panel> Panel3;
  std::unique_ptr<forms::Bevel> Bevel2;
  std::unique_ptr<forms::Label> time_value_Label;
  std::unique_ptr<forms::Panel> Panel4;

  // Handlers.
  void FormCreate();
  void FormActivate();
  void FormClose(forms::CloseAction& action);
  void work_buttonClick();
  void charakas_PanelMouseDown(forms::MouseButton button, unsigned shift, int x, int y);
  void charakas_PanelMouseMove(unsigned shift, int x, int y);
  void charakas_PanelMouseUp(forms::MouseButton button, unsigned shift, int x, int y);
  void charakas_PanelCaptureLost();
  void charakas_ButtonClick();
  void E_editEnter();
  void E_editExit();
  void E_editKeyUp(unsigned key);
  void d_editEnter();
  void d_editExit();
  void d_editKeyUp(unsigned key);
  void v_EditEnter();
  void v_EditExit();
  void v_EditKeyUp(unsigned key);
  void d_TrackBarChange();
  void v_TrackBarChange();
  void update_d_edit();
  void update_v_edit();
  void egkarsia_radiobuttonClick();
  void diamhkh_RadioButtonClick();
  void peirama_ButtonClick();
  void calc_ButtonClick();
  void exit_buttonClick();
  void Panel4MouseUp(forms::MouseButton button, unsigned shift, int x, int y);
  void results_ButtonClick();
  void save_BitBtnClick();

  // The per-program operations, as the common code calls them.
  void InitExperiment() { program_.InitExperiment(*this); }
  void ReadDataFile() { program_.ReadDataFile(*this); }
  void WriteDataFile() { program_.WriteDataFile(*this); }
  void RunAnimation() { program_.RunAnimation(*this); }
  void MeasureRuler() { program_.MeasureRuler(*this); }
  void enable_buttons() { program_.enable_buttons(*this); }
  void update_e_edit() { program_.update_e_edit(*this); }
  void E_TrackBarChange() { program_.E_TrackBarChange(*this); }
  void FillGrid(results::Tresults_form& dialog) { program_.FillGrid(*this, dialog); }
  bool WriteResultsFile() { return program_.WriteResultsFile(*this); }

  // ---- Common pieces the programs' operations are made of ----

  // The one-time set-up guard: false when the set-up has run or is running (a message box of
  // the data-file reader re-activates the window before SetupDone is set).
  bool BeginSetup();
  void EndSetup();
  // The rest of the set-up once the program's own values are in place: time step 0, the
  // graph on Panel1, the ruler on its plot, the data file, the information box's count,
  // then EndSetup.
  void FinishSetup();
  // Runs `frame` until a pause or the end of the program, one frame every FrameIntervalMs,
  // handling messages in between as they come. A start while it runs continues this loop.
  void RunFrames(const std::function<void()>& frame);
  bool Animating() const { return animating_ > 0; }
  int AnimationDepth() const { return animating_; }
  // Reads the data file named by DataFileArgument with the program's policy; a missing or
  // malformed file shows its message and asks the application to terminate.
  void ReadDataFileWithPolicy();
  // Writes the data file through a temporary file beside it. A read-only file, a folder in
  // its place, a missing folder or a failed write leave the old file as it was and raise
  // results::InOutError, which the save tells the student.
  void WriteDataFileWithPolicy();
  // The questions, answers or table differ from what the data file holds.
  bool DataChanged() const;
  // The ruler's readouts and colour (red at one wavelength, else blue), shown at once. Every
  // frame measures the ruler: what did not change is not drawn again.
  void ShowRulerReading(const std::string& length, const std::string& frequency, bool red);
  // The edit updater of one value control (track-bar units in hundredths).
  // An accepted value's text becomes the saved text that a bad entry brings back.
  void UpdateValueEdit(forms::Edit& edit, forms::TrackBar& bar, std::string& savedText, double& quantity,
                       double rangeMin, double rangeMax);
  // What a bad entry leaves in its edit after the message: `text`, with the focus and the
  // whole text selected, so that the next key typed replaces it.
  void RestoreValueEdit(forms::Edit& edit, const std::string& text);

 private:
  void CreateControls();
  void BindHandlers();

  ExperimentProgram& program_;
  // The Enter key went down in this window and has not come up since: the value edits act
  // on its coming up.
  bool enterWentDown_ = false;
  bool setupRunning_ = false;
  int animating_ = 0;
  // The data file's bytes as last read or written, for the question at exit.
  std::string savedBytes_;
  bool savedBytesKnown_ = false;
};

// The ruler's length: the first whole x from GraphXMin to GraphXMax whose pixel reaches the
// width in pixels, or dtools::InvalidReal.
double PixelsToUnits(std::int32_t Width);
// ConfigureGraph, then FitGraph and DrawGraph.
void ConfigureGraph();
void SetupGraph();

// The hidden information box's click sequence: Shift, Ctrl, Shift, Ctrl (exactly those keys,
// any button). Returns the new count; `show` when the box is due.
std::int32_t NextCreditClicks(std::int32_t clicks, unsigned shift, bool& show);

// The calculator window, if one runs.
HWND FindCalculator();

}  // namespace Unit1
