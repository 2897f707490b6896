// The iterative alignment's hot paths, each beside its peer in the same run (beside_peer.h):
// - one realignment (updateAlignment) of 6, 60 and 600 measured targets on a box, beside the host's pair fit
//   and surface refinement called alone on the same points (`vs_host_fit`): the module's share is the
//   difference, its arrays, closest points, deviations and graphics;
// - building the target graphics of 10, 100 and 1,000 targets, beside making the same nodes straight through
//   the node factory without shapes or sources (`vs_bare_nodes`).

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "basic_types/zel_cstring.h"
#include "bench_host.h"
#include "beside_peer.h"
#include "commands/alignment/iterative/iterative_realignment.h"
#include "commands/alignment/iterative/target_graphics.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "host/cad/cad_model.h"
#include "host/cad/host_aligner.h"
#include "host_api/zel_material_nodes.h"
#include "host_api/zel_node_factory.h"
#include "host_api/zel_style_nodes.h"

namespace {

using Target = PalperaIterativeAlignmentCmd::Target;
constexpr double kRadius = .003;

Matrix4x4 pose() {
  return Matrix4x4::translation({.05, -.03, .02}) *
         Matrix4x4::rotation({1, 1, 1}, 10 * std::numbers::pi / 180);
}

// n targets on the top, front and end faces of the box [0, .2] x [0, .1] x [0, .02], touched 0.3 mm beside
// their picks and measured at the pose.
std::vector<TargetData> touchedTargets(int n) {
  const Vector3 normals[3] = {{0, 0, 1}, {0, -1, 0}, {-1, 0, 0}};
  std::vector<TargetData> targets;
  for (int i = 0; i < n; ++i) {
    const double s = (i / 3 + 1.0) / (n / 3 + 2.0);
    const Vector3 picks[3] = {{.2 * s, .1 * (1 - s), .02}, {.2 * s, 0, .02 * (1 - s)}, {0, .1 * s, .02 * s}};
    TargetData& entry = targets.emplace_back();
    entry.nominal = IPtr<Target>(new Target);
    entry.nominal->point = picks[i % 3];
    entry.nominal->direction = normals[i % 3];
    entry.nominal->criticalDistance = .02;
    entry.measured = IPtr<Target>(new Target);
    const Vector3 touched = picks[i % 3] + Vector3::perpendicularPart({.0003, .0003, .0003}, normals[i % 3]);
    entry.measured->point = Matrix4x4::transformPoint(pose(), touched + kRadius * normals[i % 3]);
    entry.probeRadius = kRadius;
    entry.tolerance = .001;
  }
  return targets;
}

template <class T>
std::unique_ptr<ZelChunkedArray> records(const std::vector<T>& values) {
  auto array = std::make_unique<ZelChunkedArray>(sizeof(T), 10);
  array->createChunks(static_cast<int32_t>(values.size()) + 1);
  for (size_t i = 0; i < values.size(); ++i)
    *reinterpret_cast<T*>(array->element(static_cast<int32_t>(i) + 1)) = values[i];
  return array;
}

void BM_UpdateAlignment(benchmark::State& state) {
  BenchHost& bench = attachModule();
  IPtr<HostDocObject> reference =
      addCadModel(bench.host.document().doc(), u"RefObject", boxModel({0, 0, 0}, {.2, .1, .02}));
  std::vector<TargetData> targets = touchedTargets(static_cast<int>(state.range(0)));
  IterativeRealignment realignment({&targets, reference.get(), nullptr, nullptr, nullptr});

  // The peer's arrays, as the module hands them over.
  std::vector<Vector3> measured, normals;
  std::vector<AlignerPointPair> nominal;
  for (const TargetData& entry : targets) {
    measured.push_back(entry.measured->point);
    nominal.push_back({entry.nominal->point + kRadius * entry.nominal->direction, entry.nominal->direction});
    normals.push_back(entry.nominal->direction);
  }
  const auto n = static_cast<int32_t>(targets.size());
  IPtr<HostAligner> aligner(new HostAligner);
  aligner->setInput(realignment.alignerContext()->input.get());
  const auto measuredArray = records(measured), nominalArray = records(nominal),
             normalArray = records(normals);
  Matrix4x4 fit;
  aligner->fitPairs(n, *measuredArray, *nominalArray, fit);
  std::vector<Vector3> moved;
  for (const Vector3& p : measured) moved.push_back(Matrix4x4::transformPoint(Matrix4x4::inverse(fit), p));
  const auto movedArray = records(moved);

  runBesidePeer(
      state, n, "host_fit", [&] { benchmark::DoNotOptimize(realignment.updateAlignment()); },
      [&] {
        Matrix4x4 pairs, refined;
        benchmark::DoNotOptimize(aligner->fitPairs(n, *measuredArray, *nominalArray, pairs));
        benchmark::DoNotOptimize(aligner->refine(n, *movedArray, *normalArray, refined, false, false, 0,
                                                 nullptr, .01, false, kRadius));
      });
  bench.host.document().doc().remove(reference.get());
}
BENCHMARK(BM_UpdateAlignment)->Arg(6)->Arg(60)->Arg(600)->Unit(benchmark::kMillisecond);

// The nodes of one target's scene, made bare: the same kinds under the same parents.
void bareTargetNodes(IZelUnknown* root) {
  IZelUnknown* target = createNode<IZelSeparatorNode>(root, "target separator");
  IZelUnknown* bullseye = createNode<IZelSeparatorNode>(target, "bullseye separator");
  createNode<IZelColorNode>(bullseye, "node");
  createNode<IZelStaticIteratorNode>(bullseye, "node", nullptr);
  IZelUnknown* highlight = createNode<IZelVisibilitySensitiveNode>(bullseye, "node");
  createNode<IZelMaterialNode>(highlight, "node");
  createNode<IZelStaticIteratorNode>(highlight, "node", nullptr);
  for (int i = 0; i < 3; ++i) {
    createNode<IZelMaterialSourceNode>(bullseye, "node");
    createNode<IZelStaticIteratorNode>(bullseye, "node", nullptr);
  }
  createNode<IZelText>(createNode<IZelSeparatorNode>(target, "label separator"), "node");
  IZelUnknown* zone = createNode<IZelSeparatorNode>(target, "tolerance zone separator");
  createNode<IZelColorNode>(zone, "node");
  createNode<IZelDrawStyleNode>(zone, "node");
  createNode<IZelStaticIteratorNode>(zone, "node", nullptr);
}

void BM_BuildTargetGraphics(benchmark::State& state) {
  BenchHost& bench = attachModule();
  std::vector<TargetData> targets = touchedTargets(static_cast<int>(state.range(0)));
  IPtr<IZelSeparatorNode> root(createNode<IZelSeparatorNode>(nullptr, "root"));
  IPtr<IZelSeparatorNode> peerRoot(createNode<IZelSeparatorNode>(nullptr, "peer root"));
  auto* group = queryPart<IZelGroupNode>(root.get());
  auto* peerGroup = queryPart<IZelGroupNode>(peerRoot.get());
  TargetGraphics graphics(group, targets, nullptr);
  runBesidePeer(
      state, static_cast<int64_t>(targets.size()), "bare_nodes", [&] { graphics.buildTargetGraphics(); },
      [&] {
        peerGroup->removeAllChildren();
        for (size_t i = 0; i < targets.size(); ++i) bareTargetNodes(peerRoot.get());
      });
  (void)bench;
}
BENCHMARK(BM_BuildTargetGraphics)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
