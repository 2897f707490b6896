#include "commands/capture/capture_info_tile.h"

#include "framework/object/iptr.h"
#include "host_api/module_class_ids.h"
#include "ui/tiles/zel_hard_probe_tile.h"

void showInfoTile(bool on) {
  IPtr<IZelHardProbeTile> tile;
  tile.createInstance(kHardProbeTileFacadeClassId);
  if (!tile) return;
  tile->setFlag("ShowFeatureInfo", 0);
  tile->setFlag("ShowBriefInstructions", 0);
  tile->setActive(on);
  tile->showTile(ZelCString("hardprobe info tile"), on);
  if (!on) tile->clear();
}
