#include "script_actions.h"
#include "shown_word.h"

// The flags the host keeps; "singleObjectActive" follows the active object and is set by the action that
// chooses it.
void setContextFlag(HostSession& session, const ScriptWords& words) {
  const std::string& name = words[0];
  if (words[1] != "0" && words[1] != "1") throw ScriptError(shownWord(words[1]) + " is neither 0 nor 1");
  if (name == IComponentCommandContainerV2::kSingleObjectActive) {
    throw ScriptError("singleObjectActive follows the active object: choose it with active OBJECT");
  }
  if (!session.host.gui().commandContainer().setFlag(name, words[1] == "1")) {
    throw ScriptError(shownWord(name) +
                      " is no context flag (inCommand, recordingMacro, sectionCurrent, boundaryCurrent)");
  }
}
