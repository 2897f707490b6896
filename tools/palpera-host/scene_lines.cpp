#include "scene_lines.h"

#include "host/core/field_escape.h"
#include "platform/utf8.h"

namespace {

void addTree(IZelUnknown* node, size_t depth, std::vector<std::string>& lines) {
  void* part = nullptr;
  node->queryInterface(HostNode::interfaceName, &part, false);
  if (!part) {
    lines.push_back(std::string(2 * depth, ' ') + escapeField(node->className()) + "\t(not the host's)");
    return;
  }
  const HostNode& host = *static_cast<HostNode*>(part);
  std::string line =
      std::string(2 * depth, ' ') + escapeField(node->className()) + "\t'" + escapeField(host.name()) + "'";
  if (!host.visible()) line += "\thidden";
  if (std::string detail = host.describe(); !detail.empty()) line += "\t" + escapeField(detail);
  lines.push_back(line);
  for (const IPtr<IZelUnknown>& child : host.children()) addTree(child.get(), depth + 1, lines);
}

}  // namespace

std::vector<std::string> sceneLines(HostSession& session) {
  std::vector<std::string> lines;
  addTree(static_cast<IZelGroupNode*>(&session.host.document().graphics().root()), 0, lines);
  for (const IPtr<HostDocObject>& object : session.host.document().doc().objects()) {
    lines.push_back("object " + escapeField(platform::toUtf8(object->name())));
    addTree(static_cast<IZelGroupNode*>(&object->graphics().node()), 0, lines);
  }
  return lines;
}
