#include <array>
#include <vector>

#include "host/document/host_locations_set.h"
#include "platform/utf8.h"
#include "script_actions.h"
#include "script_numbers.h"

// Named points a command can load as targets, such as the places a part is to be checked at.
void addLocationSet(HostSession& session, const ScriptWords& words) {
  if (words[0].empty()) throw ScriptError("the location set needs a name");
  if ((words.size() - 1) % 4 != 0) throw ScriptError("each location is a name followed by X Y Z");
  std::vector<HostLocationsSet::Location> locations;
  for (size_t at = 1; at < words.size(); at += 4) {
    const std::array<double, 3> point = pointWords(words, at + 1);
    locations.push_back({platform::fromUtf8(words[at]), {point[0], point[1], point[2]}});
  }
  addLocationsSet(session.host.document().doc(), platform::fromUtf8(words[0]), std::move(locations));
}
