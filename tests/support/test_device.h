#pragma once

// A device object for tests of the commands that use devices from the plug-in registry. It notes every call
// in a journal the test owns, as "<call> <name>" ("connect HardProbe", "start HardProbeContinuous"), answers
// as the test sets, and keeps receivers as a device does: only those answering the receiver interface of its
// kind, each once. It acquires nothing itself: a test hands events to its receivers with deliver, on the
// main thread, as a device's event handlers do.
//
// Events in transit: post queues an event as a device's worker posts it; deliverPosted hands the queue over
// as the host's loop would. As the real device does, stopAcquisition (and disconnect, which stops) delivers
// what was posted before it returns, to the receivers then held, so a command that stops the device inside an
// event handler, on cancel or on deactivate receives those events in the middle of its own stop. A nested
// stop finds nothing running and returns at once. A start stops a running acquisition first, delivering what
// it posted; a start made during a stop's delivery leaves the rest of it to be delivered after it, once, as
// the real device's new handlers take up the named events still queued.

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "devices/contracts/plugin_device.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"

class TestDevice : public IZelPluginDevice, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "TestDevice";

  struct Answers {
    bool connect = true;
    bool start = true;
  };

  // receiverInterface: the receiver interface name of the device's kind, for example
  // "IZelHardProbeContinuousDataReceiver".
  TestDevice(std::string name, const char* receiverInterface, std::vector<std::string>& journal)
      : name_(std::move(name)), receiverInterface_(receiverInterface), journal_(journal) {}

  bool connect() override {
    note("connect");
    return answers.connect;
  }
  bool disconnect() override {
    note("disconnect");
    deliverInTransit();
    return true;
  }
  bool startAcquisition() override {
    note("start");
    deliverInTransit();
    acquiring_ = answers.start;
    return answers.start;
  }
  void stopAcquisition() override {
    note("stop");
    deliverInTransit();
  }
  void addReceiver(IZelPluginDataReceiver* receiver) override {
    note("addReceiver");
    void* part = nullptr;
    if (receiver) receiver->queryInterface(receiverInterface_, &part, false);
    if (part &&
        std::ranges::find(receivers_, receiver, &IPtr<IZelPluginDataReceiver>::get) == receivers_.end())
      receivers_.emplace_back(receiver);
  }
  void removeReceiver(IZelPluginDataReceiver* receiver) override {
    note("removeReceiver");
    std::erase_if(receivers_,
                  [&](const IPtr<IZelPluginDataReceiver>& held) { return held.get() == receiver; });
  }

  // Calls call with the R part of every receiver, on a copy of the set as a device's handler does.
  template <class R, class Call>
  void deliver(Call call) {
    std::vector<IPtr<IZelPluginDataReceiver>> receivers = receivers_;
    for (const IPtr<IZelPluginDataReceiver>& receiver : receivers) {
      void* part = nullptr;
      receiver->queryInterface(R::interfaceName, &part, false);
      if (part) call(static_cast<R*>(part));
    }
  }

  // Queues call for the R part of every receiver held when it is delivered.
  template <class R, class Call>
  void post(Call call) {
    posted_.push_back([this, call] { deliver<R>(call); });
  }
  // Delivers the posted events in order, as the host's loop does while the device runs.
  void deliverPosted() {
    while (!posted_.empty()) {
      std::function<void()> event = std::move(posted_.front());
      posted_.pop_front();
      event();
    }
  }
  size_t postedCount() const { return posted_.size(); }

  size_t receiverCount() const { return receivers_.size(); }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelPluginDevice>(this).end();
  }
  const char* className() override { return interfaceName; }

  Answers answers;

 private:
  void note(const char* call) { journal_.push_back(std::string(call) + " " + name_); }

  // The worker has ended; what it posted still reaches the receivers, once.
  void deliverInTransit() {
    if (!acquiring_) return;
    acquiring_ = false;
    deliverPosted();
  }

  std::string name_;
  const char* receiverInterface_;
  std::vector<std::string>& journal_;
  std::vector<IPtr<IZelPluginDataReceiver>> receivers_;
  std::deque<std::function<void()>> posted_;
  bool acquiring_ = false;  // from a successful start to the stop that delivers what is in transit
};
