#include "ui/overlay/info_graphics_image_source.h"

#include <vector>

#include "basic_types/string_utilities.h"
#include "framework/files/zel_path.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host_api/host_class_ids.h"
#include "host_api/zel_dir_service.h"

namespace {

// The host's folder of tile markup, beside its program.
ZelString markupFolder(IZelDirService& directories) {
  ZelString folder = ZelPath::directoryForm(directories.directory("exe"));
  ZelPath::append(folder, ZelString("xaml"));
  return folder;
}

ZelString inFolder(const ZelString& folder, const char* name) {
  ZelString path = folder;
  ZelPath::append(path, ZelString(name));
  return path;
}

}  // namespace

HardProbeInfoGraphicsImageSource::HardProbeInfoGraphicsImageSource(const ZelCString& controls) {
  renderer_.createInstance(kHostXamlImageRendererClassId);
  viewMgr_.getService();
  const std::vector<ZelCString> names = splitOutsideBrackets(controls, ZelCString(","));
  SPtr<IZelDirService> directories;
  if (!directories || !renderer_) return;
  const ZelString folder = markupFolder(*directories);
  std::vector<ZelString> paths;
  for (const ZelCString& name : names) paths.push_back(inFolder(folder, name.c_str()));
  renderer_->load(paths, inFolder(folder, kCommonResources));
}

bool HardProbeInfoGraphicsImageSource::needsUpdate() {
  return renderer_ && renderer_->needsUpdate();
}

bool HardProbeInfoGraphicsImageSource::render(IZelImage* image) {
  if (!renderer_ || !viewMgr_) return false;
  IGfxView* view = queryPart<IGfxView>(viewMgr_->currentView());
  if (!view) return false;
  renderer_->setSize(view->width(), view->height());
  return renderer_->render(image);
}

void HardProbeInfoGraphicsImageSource::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).end();
}
