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

TEST(SoundModel, TenHertzStillMovesTheParticles) {
  EXPECT_EQ(sound_model::AnimatedFrequency(10.0), 10.001);
  EXPECT_EQ(sound_model::AnimatedFrequency(9.99), 9.99);
  double lambda = wave_model::WaveLength(sound_model::SoundSpeed(100), 10.0);
  double f = sound_model::AnimatedFrequency(10.0);
  // A ten-thousandth of a cycle a frame: slow, but the particles go on moving.
  double s1 = wave_model::LongitudinalDisplacement(1, f, lambda, 10);
  double s2 = wave_model::LongitudinalDisplacement(2, f, lambda, 10);
  double s1001 = wave_model::LongitudinalDisplacement(1001, f, lambda, 10);
  EXPECT_GT(std::abs(s1 - s2), 1e-5);
  EXPECT_GT(std::abs(s1 - s1001), 0.5);
  // At 10 Hz itself the particle would stand still.
  EXPECT_NEAR(wave_model::LongitudinalDisplacement(1, 10.0, lambda, 10),
              wave_model::LongitudinalDisplacement(2, 10.0, lambda, 10), 1e-9);
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
  t.Cell(1, 5, 1) = "never";                      // no fifth column in the report
  t.Cell(2, 1, 1) = "kind 2";                     // nor a second table
  const std::string sp15(15, ' '), sp20(20, ' ');
  std::string expected = Lines({
      "----------", "Ερώτηση 1", "Ερώτηση για την πυκνότητα;", "Απάντηση 1", "Καμία.", "",
      "----------", "Ερώτηση 2", "Ερώτηση για τη θερμοκρασία;", "Απάντηση 2", "",
      "----------", "Πίνακας Μετρήσεων  - Διαμήκη κύματα ", "",
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
