#pragma once

// For a child process about to start the host: the signals a person sends to end a program take their
// default action and none is blocked, whatever the process that started the test had set (a background job
// ignores SIGINT), so that a test that sends one meets the host as a person's signal would.

#include <signal.h>

#include <csignal>
#include <vector>

// Every signal whose default action ends a process and that a process can catch, but the C library's own.
inline std::vector<int> endingSignals() {
  std::vector<int> signals;
  for (int signal = 1; signal < _NSIG; ++signal) {
    const bool stopsOrIgnored = signal == SIGCHLD || signal == SIGCONT || signal == SIGURG ||
                                signal == SIGWINCH || signal == SIGTSTP || signal == SIGTTIN ||
                                signal == SIGTTOU;
    if (signal == SIGKILL || signal == SIGSTOP || stopsOrIgnored || (signal > SIGSYS && signal < SIGRTMIN))
      continue;
    signals.push_back(signal);
  }
  return signals;
}

inline void useDefaultEndingSignals() {
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) std::signal(signal, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
}
