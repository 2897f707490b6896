#pragma once

// A receiver of the host view's callbacks, by callback id 0 to 11: the view calls the operation of the id
// with the callback's data and an extra argument. Each answers non-zero when it handled the callback. The
// host's own default callback object (the service "ICallbackObject") handles every callback a module object
// does not.

#include <cstdint>

#include "host/api/zel_unknown.h"

class ICallbackObject : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ICallbackObject";

  virtual int32_t onActivate(void* data, void* extra) = 0;          // id 0
  virtual int32_t onDeactivate(void* data, void* extra) = 0;        // id 1
  virtual int32_t onPaint(void* data, void* extra) = 0;             // id 2
  virtual int32_t onResize(void* data, void* extra) = 0;            // id 3
  virtual int32_t onMouseDown(void* data, void* extra) = 0;         // id 4
  virtual int32_t onMouseClick(void* data, void* extra) = 0;        // id 5
  virtual int32_t onMouseDoubleClick(void* data, void* extra) = 0;  // id 6
  virtual int32_t onMouseMove(void* data, void* extra) = 0;         // id 7
  virtual int32_t onMouseWheel(void* data, void* extra) = 0;        // id 8
  virtual int32_t onKeyPress(void* data, void* extra) = 0;          // id 9
  virtual int32_t onKeyRelease(void* data, void* extra) = 0;        // id 10
  virtual int32_t onIdle(void* data, void* extra) = 0;              // id 11
};

class ICallbackObjectInternal : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ICallbackObjectInternal";
  virtual int32_t internalCallback(void* a, void* b) = 0;
};
