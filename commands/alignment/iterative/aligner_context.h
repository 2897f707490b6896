#pragma once

// What the realignment needs of the host's aligner: the aligner itself and its input on the reference
// model's general mesh ("GenModel"), which answers closest points on the reference surface. Made on
// activation, released on deactivation. Main thread only.

#include <memory>
#include <vector>

#include "commands/alignment/iterative/target_data.h"
#include "framework/object/iptr.h"
#include "host_api/aligner.h"

class IZelDocObject;

struct AlignerContext {
  std::vector<TargetData>* targets = nullptr;  // the command's list, not owned
  IPtr<IAligner> aligner;                      // empty when the set-up failed
  IPtr<IAligner_Input> input;
};

// The context on refObj_'s "GenModel"; null when the model, its mesh or its data is missing. A null reference
// is a failed assertion ("refObj_").
std::unique_ptr<AlignerContext> createAlignerContext(IZelDocObject* refObj_,
                                                     std::vector<TargetData>& targets);
