#pragma once

// Work done in a child process of its own, bounded in time: what the host does with a kernel that may crash
// or spin on a file. The child is killed and reaped when the time is up, and it dies with the thread that
// started it, so that a host ended by a signal leaves no child running. Any thread; one call waits for its
// own child only.

#include <chrono>
#include <functional>

struct ChildEnd {
  enum class Kind {
    exited,      // code holds the work's answer
    crashed,     // ended by a signal of its own doing
    timedOut,    // killed at the time limit
    notStarted,  // the system made no process
  };
  Kind kind = Kind::notStarted;
  int code = 0;
};

// Runs work in a forked child, whose exit status (0 to 255) is work's answer.
ChildEnd runInChild(const std::function<int()>& work, std::chrono::milliseconds timeLimit);
