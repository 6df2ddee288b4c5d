// A photograph-like landscape made from noise (sky with clouds, sun, two mountain ridges, a
// lake with their reflection, a grassy shore), for the viewer's screenshots and benchmarks:
// smooth gradients and fine texture, so every histogram bin range gets used.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace testing_support {

class PhotoScene {
 public:
  PhotoScene(int width, int height) : w_(width), h_(height) {}

  // 0x00RRGGBB
  std::uint32_t operator()(int x, int y) const {
    double u = static_cast<double>(x) / w_, v = static_cast<double>(y) / h_;
    double r, g, b;
    const double shore = 0.86;
    const double water = 0.66;
    if (v < water) {
      Above(u, v, r, g, b);
    } else if (v < shore) {
      // The lake mirrors what stands above the waterline, darker and rippled.
      double ripple = 0.004 * std::sin(v * 900.0 + Fbm(u * 40, v * 6, 2) * 6.0);
      double mv = water - (v - water) * 1.2;
      Above(std::clamp(u + ripple, 0.0, 1.0), std::max(mv, 0.0), r, g, b);
      double depth = (v - water) / (shore - water);
      r = r * 0.55 + 10 * depth;
      g = g * 0.62 + 25;
      b = b * 0.70 + 40;
    } else {
      double t = Fbm(u * 220, v * 60, 4);
      double blade = 0.5 + 0.5 * std::sin(u * 2400.0 + t * 9.0);
      r = 70 + 90 * t + 30 * blade;
      g = 95 + 90 * t + 40 * blade;
      b = 30 + 30 * t;
      double closeness = (v - shore) / (1 - shore);
      r *= 0.8 + 0.3 * closeness;
      g *= 0.8 + 0.3 * closeness;
    }
    double grain = (Hash(x, y, 99) - 0.5) * 10.0;
    return Pack(r + grain, g + grain, b + grain);
  }

 private:
  static std::uint32_t Pack(double r, double g, double b) {
    auto c = [](double v) { return static_cast<std::uint32_t>(std::clamp(v, 0.0, 255.0)); };
    return (c(r) << 16) | (c(g) << 8) | c(b);
  }

  static double Hash(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFFFFFF) / static_cast<double>(0xFFFFFF);
  }

  static double Noise(double x, double y, int seed) {
    int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    double fx = x - ix, fy = y - iy;
    auto s = [](double t) { return t * t * (3 - 2 * t); };
    double a = Hash(ix, iy, seed), b = Hash(ix + 1, iy, seed), c = Hash(ix, iy + 1, seed),
           d = Hash(ix + 1, iy + 1, seed);
    double top = a + (b - a) * s(fx), bottom = c + (d - c) * s(fx);
    return top + (bottom - top) * s(fy);
  }

  static double Fbm(double x, double y, int octaves) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
      sum += amp * Noise(x, y, i + 1);
      norm += amp;
      x *= 2.03;
      y *= 2.03;
      amp *= 0.5;
    }
    return sum / norm;
  }

  void Above(double u, double v, double& r, double& g, double& b) const {
    double farRidge = 0.40 + 0.12 * Fbm(u * 5, 1.5, 5);
    double nearRidge = 0.50 + 0.13 * Fbm(u * 3 + 7, 4.5, 6) - 0.06 * std::sin(u * 3.1);
    if (v >= nearRidge) {
      double t = Fbm(u * 90, v * 90, 4);
      double light = 0.7 + 0.5 * (Fbm(u * 12 + 3, v * 12, 3) - 0.5);
      r = (45 + 50 * t) * light;
      g = (70 + 60 * t) * light;
      b = (35 + 25 * t) * light;
      return;
    }
    if (v >= farRidge) {
      double t = Fbm(u * 40, v * 40, 4);
      double haze = (nearRidge - v) / (nearRidge - farRidge + 1e-9);
      r = 95 + 40 * t + 40 * haze;
      g = 110 + 40 * t + 45 * haze;
      b = 140 + 35 * t + 40 * haze;
      // Snow on the highest parts of the far ridge.
      if (v < farRidge + 0.025 * Fbm(u * 30, 2, 3)) r = g = b = 225 + 25 * t;
      return;
    }
    double t = v / farRidge;
    r = 40 + 150 * t;
    g = 95 + 115 * t;
    b = 175 + 60 * t;
    double cloud = Fbm(u * 6, v * 14, 6);
    double cover = std::clamp((cloud - 0.52) * 3.5, 0.0, 1.0);
    r += (245 - r) * cover;
    g += (245 - g) * cover;
    b += (250 - b) * cover;
    double aspect = static_cast<double>(w_) / h_;
    double dx = (u - 0.78) * aspect, dy = v - 0.16;
    double d = std::sqrt(dx * dx + dy * dy);
    double sun = d < 0.045 ? 1.0 : std::exp(-(d - 0.045) * 14.0) * 0.6;
    r += (255 - r) * sun;
    g += (245 - g) * sun;
    b += (200 - b) * sun * 0.8;
  }

  int w_, h_;
};

}  // namespace testing_support
