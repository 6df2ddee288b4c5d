// The wave program's physics and the ruler's readout arithmetic: pure, so the model tables
// run natively. Every value that goes on to a rounding is checked: NaN or an infinity raises
// forms::RangeError instead.
#pragma once
#include <cstdint>
#include <functional>

namespace wave_model {

inline constexpr double kTwoPi = 6.283185307179586477;
// Replaces a zero whole-unit wavelength so that the red test fails.
inline constexpr double kZeroWaveLength = 4.656612875245797e-10;

// u = sqrt(F / mu) (the same with E and d for the longitudinal kind).
double WaveSpeed(double force, double density);
// lambda = u / v.
double WaveLength(double speed, double frequency);

// Transverse displacement y(x) in frame `timeStep`: 30 sin(2 pi (n v / 20 - x / lambda)).
double TransverseDisplacement(std::int32_t timeStep, double frequency, double waveLength, double x);
// Longitudinal displacement s(x) along the axis: 5 sin(2 pi (n v / 10 - x / lambda)).
double LongitudinalDisplacement(std::int32_t timeStep, double frequency, double waveLength, double x);

// The first whole x from graphXMin to graphXMax whose pixel reaches width - pixel(graphXMin);
// dtools::InvalidReal when none does. pixelOfX is the graph's data-to-pixel mapping.
double PixelsToUnits(std::int32_t width, std::int32_t graphXMin, std::int32_t graphXMax,
                     const std::function<std::int32_t(double)>& pixelOfX);

struct RulerReading {
  std::int32_t RulerUnits = 0;  // length in whole graph units
  double RulerSpeed = 0;
  double RulerLength = 0;
  double RulerFrequency = 0;  // speed / length, 2 decimals
  bool red = false;           // the length equals the wavelength in whole units
};

// The readout of a ruler whose far end is at graph x `units` (PixelsToUnits), for the wave
// speed `speed` and the frequency set.
RulerReading ReadRuler(double units, std::int32_t graphXMin, double speed, double frequency);

}  // namespace wave_model
