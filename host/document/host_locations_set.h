#pragma once

// The stand-in host's location sets: document objects of type "LocationsSet" whose named points a command
// reads through IZelLocationsSet (the object answers it). Points are in the document's model coordinates.

#include <string>
#include <vector>

#include "basic_types/vector3.h"
#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host/document/host_doc_object.h"
#include "host/document/host_document.h"
#include "host_api/zel_locations_set.h"

inline constexpr const char* kLocationsSetType = "LocationsSet";

class HostLocationsSet : public IZelLocationsSet, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostLocationsSet";

  struct Location {
    std::u16string name;
    Vector3 point;
  };

  explicit HostLocationsSet(std::vector<Location> locations) : locations_(std::move(locations)) {}

  int32_t locationCount() override { return static_cast<int32_t>(locations_.size()); }
  bool location(int32_t index, ZelString& name, Vector3& point) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const std::vector<Location> locations_;
};

// The new object; its name is taken as it is, even when another object has it.
IPtr<HostDocObject> addLocationsSet(HostDocument& document, const std::u16string& name,
                                    std::vector<HostLocationsSet::Location> locations);
