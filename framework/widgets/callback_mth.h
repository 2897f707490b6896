#pragma once

// A view callback that calls a member operation of its owner with (the callback itself, the view's data, the
// extra argument). The owner makes it, adds it to the view's registry and removes it again before either
// goes; the callback holds no reference on its owner.

#include <cstdint>

#include "host_api/callback_object.h"

template <class Owner>
class CallbackMth : public ZelCallback {
 public:
  using Operation = int32_t (Owner::*)(ZelCallback* callback, void* data, void* extra);

  CallbackMth(Owner* owner, Operation operation) : owner_(owner), operation_(operation) {}

  int32_t call(void* data, void* extra) override { return (owner_->*operation_)(this, data, extra); }

 private:
  Owner* const owner_;
  const Operation operation_;
};
