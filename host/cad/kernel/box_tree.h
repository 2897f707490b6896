#pragma once

// A bounding-box tree over items (a model's faces or edges), for the nearest item to a point: items are
// tried nearest box first, and a subtree whose box is farther than the best answer so far is never entered.

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

class BoxTree {
 public:
  // Minimum x, y, z, then maximum x, y, z; an empty box has its minimum above its maximum.
  using Box = std::array<double, 6>;
  using Point = std::array<double, 3>;
  // The squared distance of the point to item i and the answer there; none when the item has no answer.
  template <class Answer>
  using Exact = std::function<std::optional<std::pair<double, Answer>>(uint32_t)>;

  BoxTree() = default;
  explicit BoxTree(std::vector<Box> boxes);

  // The answer of the item nearest to p by the exact measure.
  template <class Answer>
  std::optional<Answer> nearest(const Point& p, const Exact<Answer>& exact) const {
    std::optional<Answer> best;
    double bestDistance2 = kFar;
    visit(p, bestDistance2, [&](uint32_t item) {
      if (auto found = exact(item); found && found->first < bestDistance2) {
        bestDistance2 = found->first;
        best = std::move(found->second);
      }
    });
    return best;
  }

  static double distance2(const Box& box, const Point& p);

 private:
  static constexpr double kFar = std::numeric_limits<double>::infinity();
  struct Node {
    Box box;
    uint32_t first = 0;  // into items_, for a leaf
    uint32_t count = 0;  // 0 for an inner node
    uint32_t left = 0, right = 0;
  };

  uint32_t build(uint32_t first, uint32_t count);
  // Calls tryItem for every item whose box is nearer than bestDistance2, which it may lower, nearest first.
  void visit(const Point& p, const double& bestDistance2, const std::function<void(uint32_t)>& tryItem) const;

  std::vector<Box> boxes_;
  std::vector<uint32_t> items_;
  std::vector<Node> nodes_;
};
