#include "basic_types/color.h"

#include <algorithm>

namespace {

// The hue a grey is given.
constexpr float kGreyHue = 0.6666667f;
constexpr float kThird = 0.33333334f;
constexpr float kSixth = 0.16666667f;
constexpr float kTwoThirds = 0.6666667f;

float channel(float p, float q, float t) {
  if (t >= 1.0f) {
    t -= 1.0f;
  } else if (t < 0.0f) {
    t += 1.0f;
  }
  if (t < kSixth) return p + (q - p) * 6.0f * t;
  if (t < 0.5f) return q;
  if (t < kTwoThirds) return p + (q - p) * 6.0f * (kTwoThirds - t);
  return p;
}

float clampedProduct(float component, double factor) {
  return static_cast<float>(std::clamp(component * factor, 0.0, 1.0));
}

}  // namespace

void Color::rgbToHsl() {
  float high = std::max({r, g, b});
  float low = std::min({r, g, b});
  l = (high + low) * 0.5f;
  if (high == low) {
    s = 0.0f;
    h = kGreyHue;
    return;
  }
  float delta = high - low;
  s = l <= 0.5f ? delta / (high + low) : delta / (2.0f - high - low);
  float sixths = r == high ? (g - b) / delta : g != high ? (r - g) / delta + 4.0f : (b - r) / delta + 2.0f;
  float degrees = sixths * 60.0f;
  if (degrees < 0.0f) {
    degrees += 360.0f;
  } else if (degrees >= 360.0f) {
    degrees -= 360.0f;
  }
  h = degrees / 360.0f;
}

void Color::hslToRgb() {
  if (s == 0.0f) {
    r = g = b = l;
    return;
  }
  float q = l <= 0.5f ? l * (1.0f + s) : l + s - l * s;
  float p = 2.0f * l - q;
  r = channel(p, q, h + kThird);
  g = channel(p, q, h);
  b = channel(p, q, h - kThird);
}

ColorRGBA ColorRGBA::fromScaled(const Color& rgb, double factor) {
  return {clampedProduct(rgb.r, factor), clampedProduct(rgb.g, factor), clampedProduct(rgb.b, factor), 1.0f};
}
