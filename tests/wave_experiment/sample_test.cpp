// The sample data files bundled with the two programs, as a newcomer first meets them: each
// program takes its sample, and every text of the sample fits the box it is shown in, with
// the fonts of the platform the program runs on.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "child_process.h"
#include "forms/application.h"
#include "forms/core/message_service.h"
#include "forms/core/text.h"
#include "gui_driver.h"
#include "message_recorder.h"
#include "program_run.h"
#include "test_files.h"
#include "text_fit.h"
#include "wave_experiment/Unit1.h"
#include "wave_experiment/peirama.h"

using namespace kelmora_test;

namespace {

struct Box {
  std::string name;
  std::string text;
  int needed, height;
};

// The questions form as the sample fills it: each question in its box, each answer's lines in
// its memo.
std::vector<Box> QuestionsFormBoxes(const peirama::Tpeirama_form& f) {
  std::vector<Box> boxes;
  for (const forms::StaticText* t : {&f.StaticText1, &f.StaticText2}) {
    std::string text = t->Text();
    boxes.push_back({t == &f.StaticText1 ? "question 1" : "question 2", text,
                     WrappedTextHeight(t->Font(), ClientWidth(*t), text, DT_EXPANDTABS), ClientHeight(*t)});
  }
  for (const forms::Memo* m : {&f.Memo1, &f.Memo2}) {
    std::string text = m->Text();
    // The memo's own margins take a little of its width.
    boxes.push_back({m == &f.Memo1 ? "answer 1" : "answer 2", text,
                     WrappedTextHeight(m->Font(), ClientWidth(*m) - 4, text), ClientHeight(*m)});
  }
  return boxes;
}

TEST(Samples, EveryTextFitsItsBox) {
  struct Case {
    const char* name;
    const char* file;
    bool sound;
  };
  const Case cases[] = {
      {"Kelmora2", KELMORA2_SAMPLE, false},
      {"Kelmora4", KELMORA4_SAMPLE, true},
  };
  forms::Application::Get().Initialize();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder folder;
    std::wstring data = folder.File(L"data.txt");
    ASSERT_TRUE(WriteFileBytes(data, ReadFileBytes(testing_support::PathOnDriveZ(c.file))));
    testing_support::MessageRecorder messages;
    ProgramRun run;
    run.Start(c.sound, data);
    if (HasFatalFailure()) return;
    ASSERT_EQ(messages.Count(), 0u) << messages.TextUtf8(0);
    ASSERT_FALSE(forms::Application::Get().Terminated());
    std::vector<Box> boxes;
    std::atomic<bool> done{false};
    testing_support::Driver d([&] {
      if (HWND w = testing_support::WaitForTopWindow(L"Πείραμα 2")) {
        boxes = QuestionsFormBoxes(*peirama::peirama_form);
        PostMessageW(w, WM_CLOSE, 0, 0);
      }
      done = true;
    });
    SendMessageW(run.form->peirama_Button->Handle(), BM_CLICK, 0, 0);
    testing_support::PumpUntil([&] { return done.load(); });
    d.Join();
    ASSERT_EQ(boxes.size(), 4u);
    for (const Box& b : boxes) {
      EXPECT_LE(b.needed, b.height) << b.name << " is cut off: \"" << forms::ToUtf8(b.text) << "\"";
    }
    EXPECT_FALSE(boxes[0].text.empty());
    EXPECT_FALSE(boxes[1].text.empty());
  }
}

}  // namespace
