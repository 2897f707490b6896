#include "host/cad/kernel/bounded_child.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <iostream>

namespace {

// A pipe whose write end only the child holds: it reads as closed when the child has ended.
struct EndPipe {
  int ends[2] = {-1, -1};
  EndPipe() {
    if (pipe2(ends, O_CLOEXEC) != 0) ends[0] = ends[1] = -1;
  }
  EndPipe(const EndPipe&) = delete;
  EndPipe& operator=(const EndPipe&) = delete;
  ~EndPipe() {
    closeEnd(0);
    closeEnd(1);
  }
  void closeEnd(int end) {
    if (ends[end] >= 0) close(ends[end]);
    ends[end] = -1;
  }
  // Whether the child ended before the deadline.
  bool closedBy(std::chrono::steady_clock::time_point deadline) const {
    for (;;) {
      const auto left =
          std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pollfd end{ends[0], POLLIN, 0};
      const int ready = poll(&end, 1, static_cast<int>(std::min<long long>(left.count(), 1 << 30)));
      if (ready < 0 && errno != EINTR) return false;
      if (ready <= 0) continue;
      char byte;
      const ssize_t got = read(ends[0], &byte, 1);
      if (got == 0 || (got < 0 && errno != EINTR)) return true;
    }
  }
};

[[noreturn]] void beChild(const std::function<int()>& work, pid_t parent) {
  // The child dies with the parent's thread; a parent that died before this line has made the child an
  // orphan already, which getppid tells.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(SIGKILL + 128);
  // A fault ends the child as the system ends a process, not through handlers inherited from the parent;
  // a file grown past its limit fails its write instead of killing the child.
  for (int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(fault, SIG_DFL);
  std::signal(SIGXFSZ, SIG_IGN);
  _exit(work());
}

int waitFor(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

}  // namespace

ChildEnd runInChild(const std::function<int()>& work, std::chrono::milliseconds timeLimit) {
  const auto deadline = std::chrono::steady_clock::now() + timeLimit;
  EndPipe end;
  if (end.ends[0] < 0) return {};
  // The child inherits this process's unwritten output; anything in the child that flushes it there would
  // print it a second time.
  std::cout.flush();
  std::fflush(nullptr);
  const pid_t parent = getpid();
  const pid_t child = fork();
  if (child < 0) return {};
  if (child == 0) beChild(work, parent);
  end.closeEnd(1);
  const bool ended = end.closedBy(deadline);
  if (!ended) kill(child, SIGKILL);
  const int status = waitFor(child);
  if (!ended) return {ChildEnd::Kind::timedOut, 0};
  if (WIFEXITED(status)) return {ChildEnd::Kind::exited, WEXITSTATUS(status)};
  return {ChildEnd::Kind::crashed, 0};
}
