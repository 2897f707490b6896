#pragma once

// The records of the emulator's queue: one emulated device event each, made on the main thread and applied
// to the run's receiver adapter on the worker thread. A record is owned by the queue until it is applied or
// discarded.

#include "basic_types/vector3.h"
#include "basic_types/zel_cstring.h"
#include "devices/emulator/emulator_receiver.h"
#include "framework/object/iptr.h"

class EmulatorPlugin::Data {
 public:
  Data() = default;
  Data(const Data&) = delete;
  Data& operator=(const Data&) = delete;
  virtual ~Data() = default;
  virtual void apply(Receiver& receiver) = 0;
};

class EmulatorPlugin::OnMovedData : public Data {
 public:
  OnMovedData(const Vector3& point, const Vector3& to, const Vector3& up) : point_(point), to_(to), up_(up) {}
  void apply(Receiver& receiver) override { receiver.onMoved(point_, to_, up_); }

 private:
  const Vector3 point_, to_, up_;
};

class EmulatorPlugin::OnPointSampledData : public Data {
 public:
  explicit OnPointSampledData(const Vector3& point) : point_(point) {}
  void apply(Receiver& receiver) override {
    static_cast<IZelHardProbeDataReceiver&>(receiver).onPointSampled(point_);
  }

 private:
  const Vector3 point_;
};

class EmulatorPlugin::OnPointSampledOrientationData : public Data {
 public:
  OnPointSampledOrientationData(const Vector3& point, const Vector3& to, const Vector3& up)
      : point_(point), to_(to), up_(up) {}
  void apply(Receiver& receiver) override {
    static_cast<IZelHardProbeContinuousDataReceiver&>(receiver).onPointSampled(point_, to_, up_);
  }

 private:
  const Vector3 point_, to_, up_;
};

class EmulatorPlugin::OnPointStopData : public Data {
 public:
  explicit OnPointStopData(const Vector3& point) : point_(point) {}
  void apply(Receiver& receiver) override { receiver.onPointStop(point_); }

 private:
  const Vector3 point_;
};

class EmulatorPlugin::OnCustomEventData : public Data {
 public:
  explicit OnCustomEventData(const ZelCString& name) : name_(name) {}
  void apply(Receiver& receiver) override { receiver.onCustomEvent(name_, payload_.get()); }

 private:
  const ZelCString name_;
  IPtr<IZelUnknown> payload_;  // the emulator sends none
};

class EmulatorPlugin::OnStartCaptureData : public Data {
 public:
  void apply(Receiver& receiver) override { receiver.onStartCapture(); }
};

class EmulatorPlugin::OnStopCaptureData : public Data {
 public:
  void apply(Receiver& receiver) override { receiver.onStopCapture(); }
};
