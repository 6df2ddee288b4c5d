// The wave model and the ruler's readout for the start values and a few others.
#include "wave_experiment/wave_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>

#include "forms/core/checked_arithmetic.h"
#include "toolkit/dtools.h"

namespace {

TEST(WaveModel, SpeedWavelengthAndRulerTable) {
  struct Case {
    double force, density, frequency;  // physical units
    double speed, waveLength;
    int redUnits;         // the ruler length in whole units that turns it red; 0: none
    double redFrequency;  // RulerFrequency read there
  };
  const Case cases[] = {
      {3.5, 0.4, 0.25, 2.958040, 11.832160, 12, 0.25},  // the start values
      {10.0, 0.1, 2.0, 10.0, 5.0, 5, 2.0},
      {10.0, 0.1, 0.03, 10.0, 333.333333, 333, 0.03},
      {0.3, 3.0, 2.0, 0.316228, 0.158114, 0, 0},  // wavelength rounds to 0 units: never red
      {2.0, 0.5, 0.5, 2.0, 4.0, 4, 0.5},
      // 5
      {9.0, 0.1, 0.3, 9.486833, 31.622777, 32, 0.3},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "row " << i);
    double u = wave_model::WaveSpeed(c.force, c.density);
    double lambda = wave_model::WaveLength(u, c.frequency);
    EXPECT_NEAR(u, c.speed, 1e-6);
    EXPECT_NEAR(lambda, c.waveLength, 1e-6);
    // The ruler's far end at graph x = units + xmin + 1 reads `units` whole units.
    for (int units = 1; units <= 400; ++units) {
      auto r = wave_model::ReadRuler(units - 10 + 1, -10, u, c.frequency);
      ASSERT_EQ(r.RulerUnits, units);
      EXPECT_DOUBLE_EQ(r.RulerLength, units);
      EXPECT_EQ(r.red, units == c.redUnits) << "at " << units << " units";
      if (units == c.redUnits) {
        EXPECT_NEAR(r.RulerFrequency, c.redFrequency, 1e-9);
      }
    }
  }
}

TEST(WaveModel, RulerReadoutsNearTheStartWavelength) {
  double u = wave_model::WaveSpeed(3.5, 0.4);
  struct Case {
    int units;
    double frequency;
    bool red;
  };
  const Case cases[] = {{11, 0.27, false}, {12, 0.25, true}, {13, 0.23, false}, {20, 0.15, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.units << " units");
    auto r = wave_model::ReadRuler(c.units - 9, -10, u, 0.25);
    EXPECT_EQ(r.RulerUnits, c.units);
    EXPECT_DOUBLE_EQ(r.RulerFrequency, c.frequency);
    EXPECT_EQ(r.red, c.red);
    EXPECT_EQ(dtools::RealToText(r.RulerFrequency, 2), dtools::RealToText(c.frequency, 2));
  }
}

TEST(WaveModel, DisplacementsOfBothKinds) {
  double lambda = wave_model::WaveLength(wave_model::WaveSpeed(3.5, 0.4), 0.25);
  struct Case {
    bool transverse;
    int timeStep;
    double x;
    double expected;
  };
  const Case cases[] = {
      {true, 0, 0, 0},
      {true, 20, 0, 30},  // a quarter period: n v / 20 = 1/4
      {true, 0, lambda / 4, -30},
      {true, 80, 0, 0},   // one period later
      {false, 10, 0, 5},  // n v / 10 = 1/4
      // 5
      {false, 0, lambda / 4, -5},
      {false, 40, 0, 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "row " << i);
    double y = c.transverse ? wave_model::TransverseDisplacement(c.timeStep, 0.25, lambda, c.x)
                            : wave_model::LongitudinalDisplacement(c.timeStep, 0.25, lambda, c.x);
    EXPECT_NEAR(y, c.expected, 1e-9);
  }
}

TEST(WaveModel, PixelsToUnitsFindsTheFirstWholeXReachingTheWidth) {
  // The graph's mapping for a 541-pixel plot of x -10..100.
  auto pixel = [](double x) {
    double v = x == 100 ? x - 0.001 : x;
    return forms::Trunc((v + 10) * (541.0 / 110.0));
  };
  struct Case {
    int width;
    double units;
  };
  const Case cases[] = {{97, 10}, {20, -5}, {0, -10}, {540, 100}, {541, dtools::InvalidReal}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "width " << c.width);
    EXPECT_EQ(wave_model::PixelsToUnits(c.width, -10, 100, pixel), c.units);
  }
}

TEST(WaveModel, NaNAndInfinitiesRaiseTheRangeError) {
  EXPECT_THROW(wave_model::WaveSpeed(1, 0), forms::RangeError);
  EXPECT_THROW(wave_model::WaveSpeed(-1, 1), forms::RangeError);
  EXPECT_THROW(wave_model::WaveLength(1, 0), forms::RangeError);
  EXPECT_THROW(wave_model::TransverseDisplacement(1, 1, NAN, 1), forms::RangeError);
  // A ruler of 0 whole units divides by zero.
  EXPECT_THROW(wave_model::ReadRuler(-9, -10, 2.9, 0.25), forms::RangeError);
  // The readout of a ruler wider than the range runs on InvalidReal and stays finite.
  auto r = wave_model::ReadRuler(dtools::InvalidReal, -10, 2.9, 0.25);
  EXPECT_EQ(r.RulerUnits, -2147483638);
  EXPECT_FALSE(r.red);
}

}  // namespace
