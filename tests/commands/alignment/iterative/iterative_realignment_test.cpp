// The realignment on a box of 200 x 100 x 20 mm, probed as the device sees it at a known pose, through the
// stand-in host's aligner, closest points, plug-in and dialog.

#include "commands/alignment/iterative/iterative_realignment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "commands/alignment/iterative/target_graphics.h"
#include "framework/host_glue/unit_service.h"
#include "framework/object/host_lookup.h"
#include "host/cad/cad_model.h"
#include "host/cad/host_aligner.h"
#include "host/cad/mesh_shapes.h"
#include "host/core/host_unit_service.h"
#include "platform/utf8.h"
#include "support/emulator_ball.h"
#include "support/expect_matrix_near.h"
#include "test_paths.h"
#include "tests/commands/support/hard_probe_fixture.h"

namespace {

using Target = PalperaIterativeAlignmentCmd::Target;
constexpr double kTolerance = .001;

// The pose at which the device sees the box: a 10° turn about (1, 1, 1), then a shift.
Matrix4x4 pose() {
  return Matrix4x4::translation({.05, -.03, .02}) *
         Matrix4x4::rotation({1, 1, 1}, 10 * std::numbers::pi / 180);
}

// The host's aligner, with every call recorded and the refinement made to fail on demand after writing
// junk into its matrix.
class RecordingAligner : public IAligner, public HostUnknown {
 public:
  void setInput(IAligner_Input* input) override { aligner_->setInput(input); }
  bool fitPairs(int32_t count, const ZelChunkedArray& measured, const ZelChunkedArray& nominal,
                Matrix4x4& result) override {
    if (failPairFit) {
      result = Matrix4x4::scaling(3, 3, 3);
      return false;
    }
    const bool fitted = aligner_->fitPairs(count, measured, nominal, result);
    pairFit = result;
    recordCapacity = measured.count();
    return fitted;
  }
  bool refine(int32_t count, const ZelChunkedArray& points, const ZelChunkedArray& normals, Matrix4x4& matrix,
              bool a, bool b, int32_t mode, IZelUnknown* selection, double tolerance, bool c,
              double offset) override {
    ++refinements;
    startedFrom = matrix;
    refineTolerance = tolerance;
    refineOffset = offset;
    if (failRefinement) {
      matrix = Matrix4x4::scaling(2, 2, 2);
      return false;
    }
    return aligner_->refine(count, points, normals, matrix, a, b, mode, selection, tolerance, c, offset);
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("RecordingAligner", this, this).offer<IAligner>(this).end();
  }
  const char* className() override { return "RecordingAligner"; }

  Matrix4x4 pairFit;
  Matrix4x4 startedFrom;
  int32_t recordCapacity = 0;
  int refinements = 0;
  double refineTolerance = 0;
  double refineOffset = 0;
  bool failRefinement = false;
  bool failPairFit = false;

 private:
  IPtr<HostAligner> aligner_{new HostAligner};
};

// A picked target, and where it was touched beside its pick (in millimetres, across its normal).
struct Touch {
  Vector3 pick;
  Vector3 normal;
  Vector3 offsetMm;
};

const std::vector<Touch> k321Touches = {
    {{.05, .03, .02}, {0, 0, 1}, {.5, 0, 0}}, {{.15, .03, .02}, {0, 0, 1}, {0, -.5, 0}},
    {{.1, .08, .02}, {0, 0, 1}, {.3, 0, 0}},  {{.05, 0, .01}, {0, -1, 0}, {.4, 0, 0}},
    {{.15, 0, .01}, {0, -1, 0}, {0, 0, -.4}}, {{0, .05, .01}, {-1, 0, 0}, {0, .5, 0}},
};

class IterativeRealignmentTest : public HardProbeTest {
 protected:
  void SetUp() override {
    HardProbeTest::SetUp();
    reference_ = addCadModel(host_.document().doc(), u"RefObject", boxModel({0, 0, 0}, {.2, .1, .02}));
    ASSERT_TRUE(reference_);
    host_.root().setService(IAligner::interfaceName, aligner_.get());
    ASSERT_TRUE(
        host_.gui().dialog().addControl(IterativeRealignment::kStatisticsLabel, "text", ZelString("")));
    ASSERT_TRUE(UnitService::setCurrentLengthUnit(HostUnitService::kMillimetre));
    host_.core().dataStore().setInt(nullptr, "General/Decimal Places", 3);
    root_ = createNode<IZelSeparatorNode>(nullptr, "root");
  }
  void TearDown() override {
    realignment_.reset();
    graphics_.reset();
    host_.root().setService(IAligner::interfaceName, nullptr);
    HardProbeTest::TearDown();
  }

  IterativeRealignment& realignment() {
    if (!realignment_) {
      graphics_ =
          std::make_unique<TargetGraphics>(queryPart<IZelGroupNode>(root_.get()), targets_, reference_.get());
      realignment_ = std::make_unique<IterativeRealignment>(IterativeRealignment::Parts{
          &targets_, reference_.get(), graphics_.get(), &host_.gui().dialog(), nullptr});
    }
    return *realignment_;
  }
  // A target picked at touch.pick, measured where the device sees the probe centre over the touched point.
  TargetData& addTouched(const Touch& touch) {
    TargetData& entry = targets_.emplace_back();
    entry.nominal = IPtr<Target>(new Target);
    entry.nominal->point = touch.pick;
    entry.nominal->direction = touch.normal;
    entry.nominal->criticalDistance = .02;
    entry.measured = IPtr<Target>(new Target);
    entry.measured->point = Matrix4x4::transformPoint(
        pose(), touch.pick + touch.offsetMm * .001 + kEmulatorBallRadius * touch.normal);
    entry.probeRadius = kEmulatorBallRadius;
    entry.tolerance = kTolerance;
    return entry;
  }
  std::string label() {
    return platform::toUtf8(
        host_.gui().dialog().control(IterativeRealignment::kStatisticsLabel)->text.c_str());
  }
  // How far the box's corners land from where they belong under an alignment, at the most.
  static double cornerError(const Matrix4x4& alignment) {
    double worst = 0;
    for (int corner = 0; corner < 8; ++corner) {
      const Vector3 p{corner & 1 ? .2 : 0, corner & 2 ? .1 : 0, corner & 4 ? .02 : 0};
      worst = std::max(worst, (Matrix4x4::transformPoint(alignment * pose(), p) - p).length());
    }
    return worst;
  }

  IPtr<RecordingAligner> aligner_{new RecordingAligner};
  IPtr<HostDocObject> reference_;
  IPtr<IZelSeparatorNode> root_;
  std::vector<TargetData> targets_;
  std::unique_ptr<TargetGraphics> graphics_;
  std::unique_ptr<IterativeRealignment> realignment_;
};

TEST_F(IterativeRealignmentTest, TwoMeasuredTargetsGiveNoAlignmentAndTheFailureMatrix) {
  plugin_->setHardwareMatrix(Matrix4x4::translation({1, 2, 3}));
  addTouched(k321Touches[0]);
  addTouched(k321Touches[1]);
  EXPECT_FALSE(realignment().updateAlignment());
  EXPECT_FALSE(realignment().isAligned());
  expectMatrixNear(plugin_->hardwareMatrix(), Matrix4x4::identity(), 0);
  EXPECT_EQ(label(), "Maximum Distance:\nAverage Distance:\nStandard Deviation:");
  EXPECT_TRUE(isUnset(targets_[0].alignErrorValue()));
  // The command's own failure matrix goes to the device instead, when it has one.
  realignment().setNoAlignmentMatrix(Matrix4x4::translation({0, 0, .1}));
  realignment().updateAlignment();
  expectMatrixNear(plugin_->hardwareMatrix(), Matrix4x4::translation({0, 0, .1}), 0);
}

TEST_F(IterativeRealignmentTest, ThreeExactTouchesArePairFittedWithoutRefinement) {
  for (const Touch& touch : {k321Touches[0], k321Touches[3], k321Touches[5]})
    addTouched({touch.pick, touch.normal, {}});
  // A target not yet measured is not counted.
  targets_.emplace_back().nominal = IPtr<Target>(new Target);
  ASSERT_TRUE(realignment().updateAlignment());
  EXPECT_TRUE(realignment().isAligned());
  EXPECT_EQ(aligner_->refinements, 0);
  EXPECT_EQ(aligner_->recordCapacity, 4);  // records 1 to 3
  expectMatrixNear(plugin_->hardwareMatrix(), Matrix4x4::inverse(pose()), 1e-9);
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(targets_[i].alignErrorValue(), 0, 1e-9);
    EXPECT_TRUE(targets_[i].isInTolerance());
    expectMatrixNear(targets_[i].matrix, Matrix4x4::inverse(pose()), 1e-9);
  }
  EXPECT_TRUE(isUnset(targets_[3].alignErrorValue()));
  EXPECT_EQ(label(),
            "Maximum Distance: 0.000 mm\nAverage Distance: 0.000 mm\nStandard Deviation: 0.000 mm\n");
  // The graphics were rebuilt with the new surface points.
  EXPECT_EQ(queryPart<HostNode>(root_.get())->children().size(), 4u);
}

TEST_F(IterativeRealignmentTest, RefinementRecoversThePoseFromTouchesBesideTheirPicks) {
  for (const Touch& touch : k321Touches) addTouched(touch);
  ASSERT_TRUE(realignment().updateAlignment());
  ASSERT_EQ(aligner_->refinements, 1);
  EXPECT_EQ(aligner_->refineTolerance, .01);
  EXPECT_EQ(aligner_->refineOffset, kEmulatorBallRadius);
  expectMatrixNear(aligner_->startedFrom, Matrix4x4::identity(), 0);
  // The pair fit alone is off by more than half a millimetre at the corners.
  const double pairError = cornerError(Matrix4x4::inverse(aligner_->pairFit));
  EXPECT_GT(pairError, .0005);
  EXPECT_LT(pairError, .0006);

  expectMatrixNear(plugin_->hardwareMatrix(), Matrix4x4::inverse(pose()), 1e-9);
  for (size_t i = 0; i < targets_.size(); ++i) {
    SCOPED_TRACE(i);
    const TargetData& entry = targets_[i];
    EXPECT_NEAR(entry.alignErrorValue(), 0, 1e-9);
    ASSERT_TRUE(entry.surface);
    const Vector3 sideways =
        Vector3::perpendicularPart(entry.surface->point - entry.nominal->point, entry.nominal->direction);
    // The host's closest point on the faces is single precision: a few nanometres along the face.
    EXPECT_NEAR(sideways.length(), k321Touches[i].offsetMm.length() * .001, 1e-8);
    EXPECT_EQ(entry.surface->direction, k321Touches[i].normal);
    EXPECT_TRUE(entry.isInTolerance());
  }
}

TEST_F(IterativeRealignmentTest, TouchesOnOneFaceLeaveTheFreeDirectionsToThePairFit) {
  const Vector3 up{0, 0, 1};
  for (const Touch& touch : std::vector<Touch>{{{.02, .02, .02}, up, {.5, 0, 0}},
                                               {{.18, .02, .02}, up, {0, -.5, 0}},
                                               {{.1, .05, .02}, up, {.3, .3, 0}},
                                               {{.02, .08, .02}, up, {-.4, 0, 0}},
                                               {{.18, .08, .02}, up, {0, .4, 0}},
                                               {{.1, .09, .02}, up, {.2, -.2, 0}}})
    addTouched(touch);
  ASSERT_TRUE(realignment().updateAlignment());
  EXPECT_EQ(aligner_->refinements, 1);
  EXPECT_LE(cornerError(plugin_->hardwareMatrix()),
            cornerError(Matrix4x4::inverse(aligner_->pairFit)) + 1e-9);
  for (const TargetData& entry : targets_) EXPECT_NEAR(entry.alignErrorValue(), 0, 1e-9);
}

TEST_F(IterativeRealignmentTest, AFailedPairFitOrRefinementLeavesTheIdentityOnTheDevice) {
  for (const Touch& touch : k321Touches) addTouched(touch);
  for (bool* failing : {&aligner_->failRefinement, &aligner_->failPairFit}) {
    SCOPED_TRACE(failing == &aligner_->failPairFit ? "pair fit" : "refinement");
    *failing = true;
    plugin_->setHardwareMatrix(pose());
    EXPECT_FALSE(realignment().updateAlignment());
    expectMatrixNear(plugin_->hardwareMatrix(), Matrix4x4::identity(), 0);
    for (const TargetData& entry : targets_) {
      expectMatrixNear(entry.matrix, Matrix4x4::identity(), 0);
      EXPECT_TRUE(isUnset(entry.alignErrorValue()));
    }
    EXPECT_EQ(label(), "Maximum Distance:\nAverage Distance:\nStandard Deviation:");
    Matrix4x4 M = pose();
    EXPECT_FALSE(IterativeRealignment::computeAlignment(*realignment().alignerContext(), M));
    expectMatrixNear(M, Matrix4x4::identity(), 0);
    *failing = false;
  }
}

TEST_F(IterativeRealignmentTest, WithoutGeneralModelEveryAlignmentFails) {
  IPtr<HostDocObject> bare = host_.document().doc().add({kCadType, u"Bare", std::nullopt, {}, {}}, false);
  for (const Touch& touch : k321Touches) addTouched(touch);
  IterativeRealignment realignment({&targets_, bare.get(), nullptr, nullptr, nullptr});
  EXPECT_FALSE(realignment.alignerContext());
  EXPECT_FALSE(realignment.pointFinder());
  EXPECT_FALSE(realignment.updateAlignment());
  expectMatrixNear(plugin_->hardwareMatrix(), Matrix4x4::identity(), 0);
}

TEST_F(IterativeRealignmentTest, ArraysAreSizedForRecordsOneToN) {
  // Large lists cross pages: 600 targets need two pages of 512 pairs.
  for (int i = 0; i < 600; ++i) {
    const Touch& touch = k321Touches[i % 6];
    addTouched({touch.pick + Vector3{0, 0, 0}, touch.normal, {}});
  }
  ASSERT_TRUE(realignment().updateAlignment());
  EXPECT_EQ(aligner_->recordCapacity, 601);
  expectMatrixNear(plugin_->hardwareMatrix(), Matrix4x4::inverse(pose()), 1e-9);
}

// The closest-point finders, chosen by the reference's surface model.
class PointFinderTest : public ModuleTest {};

TEST_F(PointFinderTest, CadReferenceAnswersOnTheExactFace) {
  IPtr<HostDocObject> part =
      loadCadModel(host_.document().doc(), u"RefObject",
                   std::string(PALPERA_TEST_SOURCE_DIR) + "/../examples/parts/sphere-on-stand.step");
  auto finder = createPointFinder(part.get());
  ASSERT_TRUE(finder);
  EXPECT_TRUE(dynamic_cast<PalperaIterativeAlignmentCmd::ClosestPointFinderCAD*>(finder.get()));
  const Vector3 centre{.02, .02, .03};
  const Vector3 out = Vector3{1, 1, 2}.normalized();
  Vector3 closest, normal;
  ASSERT_TRUE(finder->find(centre + .02 * out, closest, normal));
  EXPECT_NEAR((closest - (centre + .015 * out)).length(), 0, 1e-7);
  EXPECT_NEAR((normal - out).length(), 0, 1e-7);
}

TEST_F(PointFinderTest, PlainMeshReferenceTakesTheMeshFinder) {
  IPtr<HostDocObject> mesh =
      addCadModel(host_.document().doc(), u"RefObject", boxMesh({0, 0, 0}, {1, 1, 1}).get());
  auto finder = createPointFinder(mesh.get());
  ASSERT_TRUE(finder);
  EXPECT_TRUE(dynamic_cast<PalperaIterativeAlignmentCmd::ClosestPointFinderMesh*>(finder.get()));
  Vector3 closest, normal;
  ASSERT_TRUE(finder->find({.5, .4, 1.2}, closest, normal));
  EXPECT_EQ(closest, (Vector3{.5, .4, 1}));
  EXPECT_EQ(normal, (Vector3{0, 0, 1}));
}

// A closest-point service that finds nothing.
class FailingClosestPointOnCad : public IZelClosestPointOnCad, public HostUnknown {
 public:
  bool setCadModel(IZelUnknown*) override { return true; }
  bool computeClosestPoint(const Vector3&, Vector3&) override { return false; }
  bool getClosestEdge(uint32_t&, Vector3&) override { return false; }
  bool getClosestFace(uint32_t&, Vector3&) override { return false; }
  bool locate(ZelMeshLocation&, const Vector3&) override { return false; }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("Failing", this, this).offer<IZelClosestPointOnCad>(this).end();
  }
  const char* className() override { return "Failing"; }
};

TEST_F(IterativeRealignmentTest, AFailedSurfaceQueryLeavesTheSurfacePointAsItWas) {
  host_.root().setService(IZelClosestPointOnCad::interfaceName, new FailingClosestPointOnCad);
  TargetData& entry = addTouched(k321Touches[0]);
  entry.surface = IPtr<Target>(new Target);
  entry.surface->point = {1, 2, 3};
  realignment().updateSurfacePoint(entry, Matrix4x4::inverse(pose()));
  EXPECT_EQ(entry.surface->point, (Vector3{1, 2, 3}));
  host_.root().setService(IZelClosestPointOnCad::interfaceName, nullptr);
}

TEST_F(IterativeRealignmentTest, StatisticsOfTheSetAlignErrors) {
  for (double error : {-.0002, .0001, .0004}) targets_.emplace_back().alignError = error;
  targets_.emplace_back();  // unset: left out
  IterativeRealignment::Statistics statistics;
  statistics.targets = &targets_;
  ASSERT_TRUE(IterativeRealignment::computeStatistics(statistics));
  EXPECT_EQ(statistics.maximum, .0004);
  EXPECT_NEAR(statistics.mean, .0001, 1e-18);
  EXPECT_NEAR(statistics.standardDeviation, std::sqrt(.06) * .001, 1e-15);
  EXPECT_EQ(platform::toUtf8(IterativeRealignment::statisticsText(statistics).c_str()),
            "Maximum Distance: 0.400 mm\nAverage Distance: 0.100 mm\nStandard Deviation: 0.245 mm\n");
  host_.root().setService("IUnitService", nullptr);
  EXPECT_EQ(platform::toUtf8(IterativeRealignment::statisticsText(statistics).c_str()),
            "Maximum Distance: 0.000 Unknown\nAverage Distance: 0.000 Unknown\nStandard Deviation: 0.000 "
            "Unknown\n");
  statistics.minimumCount = 4;
  EXPECT_FALSE(IterativeRealignment::computeStatistics(statistics));
}

}  // namespace
