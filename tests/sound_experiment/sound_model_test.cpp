// The sound model: speed of sound from the temperature, the wavelength and the ruler's red
// length over the range of the controls; and the floppy report's bytes.
#include "sound_experiment/sound_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <string>

#include "sound_experiment/sound_report.h"
#include "toolkit/dtools.h"

namespace {

TEST(SoundModel, SpeedWavelengthAndRulerTable) {
  struct Case {
    double temperature, frequency;
    double speed, waveLength;
    int redUnits;  // the only ruler length (1..200 units) that turns it red
  };
  const Case cases[] = {
      {100, 10.0, 386.902, 38.6902, 39},  // the start values
      {1, 9.5, 331.606, 34.9059, 35},
      {1000, 9.5, 714.761, 75.2380, 75},
      {1, 10.5, 331.606, 31.5815, 32},
      {1000, 10.5, 714.761, 68.0725, 68},
      // 5
      {0 + 273, 10.0, 468.105, 46.8105, 47},
      {38, 10.001, 353.286, 35.3251, 35},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "row " << i);
    double u = sound_model::SoundSpeed(c.temperature);
    EXPECT_NEAR(u, c.speed, 1e-3);
    EXPECT_NEAR(wave_model::WaveLength(u, c.frequency), c.waveLength, 1e-3);
    for (int units = 1; units <= 200; ++units) {
      auto r = sound_model::ReadRuler(units - 10 + 1, -10, c.temperature, c.frequency);
      ASSERT_EQ(r.RulerUnits, units);
      EXPECT_DOUBLE_EQ(r.RulerSpeed, u);
      EXPECT_EQ(r.red, units == c.redUnits) << "at " << units << " units";
    }
  }
}

TEST(SoundModel, StartRulerReadsItsFrequency) {
  auto r = sound_model::ReadRuler(39 - 10 + 1, -10, 100, 10.0);
  EXPECT_TRUE(r.red);
  EXPECT_DOUBLE_EQ(r.RulerFrequency, 9.92);
  // The readout cuts the shortest text of the stored value, so 9.92 does not show as 9.91.
  EXPECT_EQ(dtools::RealToText(r.RulerFrequency, 2), "9.92");
}

// Frames come 20 a second. The phase steps forwards by the same amount every frame, more at
// a higher frequency, about one cycle a second on screen and far from the half cycle a
// frame at which the motion would seem to turn backwards.
TEST(SoundModel, ThePhaseStepsForwardsAboutOnceASecond) {
  const double framesPerSecond = 20;
  const double frequencies[] = {9.50, 9.75, 10.0, 10.25, 10.50};
  double previousStep = 0;
  for (double v : frequencies) {
    SCOPED_TRACE(testing::Message() << v << " Hz");
    double f = sound_model::AnimatedFrequency(v);
    double step = sound_model::FramePhase(1, f) - sound_model::FramePhase(0, f);
    for (std::int32_t n : {1, 2, 39, 40, 1000, 123456, 2147483646}) {
      double next = sound_model::FramePhase(n + 1, f) - sound_model::FramePhase(n, f);
      EXPECT_NEAR(next, step, 1e-6) << "frame " << n;
    }
    EXPECT_GT(step, previousStep) << "faster at the higher frequency";
    EXPECT_GE(step * framesPerSecond, 0.9);
    EXPECT_LE(step * framesPerSecond, 1.1);
    EXPECT_LT(step, 0.25);
    previousStep = step;
  }
  EXPECT_EQ(sound_model::AnimatedFrequency(10.0), 10.001);
  EXPECT_EQ(sound_model::AnimatedFrequency(9.99), 9.99);
}

// At the start values particle 0 swings out to nearly its full 5 units and back to its rest
// within one second of frames, and the wave runs towards larger x: the particle 10 units on
// follows particle 0 by a quarter of a wavelength's worth of phase.
TEST(SoundModel, AParticleSwingsOutAndBackWithinASecond) {
  double f = sound_model::AnimatedFrequency(10.0);
  double lambda = wave_model::WaveLength(sound_model::SoundSpeed(100), 10.0);
  double farthest = 0;
  int farthestAt = 0;
  for (int n = 0; n <= 20; ++n) {
    double s = sound_model::ParticleDisplacement(n, f, lambda, 0);
    if (std::abs(s) > farthest) farthest = std::abs(s), farthestAt = n;
  }
  EXPECT_GT(farthest, 4.9);
  EXPECT_NEAR(farthestAt, 5, 1) << "a quarter second out";
  EXPECT_NEAR(sound_model::ParticleDisplacement(10, f, lambda, 0), 0, 0.05);
  EXPECT_GT(sound_model::ParticleDisplacement(1, f, lambda, 0), 0) << "the first step goes forwards";
  // Particle 1 reaches what particle 0 showed some frames earlier.
  int lag = static_cast<int>(std::lround(10 / lambda / (f * sound_model::kFrameSeconds)));
  EXPECT_NEAR(sound_model::ParticleDisplacement(30 + lag, f, lambda, 10),
              sound_model::ParticleDisplacement(30, f, lambda, 0), 0.5);
}

std::string Lines(std::initializer_list<std::string> lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\r\n";
  return s;
}

TEST(SoundReport, GoldenBytes) {
  Unit1::ExperimentQuestions q;
  q.Question1 = "Ερώτηση για την πυκνότητα;";
  q.Question2 = "Ερώτηση για τη θερμοκρασία;";
  q.Answer1Lines = {"Καμία.", ""};
  Unit1::MeasurementTable t;
  t.Cell(1, 1, 1) = "100";
  t.Cell(1, 2, 1) = "38.7";
  t.Cell(1, 4, 5) = "123456789012345678901234";  // cut to 20
  t.Cell(1, 5, 1) = "never";                     // no fifth column in the report
  t.Cell(2, 1, 1) = "kind 2";                    // nor a second table
  const std::string sp15(15, ' '), sp20(20, ' ');
  std::string expected = Lines({
      "----------",
      "Ερώτηση 1",
      "Ερώτηση για την πυκνότητα;",
      "Απάντηση 1",
      "Καμία.",
      "",
      "----------",
      "Ερώτηση 2",
      "Ερώτηση για τη θερμοκρασία;",
      "Απάντηση 2",
      "",
      "----------",
      "Πίνακας Μετρήσεων  - Διαμήκη κύματα ",
      "",
      sp15 + "Θερμοκρασία         Μήκος κύματος       Περίοδος            Ταχύτητα            ",
      "1η μέτρηση     100                 38.7                " + sp20 + sp20,
      "2η μέτρηση     " + sp20 + sp20 + sp20 + sp20,
      "3η μέτρηση     " + sp20 + sp20 + sp20 + sp20,
      "4η μέτρηση     " + sp20 + sp20 + sp20 + sp20,
      "5η μέτρηση     " + sp20 + sp20 + sp20 + "12345678901234567890",
  });
  EXPECT_EQ(sound_report::BuildSoundReport(q, t, "Πίνακας Μετρήσεων  -", "κύματα"), expected);
}

}  // namespace
