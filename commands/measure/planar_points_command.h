#pragma once

// The base of the planar-point commands: an extended command whose close removes the objects it created.

#include <vector>

#include "framework/commands/comp_base_cmd.h"
#include "framework/object/iptr.h"
#include "host_api/zel_doc.h"

class PlanarPointsCommand : public CompBaseCmdInt {
 public:
  // Removes the objects the command created.
  bool cancel() override;

 protected:
  // Answers className (primary) and then the extended base's names.
  void queryCommand(const char* name, void** out, const char* className, void* primary);

  std::vector<IPtr<IZelDocObject>> createdObjects_;
};
