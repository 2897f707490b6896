#pragma once

// For a child process about to start the host: the signals a person sends to end a program take their
// default action and none is blocked, whatever the process that started the test had set (a background job
// ignores SIGINT), so that a test that sends one meets the host as a person's signal would.

#include <signal.h>

#include <csignal>

inline void useDefaultEndingSignals() {
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) std::signal(signal, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
}
