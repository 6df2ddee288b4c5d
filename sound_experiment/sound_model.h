// The sound program's physics and the ruler's decision: pure, so the model tables run
// natively. The displacement of the air particles and the ruler's arithmetic are the wave
// program's longitudinal ones (wave_model); what is the sound's own is the speed.
#pragma once
#include <cstdint>

#include "wave_experiment/wave_model.h"

namespace sound_model {

// Speed of sound in air at `temperature` degrees Celsius: 331 sqrt(T / 273 + 1) m/s.
double SoundSpeed(double temperature);

// At exactly 10 Hz the phase n v / 10 is whole in every frame and the particles would stand
// still; the animation's phase uses this frequency instead.
double AnimatedFrequency(double frequency);

// The ruler's readout at graph x `units` for the temperature and the frequency set.
wave_model::RulerReading ReadRuler(double units, std::int32_t graphXMin, double temperature,
                                   double frequency);

}  // namespace sound_model
