#include "host/cad/kernel/box_tree.h"

#include <algorithm>
#include <limits>
#include <queue>

namespace {

constexpr uint32_t kLeafSize = 4;

BoxTree::Box emptyBox() {
  const double far = std::numeric_limits<double>::infinity();
  return {far, far, far, -far, -far, -far};
}

void enclose(BoxTree::Box& box, const BoxTree::Box& other) {
  for (int k = 0; k < 3; ++k) {
    box[k] = std::min(box[k], other[k]);
    box[k + 3] = std::max(box[k + 3], other[k + 3]);
  }
}

}  // namespace

BoxTree::BoxTree(std::vector<Box> boxes) : boxes_(std::move(boxes)) {
  for (uint32_t i = 0; i < boxes_.size(); ++i) items_.push_back(i);
  if (!items_.empty()) build(0, static_cast<uint32_t>(items_.size()));
}

double BoxTree::distance2(const Box& box, const Point& p) {
  double sum = 0;
  for (int k = 0; k < 3; ++k) {
    const double d = p[k] < box[k] ? box[k] - p[k] : (p[k] > box[k + 3] ? p[k] - box[k + 3] : 0);
    sum += d * d;
  }
  return sum;
}

// Splits at the median of the box centres along the widest extent of the centres.
uint32_t BoxTree::build(uint32_t first, uint32_t count) {
  const uint32_t index = static_cast<uint32_t>(nodes_.size());
  nodes_.push_back({emptyBox()});
  Box around = emptyBox(), centres = emptyBox();
  for (uint32_t i = first; i < first + count; ++i) {
    const Box& b = boxes_[items_[i]];
    enclose(around, b);
    const Box centre{(b[0] + b[3]) / 2, (b[1] + b[4]) / 2, (b[2] + b[5]) / 2,
                     (b[0] + b[3]) / 2, (b[1] + b[4]) / 2, (b[2] + b[5]) / 2};
    enclose(centres, centre);
  }
  nodes_[index].box = around;
  if (count <= kLeafSize) {
    nodes_[index].first = first;
    nodes_[index].count = count;
    return index;
  }
  int axis = 0;
  for (int k = 1; k < 3; ++k) {
    if (centres[k + 3] - centres[k] > centres[axis + 3] - centres[axis]) axis = k;
  }
  const auto begin = items_.begin() + first, middle = begin + count / 2, end = begin + count;
  std::nth_element(begin, middle, end, [&](uint32_t a, uint32_t b) {
    return boxes_[a][axis] + boxes_[a][axis + 3] < boxes_[b][axis] + boxes_[b][axis + 3];
  });
  const uint32_t left = build(first, count / 2);
  const uint32_t right = build(first + count / 2, count - count / 2);
  nodes_[index].left = left;
  nodes_[index].right = right;
  return index;
}

void BoxTree::visit(const Point& p, const double& bestDistance2,
                    const std::function<void(uint32_t)>& tryItem) const {
  if (nodes_.empty()) return;
  using Entry = std::pair<double, uint32_t>;  // a node's box distance, the node
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
  open.emplace(distance2(nodes_[0].box, p), 0);
  while (!open.empty()) {
    const auto [bound, index] = open.top();
    open.pop();
    if (bound >= bestDistance2) break;
    const Node& node = nodes_[index];
    if (node.count == 0) {
      open.emplace(distance2(nodes_[node.left].box, p), node.left);
      open.emplace(distance2(nodes_[node.right].box, p), node.right);
      continue;
    }
    for (uint32_t i = node.first; i < node.first + node.count; ++i) {
      if (distance2(boxes_[items_[i]], p) < bestDistance2) tryItem(items_[i]);
    }
  }
}
