#pragma once

// The stand-in host's mouse and key data: the view's own data of one injected callback (HostGfxMouseData,
// HostGfxKeyData, fixed when made, so safe on any thread), and the data objects a module asks for by name to
// wrap it in (HostMouseData for "IZelMouseData", HostKeyData for "IZelKeyData"; each belongs to one thread at
// a time).

#include <array>
#include <cstdint>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/view_input.h"

// What the test or script says about the pointer.
struct MouseInput {
  int32_t button = 0;
  int32_t x = 0;
  int32_t y = 0;
  std::array<double, 3> rayOrigin{0, 0, 0};
  // Need not be of unit length: the view makes it so.
  std::array<double, 3> rayDirection{0, 0, -1};
};

class HostGfxMouseData : public IGfxMouseData, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGfxMouseData";

  explicit HostGfxMouseData(const MouseInput& input);

  int32_t button() override { return input_.button; }
  void screenPosition(int32_t* x, int32_t* y) override;
  void pickRay(double origin[3], double direction[3]) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  MouseInput input_;
};

class HostGfxKeyData : public IGfxKeyData, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGfxKeyData";

  explicit HostGfxKeyData(int32_t keyCode) : keyCode_(keyCode) {}

  int32_t keyCode() override { return keyCode_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const int32_t keyCode_;
};

class HostMouseData : public IZelMouseData, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostMouseData";

  void setMouseData(IGfxMouseData* data) override { view_ = data; }
  int32_t button() override { return view_ ? view_->button() : -1; }
  bool screenPosition(int32_t* x, int32_t* y) override;
  bool pickRay(double origin[3], double direction[3]) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IGfxMouseData> view_;
};

class HostKeyData : public IZelKeyDataV2, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostKeyData";

  int32_t keyCode() override { return view_ ? view_->keyCode() : 0; }
  void setKeyData(IGfxKeyData* data) override { view_ = data; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IGfxKeyData> view_;
};
