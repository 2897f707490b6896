#include <cstdio>

#include "feature_fields.h"
#include "host/cad/cad_model.h"
#include "platform/utf8.h"
#include "script_actions.h"
#include "shown_word.h"

namespace {

const char* plural(uint32_t count) {
  return count == 1 ? "" : "s";
}

// What shows a wrong unit at once: the unit the file declares beside the size it gives the model in metres.
void printSummary(const std::string& name, const CadFileReading& units, const BrepModel& model) {
  const auto [low, high] = model.bounds();
  std::printf("%s: unit %s%s, %u solid%s, %u face%s, size %s x %s x %s m\n", name.c_str(),
              units.lengthUnits.c_str(), units.metresAssumed ? " (metres assumed)" : "", model.solidCount(),
              plural(model.solidCount()), model.faceCount(), plural(model.faceCount()),
              sixDigits(high[0] - low[0]).c_str(), sixDigits(high[1] - low[1]).c_str(),
              sixDigits(high[2] - low[2]).c_str());
}

}  // namespace

void loadCadFile(HostSession& session, const ScriptWords& words) {
  if (words[0].empty()) throw ScriptError("the model needs a name");
  CadFileReading units;
  IPtr<HostDocObject> object;
  try {
    object = loadCadModel(session.host.document().doc(), platform::fromUtf8(words[0]), words[1], &units,
                          session.cadTimeLimit);
  } catch (const CadFileError& error) {
    throw ScriptError("cannot load the CAD model " + shownPath(words[1]) + ": " + error.reason());
  }
  for (const std::string& warning : units.warnings)
    std::printf("%s: warning: %s\n", words[0].c_str(), warning.c_str());
  if (std::shared_ptr<const BrepModel> model = cadModelById(object->id()))
    printSummary(words[0], units, *model);
}
