#include "host/document/host_locations_set.h"

#include "framework/object/query_chain.h"

bool HostLocationsSet::location(int32_t index, ZelString& name, Vector3& point) {
  if (index < 1 || index > locationCount()) return false;
  const Location& found = locations_[static_cast<size_t>(index - 1)];
  name = ZelString(found.name.c_str());
  point = found.point;
  return true;
}

void HostLocationsSet::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelLocationsSet>(this).end();
}

IPtr<HostDocObject> addLocationsSet(HostDocument& document, const std::u16string& name,
                                    std::vector<HostLocationsSet::Location> locations) {
  DocObjectDescription description;
  description.type = kLocationsSetType;
  description.name = name;
  description.data.emplace_back(new HostLocationsSet(std::move(locations)));
  return document.add(std::move(description), false);
}
