// The sound program's physics and the ruler's decision: pure, so the model tables run
// natively. The ruler's arithmetic is the wave program's (wave_model); what is the sound's
// own is the speed and the time base of the animation.
#pragma once
#include <cstdint>

#include "wave_experiment/wave_model.h"

namespace sound_model {

// Seconds of the sound's vibration that one animation frame shows. The frames come 20 a
// second; a frame a tenth of a second long would turn a 10 Hz particle by one whole cycle
// and the eye would see only the remainder: standing still at 10 Hz and running backwards
// below it. Five milliseconds a frame plays the vibration ten times slower than life: at
// 9.50 to 10.50 Hz each particle swings forth and back about once a second, a little faster
// at the higher frequency, and always forwards (a twentieth of a cycle a frame is far from
// the half cycle where the motion would seem to reverse).
inline constexpr double kFrameSeconds = 0.005;

// Speed of sound in air at `temperature` degrees Celsius: 331 sqrt(T / 273 + 1) m/s.
double SoundSpeed(double temperature);

// The animation's phase uses 10.001 Hz for exactly 10 Hz: a guard from when a frame showed
// a tenth of a second and 10 Hz stood still; with the slow time base it changes nothing
// that the eye sees.
double AnimatedFrequency(double frequency);

// The phase of the vibration in frame `timeStep`, in cycles: n v kFrameSeconds.
double FramePhase(std::int32_t timeStep, double frequency);

// The displacement along the axis of the particle at rest at graph x `x` in frame
// `timeStep`: 5 sin(2 pi (phase - x / lambda)).
double ParticleDisplacement(std::int32_t timeStep, double frequency, double waveLength, double x);

// The ruler's readout at graph x `units` for the temperature and the frequency set.
wave_model::RulerReading ReadRuler(double units, std::int32_t graphXMin, double temperature,
                                   double frequency);

}  // namespace sound_model
