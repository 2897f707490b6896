#pragma once

// What the view hands its mouse and key callbacks, and the host's own data objects the module wraps it in.
// The view's data ("IGfxMouseData", "IGfxKeyData") is valid during the callback; a module that wants to keep
// it asks the host for a fresh "IZelMouseData" or "IZelKeyData" (every lookup hands out a new one) and gives
// it the view's data, which it then holds a reference on.
//
// Mouse buttons: 0 the left (main) button, 1 the middle one, 2 the right one. Key codes are the host's.

#include <cstdint>

#include "host_api/zel_unknown.h"

// The view's mouse data of one callback.
class IGfxMouseData : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGfxMouseData";

  // The button the callback is about.
  virtual int32_t button() = 0;
  // The pointer in view pixels, from the top left corner.
  virtual void screenPosition(int32_t* x, int32_t* y) = 0;
  // The world ray under the pointer: its origin and its unit direction, into the scene.
  virtual void pickRay(double origin[3], double direction[3]) = 0;
};

// The view's key data of one callback.
class IGfxKeyData : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGfxKeyData";
  virtual int32_t keyCode() = 0;
};

class IZelMouseData : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelMouseData";

  // Holds a reference on the view's data (null lets go of it).
  virtual void setMouseData(IGfxMouseData* data) = 0;
  // -1 without the view's data.
  virtual int32_t button() = 0;
  // False, with the outputs untouched, without the view's data.
  virtual bool screenPosition(int32_t* x, int32_t* y) = 0;
  virtual bool pickRay(double origin[3], double direction[3]) = 0;
};

class IZelKeyData : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelKeyData";
  // 0 without the view's data.
  virtual int32_t keyCode() = 0;
};

class IZelKeyDataV2 : public IZelKeyData {
 public:
  static constexpr const char* interfaceName = "IZelKeyDataV2";
  // Holds a reference on the view's data (null lets go of it).
  virtual void setKeyData(IGfxKeyData* data) = 0;
};
