#include "framework/memory/assertion.h"

#include "framework/object/iptr.h"
#include "host_api/zel_assert_handler.h"
#include "platform/process.h"

// The exit code of a failed assertion that no host handler received.
static constexpr int kUnhandledAssertionExit = 255;

void reportAssertion(const char* expression, const char* file, int line) {
  SPtr<IZelAssertHandlerCB> handler;
  if (!handler) platform::exitProcess(kUnhandledAssertionExit);
  handler->report(expression, file, line);
}
