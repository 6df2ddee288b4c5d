#include "sound_experiment/sound_model.h"

#include <cmath>

#include "forms/core/checked_arithmetic.h"

namespace sound_model {
namespace {

double Finite(double v) {
  if (!std::isfinite(v)) throw forms::RangeError();
  return v;
}

}  // namespace

double SoundSpeed(double temperature) { return Finite(331.0 * std::sqrt(temperature / 273.0 + 1.0)); }

double AnimatedFrequency(double frequency) { return frequency == 10.0 ? 10.001 : frequency; }

double FramePhase(std::int32_t timeStep, double frequency) {
  return Finite(timeStep * frequency * kFrameSeconds);
}

double ParticleDisplacement(std::int32_t timeStep, double frequency, double waveLength, double x) {
  return Finite(5.0 * std::sin(wave_model::kTwoPi * (FramePhase(timeStep, frequency) - x / waveLength)));
}

wave_model::RulerReading ReadRuler(double units, std::int32_t graphXMin, double temperature,
                                   double frequency) {
  return wave_model::ReadRuler(units, graphXMin, SoundSpeed(temperature), frequency);
}

}  // namespace sound_model
