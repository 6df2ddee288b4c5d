#include "wave_experiment/wave_model.h"

#include <cmath>

#include "forms/core/checked_arithmetic.h"
#include "toolkit/dtools.h"

namespace wave_model {
namespace {

double Finite(double v) {
  if (!std::isfinite(v)) throw forms::RangeError();
  return v;
}

}  // namespace

double WaveSpeed(double force, double density) { return Finite(std::sqrt(force / density)); }

double WaveLength(double speed, double frequency) { return Finite(speed / frequency); }

double TransverseDisplacement(std::int32_t timeStep, double frequency, double waveLength, double x) {
  return Finite(30.0 * std::sin(kTwoPi * (timeStep * frequency / 20.0 - x / waveLength)));
}

double LongitudinalDisplacement(std::int32_t timeStep, double frequency, double waveLength, double x) {
  return Finite(5.0 * std::sin(kTwoPi * (timeStep * frequency / 10.0 - x / waveLength)));
}

double PixelsToUnits(std::int32_t width, std::int32_t graphXMin, std::int32_t graphXMax,
                     const std::function<std::int32_t(double)>& pixelOfX) {
  std::int32_t target = forms::CheckedSub(width, pixelOfX(graphXMin));
  std::int32_t last = forms::CheckedSub(graphXMax, 1);
  for (std::int32_t x = graphXMin - 1; x <= last;) {
    ++x;
    if (pixelOfX(x) >= target) return x;
  }
  return dtools::InvalidReal;
}

RulerReading ReadRuler(double units, std::int32_t graphXMin, double speed, double frequency) {
  RulerReading r;
  r.RulerUnits = forms::Round(units - graphXMin - 1);
  r.RulerSpeed = Finite(speed);
  r.RulerLength = r.RulerUnits;
  // A ruler shorter than one unit divides by zero here: the range error, not a wrong number.
  r.RulerFrequency = forms::Round(r.RulerSpeed / r.RulerLength * 100) / 100.0;
  double n = forms::Round(r.RulerSpeed / frequency);
  if (n == 0) n = kZeroWaveLength;
  r.red = std::fabs(r.RulerUnits / n - 1) < 0.001;
  return r;
}

}  // namespace wave_model
