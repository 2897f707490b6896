// Recognition of the feature under the probe on the example parts, with the host's closest point on CAD,
// topology and CAD fitters.

#include "commands/quick_probe/quick_probe_recognizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "bore_probes.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "framework/object/query_part.h"
#include "host/cad/cad_model.h"
#include "host_api/feature_kinds.h"
#include "host_api/zel_mesh.h"
#include "support/module_fixture.h"
#include "test_paths.h"

namespace {

class QuickProbeRecognizerTest : public ModuleTest {
 protected:
  void load(const std::string& name) {
    object_ = loadCadModel(host_.document().doc(), u"RefObject",
                           std::string(PALPERA_TEST_SOURCE_DIR) + "/../examples/parts/" + name + ".step");
    ASSERT_TRUE(object_);
    ASSERT_TRUE(
        recognizer_.attach(queryPart<IZelMeshExt>(object_->subObject("SurfModel")), object_->modelId()));
    recognizer_.setProbeRadius(kProbeRadius);
  }

  IPtr<HostDocObject> object_;
  QuickProbeRecognizer recognizer_;
};

}  // namespace

TEST_F(QuickProbeRecognizerTest, BothHalvesOfTheBoreGoToOneCylinderWithTheDocumentedDiameter) {
  load("plate-bore");
  const int32_t index = recognizer_.recognise(onBore(0, 0.005));
  ASSERT_NE(index, QuickProbeRecognizer::kNone);
  ASSERT_TRUE(queryPart<IZelCylinder>(recognizer_.nominal(index)));
  IZelFeatureCollector* collector = recognizer_.collector(index);
  ASSERT_TRUE(collector);
  auto* receiver = queryPart<IZelHardProbeDataReceiver>(collector);
  ASSERT_TRUE(receiver);
  const double samples[][2] = {{20, 0.003},  {60, 0.005},  {100, 0.007},
                               {200, 0.003}, {250, 0.005}, {300, 0.007}};
  for (const auto& [degrees, z] : samples) {
    SCOPED_TRACE(degrees);
    EXPECT_EQ(recognizer_.recognise(onBore(degrees, z)), index);
    receiver->onPointSampled(onBore(degrees, z));
  }
  receiver->onPointStop({0.05, 0.04, 0.005});
  ASSERT_TRUE(collector->fillCreatorParameters());
  IPtr<IZelFeature> probed = collector->takeFeature();
  auto* cylinder = queryPart<IZelCylinder>(probed.get());
  ASSERT_TRUE(cylinder);
  EXPECT_NEAR(2 * cylinder->radius(), 0.02, 1e-6);
}

TEST_F(QuickProbeRecognizerTest, AFaceWinsOverAnEdgeOnlyByMoreThanTheAllowance) {
  load("plate-bore");
  // The top face at 0.001; the top edge along y = 0 at about 0.004, then at 0.002.
  const QuickProbeRecognizer::FaceOrEdge face = recognizer_.nearestFaceOrEdge({0.02, 0.0039, 0.011});
  EXPECT_NE(face.face, QuickProbeRecognizer::kNone);
  EXPECT_EQ(face.edge, QuickProbeRecognizer::kNone);
  const QuickProbeRecognizer::FaceOrEdge edge =
      recognizer_.nearestFaceOrEdge({0.02, 0.001 * std::sqrt(3.0), 0.011});
  EXPECT_EQ(edge.face, QuickProbeRecognizer::kNone);
  EXPECT_NE(edge.edge, QuickProbeRecognizer::kNone);
}

TEST_F(QuickProbeRecognizerTest, ASlotRimIsRecognisedOnlyBesideAKnownPlane) {
  load("plate-oval-slot");
  const Vector3 nearRim{0.0715, 0.04, 0.0105};
  ASSERT_NE(recognizer_.nearestFaceOrEdge(nearRim).edge, QuickProbeRecognizer::kNone);
  // Nothing known yet: the nearest face, the top plane, instead of the rim.
  const int32_t plane = recognizer_.recognise(nearRim);
  ASSERT_NE(plane, QuickProbeRecognizer::kNone);
  EXPECT_TRUE(queryPart<IZelPlane>(recognizer_.nominal(plane)));
  // Shown as the probe passed, the plane is not known yet; once probed, the rim beside it gives the slot,
  // the same one on either end.
  EXPECT_EQ(recognizer_.recognise(nearRim), plane);
  recognizer_.setProbed(plane, recognizer_.nominal(plane));
  const int32_t slot = recognizer_.recognise(nearRim);
  ASSERT_NE(slot, QuickProbeRecognizer::kNone);
  EXPECT_NE(slot, plane);
  auto* oval = queryPart<IZelOvalSlot>(recognizer_.nominal(slot));
  ASSERT_TRUE(oval);
  EXPECT_TRUE(recognizer_.collector(slot));
  EXPECT_EQ(recognizer_.recognise({0.0285, 0.04, 0.0105}), slot);
  EXPECT_EQ(recognizer_.currentIndex(), slot);
}

// The slot's +x end is two faces of one cylinder, split at its apex where the surface's parameterisation has
// its seam: a touch there, half way down the wall, lies on that end's cylinder, not on no face at all.
TEST_F(QuickProbeRecognizerTest, ATouchAtTheSeamOfTheSlotsEndLiesOnThatEndsCylinder) {
  load("plate-bore-slot");
  const int32_t index = recognizer_.recognise({0.106 - kProbeRadius, 0.04, 0.005});
  auto* end = queryPart<IZelCylinder>(recognizer_.nominal(index));
  ASSERT_TRUE(end);
  EXPECT_NEAR(end->radius(), 0.006, 1e-9);
}
