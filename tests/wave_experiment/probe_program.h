// Either experiment's program with a look into every frame: the deepest nesting of the
// animation loop, a hook run at each frame's ruler measurement (before the frame pumps its
// messages), and the number of times the first edit's updater ran. The two programs share
// the main window and differ in their Program, so the look is made once over both.
#pragma once
#include <algorithm>
#include <functional>

#include "wave_experiment/Unit1.h"

namespace kelmora_test {

template <class Program>
class ProbeProgram : public Program {
 public:
  void MeasureRuler(Unit1::TForm1& form) override {
    if (form.Animating()) {
      maxDepth = std::max(maxDepth, form.AnimationDepth());
      ++frames;
      if (onFrame) onFrame(frames);
    }
    Program::MeasureRuler(form);
  }
  void update_e_edit(Unit1::TForm1& form) override {
    ++eUpdates;
    Program::update_e_edit(form);
  }
  int eUpdates = 0;
  int maxDepth = 0;
  int frames = 0;
  std::function<void(int)> onFrame;
};

}  // namespace kelmora_test
