#include "framework/host_glue/renderer_scope.h"

#include "framework/object/iptr.h"
#include "host_api/gfx_renderer.h"

RendererScope::RendererScope() {
  SPtr<IGfxRenderer> renderer;
  if (!renderer) return;
  renderer->beginUpdate();
  count_ = 1;
}

RendererScope::~RendererScope() {
  if (count_ <= 0) return;
  SPtr<IGfxRenderer> renderer;
  if (renderer) renderer->endUpdate();
  --count_;
}

void requestRedraw(bool now) {
  SPtr<IGfxRenderer> renderer;
  if (renderer) renderer->redraw(now);
}
