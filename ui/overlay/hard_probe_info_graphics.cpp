#include "ui/overlay/hard_probe_info_graphics.h"

#include "framework/object/host_lookup.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "host_api/zel_doc.h"
#include "ui/overlay/info_graphics_iterator.h"
#include "ui/overlay/single_frame_visibility_source.h"

namespace {

const ClassRegistration<HardProbeInfoGraphics> registration(registeredClass("HardProbeInfoGraphics"));

}  // namespace

HardProbeInfoGraphics::HardProbeInfoGraphics() {
  SPtr<IGfxDoc> doc;
  if (doc) root_ = doc->sceneRoot();
  auto* sensitive =
      createNode<IZelVisibilitySensitiveNode>(root_.get(), "hard probe info graphics separator");
  if (sensitive) {
    sensitive->setVisibilitySource(IPtr<IZelVisibilitySource>(new SingleFrameVisibilitySource).get());
    separator_ = queryPart<IZelSeparatorNode>(sensitive);
  }
  // The overlay is drawn over the model, never hidden behind it.
  if (auto* depthTest = createNode<IZelDepthTestNode>(separator_.get(), "node"))
    depthTest->setDepthTest(false);
  iterator_ = new Iterator;
  if (auto* drawing = createNode<IZelStaticIteratorNode>(separator_.get(), "node", iterator_.get()))
    drawing->setInBounds(false);
}

HardProbeInfoGraphics::~HardProbeInfoGraphics() {
  if (root_ && separator_) root_->removeChild(separator_.get());
}

void HardProbeInfoGraphics::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).end();
}
