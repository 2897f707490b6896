#pragma once

// Colours of the graphics: RGB with its HSL form, every component in [0, 1] (the hue a fraction of a full
// turn), RGBA, and the material record the host draws with. All constants of the conversions are
// single-precision floats. Value types.

#include <cstdint>

struct Color {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  float h = 0.0f;
  float s = 0.0f;
  float l = 0.0f;

  // h, s and l from r, g and b. A grey has s = 0 and, by convention, h = 0.6666667.
  void rgbToHsl();
  // r, g and b from h, s and l.
  void hslToRgb();
};

struct ColorRGBA {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  float a = 1.0f;

  // Each of r, g and b times factor, clamped to [0, 1]; opaque.
  static ColorRGBA fromScaled(const Color& rgb, double factor);
};

// A material as the host reads it: four colours, then three scalars, the last of which holds an integer. Its
// 19 four-byte values are copied as a whole.
struct ColorSet {
  ColorRGBA ambient;
  ColorRGBA diffuse;
  ColorRGBA specular;
  ColorRGBA emissive;
  float scalars[2] = {0.0f, 0.0f};
  int32_t integer = 0;
};
static_assert(sizeof(ColorSet) == 19 * 4, "the host reads 19 four-byte values");
