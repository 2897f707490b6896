#include <cstdio>
#include <string>
#include <vector>

#include "host/gui/png_image.h"
#include "host/scene/host_frame.h"
#include "module_objects.h"
#include "script_actions.h"
#include "ui/tiles/zel_hard_probe_tile.h"

// Lets a person look at a rendered information tile: shown as a command shows it, drawn in one frame of the
// view, hidden again, so that each line draws its own tile, and written to a PNG file.
void writeTileImage(HostSession& session, const ScriptWords& words) {
  IPtr<IZelHardProbeTile> tile = createModuleObject<IZelHardProbeTile>(session, "HardProbeTileFacade");
  const ZelCString name(words[0].c_str());
  HostGroupNode& scene = session.host.document().graphics().root();
  const ScriptError notDrawn("the view draws no information tile named \"" + words[0] + "\"");
  // Hiding under a name the overlay renders takes away whatever tile it shows; under any other name the
  // overlay stays as it is, and would show another tile's picture under this name.
  tile->showTile(name, false);
  if (!drawFrame(scene).empty()) throw notDrawn;
  tile->showTile(name, true);
  const std::vector<DrawnImage> drawn = drawFrame(scene);
  tile->showTile(name, false);
  if (drawn.empty()) throw notDrawn;
  std::string error;
  if (!writePng(drawn.front().picture, words[1], error)) throw ScriptError(error);
  std::printf("tile %s: %u x %u pixels written to %s\n", words[0].c_str(), drawn.front().picture.width,
              drawn.front().picture.height, words[1].c_str());
}
