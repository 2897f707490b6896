#pragma once

// Brackets a batch of view changes so the host shows them together: begin-update on construction, end-update
// on destruction. Scopes nest. Without the host's renderer nothing is called.
class RendererScope {
 public:
  RendererScope();
  RendererScope(const RendererScope&) = delete;
  RendererScope& operator=(const RendererScope&) = delete;
  ~RendererScope();

 private:
  int count_ = 0;
};

// Asks the host's renderer to redraw the view; nothing without a renderer.
void requestRedraw(bool now);
