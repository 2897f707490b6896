#pragma once

// A receiver of the host view's callbacks, by callback id 0 to 11: the view calls the operation of the id
// with the callback's data and an extra argument. Each answers non-zero when it handled the callback. The
// host's own default callback object (the service "ICallbackObject", which is also what the view manager
// "IGfxViewMgr" answers for "ICallbackObject") handles every callback a module object does not, and keeps the
// view's registry of callbacks: for each id, the callbacks the view calls before its own handling.
//
// For the mouse callbacks (ids 4 to 7) the data is the IZelUnknown of the view's mouse data
// ("IGfxMouseData"), for the key callbacks (9 press, 10 release) the IZelUnknown of its key data
// ("IGfxKeyData"); the extra argument is null. All callbacks run on the host's main thread.

#include <cstdint>

#include "host_api/zel_unknown.h"

// One callback a module adds to the view's registry. It is not counted: whoever adds it owns it and removes
// it from the registry before it goes.
class ZelCallback {
 public:
  virtual ~ZelCallback() = default;
  // Non-zero when the callback handled the view's callback; the view then stops there.
  virtual int32_t call(void* data, void* extra) = 0;
};

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

  // The view's registry. An entry is the four values together: the callback id (0 to 11), the object on
  // whose behalf the callback is added, the callback and a flag (0: an ordinary callback). The view calls
  // the callbacks of an id in the order they were added, until one handles it. Adding an entry that is
  // already there, or one with an id outside 0 to 11 or a null callback, is refused (false); removing takes
  // the same four values and is false when there was no such entry. Main thread only.
  virtual bool addCallback(int32_t id, ICallbackObject* owner, ZelCallback* callback, int32_t flag) = 0;
  virtual bool removeCallback(int32_t id, ICallbackObject* owner, ZelCallback* callback, int32_t flag) = 0;
};

class ICallbackObjectInternal : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ICallbackObjectInternal";
  virtual int32_t internalCallback(void* a, void* b) = 0;
};
