// A seam of the code under test replaced for as long as a test needs it. Every seam here is
// swapped through a function that takes the new one and hands back the one it displaces; the
// guard keeps that one and puts it back when it goes, so an assertion that leaves a test
// early cannot leave the recorder of a finished test in place for the next.
//
//   testing_support::ScopedSeam<rxsystem::DrivePlatformSeam> drives{rxsystem::ReplaceDriveSeam, kScripted};
#pragma once

namespace testing_support {

template <class Seam>
class ScopedSeam {
 public:
  using Replace = Seam (*)(Seam);

  ScopedSeam(Replace replace, Seam seam) : replace_(replace), previous_(replace(seam)) {}
  ~ScopedSeam() { replace_(previous_); }
  ScopedSeam(const ScopedSeam&) = delete;
  ScopedSeam& operator=(const ScopedSeam&) = delete;

 private:
  Replace replace_;
  Seam previous_;
};

}  // namespace testing_support
