#pragma once

// ZelThreadClass: the base of every worker thread of the module. A derived class overrides run; start runs
// it (through threadBody) on a new thread. The owner starts, waits for and destroys the object on its own
// thread; only run executes on the new one.
//
// A thread is never killed. The owner waits for it before destroying the object; destroying an object whose
// thread is still running is a fault of the owner, reported as a failed assertion, after which the destructor
// waits for the thread anyway (the derived part is gone by then, so run must not touch it any more). The one
// exception is a thread that ends by destroying its own object (its run releases the last reference): it is
// reported the same way, then the thread detaches itself and ends once run returns.

#include "platform/thread.h"

class ZelThreadClass {
 public:
  ZelThreadClass() = default;
  ZelThreadClass(const ZelThreadClass&) = delete;
  ZelThreadClass& operator=(const ZelThreadClass&) = delete;
  virtual ~ZelThreadClass();

  // The thread's work; the base does nothing.
  virtual void run() {}
  virtual void threadBody() { run(); }

  // Runs threadBody on a new thread. A thread of an earlier start that has ended is waited for first; one
  // that is still running is a failed assertion, and nothing starts. False when no thread starts.
  bool start();
  // Waits without a time limit for the thread to end, then clears running. Waiting on the thread itself is a
  // failed assertion and returns at once.
  void wait();

  // True from a successful start until a wait has seen the thread end. Read by the owner.
  bool running() const { return running_; }

 private:
  platform::Thread handle_;
  bool running_ = false;
};
