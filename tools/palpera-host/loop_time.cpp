#include "loop_time.h"

#include "script_action.h"
#include "script_numbers.h"

namespace {

constexpr int64_t kLongestRun = 3600 * 1000;

}  // namespace

std::chrono::milliseconds loopTimeWord(const std::string& word) {
  int64_t milliseconds = wholeNumberWord(word);
  if (milliseconds < 0 || milliseconds > kLongestRun) {
    throw ScriptError("a time of " + std::to_string(milliseconds) + " ms lies outside 0 to " +
                      std::to_string(kLongestRun) + " ms");
  }
  return std::chrono::milliseconds(milliseconds);
}
