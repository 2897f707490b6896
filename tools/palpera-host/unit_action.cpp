#include "script_actions.h"
#include "script_numbers.h"
#include "shown_word.h"

void setLengthUnit(HostSession& session, const ScriptWords& words) {
  std::optional<int32_t> code = readInt32(words[0]);
  if (!code || !session.host.core().units().setCurrentLengthUnit(*code)) {
    throw ScriptError(shownWord(words[0]) +
                      " is no unit code (0 inch, 1 millimetre, 2 foot, 3 centimetre, 4 micrometre, 7 metre)");
  }
}
