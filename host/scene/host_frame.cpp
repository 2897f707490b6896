#include "host/scene/host_frame.h"

#include "framework/object/query_part.h"
#include "host_api/zel_image_itr.h"

namespace {

bool shown(IZelUnknown* node) {
  if (auto* sensitive = queryPart<HostVisibilitySensitiveNode>(node)) return sensitive->drawnInCurrentView();
  auto* plain = queryPart<HostNode>(node);
  return plain && plain->visible();
}

void drawImages(HostStaticIteratorNode& drawing, std::vector<DrawnImage>& drawn) {
  int32_t format = 0;
  const std::vector<Vector3> anchors = drawing.drawFrame(format);
  auto* images = queryPart<IZelImageItr>(drawing.iterator());
  auto* node = images ? queryPart<HostImageNode>(images->image()) : nullptr;
  std::optional<DecodedImage> picture = node ? node->hostImage().picture() : std::nullopt;
  if (!picture) return;
  for (const Vector3& anchor : anchors) drawn.push_back({anchor, *picture});
}

void drawUnder(IZelUnknown* node, std::vector<DrawnImage>& drawn) {
  if (!shown(node)) return;
  if (auto* drawing = queryPart<HostStaticIteratorNode>(node)) drawImages(*drawing, drawn);
  for (const IPtr<IZelUnknown>& child : queryPart<HostNode>(node)->children()) drawUnder(child.get(), drawn);
}

}  // namespace

std::vector<DrawnImage> drawFrame(HostGroupNode& root) {
  std::vector<DrawnImage> drawn;
  drawUnder(static_cast<IZelNode*>(&root), drawn);
  return drawn;
}
