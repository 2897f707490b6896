#include "commands/alignment/plane_probing/plane_probing_instructions.h"

#include <algorithm>

#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "framework/translation/tr.h"
#include "ui/instructions/zel_user_instructions.h"
#include "ui/tiles/hard_probe_tile_facade.h"
#include "ui/tiles/zel_hard_probe_tile.h"

namespace {

constexpr const char* kInstructionsTile = "hardprobe instructions tile";

constexpr const char* kPlaneInstructions[] = {
    "1. Define 3 points on Plane 1 using the SAMPLE button.\n2. Define the offset direction by probing a "
    "single point above the plane using the STOP button.",
    "1. Define 2 points on Plane 2 using the SAMPLE button.\n2. Define the offset direction by probing a "
    "single point above the plane using the STOP button.",
    "1. Define 1 point on Plane 3 using the SAMPLE button.\n2. Define the offset direction by probing a "
    "single point above the plane using the STOP button.",
};

}  // namespace

void showPlaneInstructionsTile(bool show) {
  IPtr<IZelHardProbeTile> tile = tileFacade();
  if (!tile) return;
  tile->showTile(ZelCString(kInstructionsTile), show);
  if (!show) tile->clear();
}

void showPlaneProbingInstructions(int plane) {
  IPtr<IZelMutableUserInstructions> instructions;
  instructions.createInstance(classIdOf("UserInstructions"));
  IPtr<IZelHardProbeTile> tile = tileFacade();
  if (!instructions || !tile) return;
  instructions->setBrief(tr(kPlaneInstructions[std::clamp(plane, 1, 3) - 1]));
  tile->setInstructions("FullInstructions", queryPart<IZelUserInstructions>(instructions.get()));
}
