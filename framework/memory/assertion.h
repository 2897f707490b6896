#pragma once

// Passes a failed assertion (its expression text, a source name such as "kvocstring" and a line) to the
// host's assertion handler "IZelAssertHandlerCB" and returns, so the caller goes on with the values it has.
// Without a handler the process ends at once with exit code 255. Safe on any thread.
void reportAssertion(const char* expression, const char* file, int line);
