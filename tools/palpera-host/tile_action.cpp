#include <cstdio>
#include <string>
#include <vector>

#include "host/gui/png_image.h"
#include "host/scene/host_frame.h"
#include "module_objects.h"
#include "script_actions.h"
#include "ui/tiles/zel_hard_probe_tile.h"

// Lets a person look at a rendered information tile: shown as a command shows it, drawn in one frame of the
// view, written to a PNG file.
void writeTileImage(HostSession& session, const ScriptWords& words) {
  IPtr<IZelHardProbeTile> tile = createModuleObject<IZelHardProbeTile>(session, "HardProbeTileFacade");
  tile->showTile(ZelCString(words[0].c_str()), true);
  const std::vector<DrawnImage> drawn = drawFrame(session.host.document().graphics().root());
  if (drawn.empty()) throw ScriptError("the view draws no information tile named \"" + words[0] + "\"");
  std::string error;
  if (!writePng(drawn.front().picture, words[1], error)) throw ScriptError(error);
  std::printf("tile %s: %u x %u pixels written to %s\n", words[0].c_str(), drawn.front().picture.width,
              drawn.front().picture.height, words[1].c_str());
}
