#pragma once

// A scripted hard-probe device: plays receiver calls on a receiver in the order written, on the calling
// thread, as the device delivers them on the host's main thread. Each call returns the stream, so a test
// writes a run as one sentence:
//
//   DeviceStream(collector).radius(.002).sample(points).stop({0, 0, .05}).undo();

#include <gtest/gtest.h>

#include <vector>

#include "basic_types/vector3.h"
#include "basic_types/zel_cstring.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"

class DeviceStream {
 public:
  explicit DeviceStream(IZelUnknown* receiver) : receiver_(queryPart<IZelHardProbeDataReceiver>(receiver)) {
    EXPECT_TRUE(receiver_) << "not a hard-probe receiver";
  }

  DeviceStream& radius(double r) {
    if (receiver_) receiver_->setProbeRadius(r);
    return *this;
  }
  // A move with the probe pointing along to (straight down unless given).
  DeviceStream& move(const Vector3& point, const Vector3& to = {0, 0, -1}) {
    if (receiver_) receiver_->onMoved(point, to, {0, 1, 0});
    return *this;
  }
  DeviceStream& sample(const Vector3& point) {
    if (receiver_) receiver_->onPointSampled(point);
    return *this;
  }
  DeviceStream& sample(const std::vector<Vector3>& points) {
    for (const Vector3& point : points) sample(point);
    return *this;
  }
  DeviceStream& stop(const Vector3& point) {
    if (receiver_) receiver_->onPointStop(point);
    return *this;
  }
  DeviceStream& event(const char* name) {
    if (receiver_) receiver_->onCustomEvent(ZelCString(name), nullptr);
    return *this;
  }
  DeviceStream& undo() { return event("UndoLastSampled"); }

 private:
  IPtr<IZelHardProbeDataReceiver> receiver_;
};
