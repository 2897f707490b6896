#include "platform/message_box.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "platform/utf8.h"

namespace platform {
namespace {

std::mutex observerMutex;
MessageBoxObserver& observer() {
  static MessageBoxObserver instance;  // guarded by observerMutex
  return instance;
}

}  // namespace

void messageBox(std::u16string_view title, std::u16string_view text) {
  std::string line(1, '[');
  line.append(toUtf8(title)).append("] ").append(toUtf8(text)).append(1, '\n');
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
  MessageBoxObserver copy;
  {
    std::lock_guard lock(observerMutex);
    copy = observer();
  }
  if (copy) copy(title, text);
}

void setMessageBoxObserver(MessageBoxObserver newObserver) {
  std::lock_guard lock(observerMutex);
  observer() = std::move(newObserver);
}

}  // namespace platform
