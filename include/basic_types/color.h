#pragma once

// Colours of the graphics: RGB with its HSL form, every component in [0, 1] (the hue a fraction of a full
// turn), and RGBA. All constants of the conversions are single-precision floats. Value types.

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
