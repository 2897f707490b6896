#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "devices/alignment/alignment_services.h"
#include "devices/alignment/plugin_transform.h"
#include "host/document/host_document_data.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "support/recording_receiver.h"

namespace {

const char* kScaleService = "IZelPluginDeviceScaleAlignmentService";

class ScaleAlignment : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    host_.core().dataStore().addListener("Palpera/Tile/Temperature Compensation Updated", updates_.get());
    // No materials file: the library holds the default "Steel" (and shows one dialog about the missing file).
    host_.core().dataStore().setString(nullptr, "DefaultFileNameDirectory/common",
                                       ZelString(u"/nonexistent"));
    scale_.getService();
    ASSERT_TRUE(scale_);
  }
  void TearDown() override {
    host_.core().dataStore().removeListener("Palpera/Tile/Temperature Compensation Updated", updates_.get());
    scale_.release();
    ModuleTest::TearDown();
  }

  using Material = std::pair<std::string, double>;  // its name and temperature
  Material material() {
    ZelCString name("x");
    double temperature = 0;
    scale_->material(name, temperature);
    return {name.c_str(), temperature};
  }

  IPtr<RecordingReceiver> updates_{new RecordingReceiver};
  IPtr<IZelPluginDeviceScaleAlignmentService> scale_;
};

TEST_F(ScaleAlignment, ATemperatureThatGivesNoSoundScaleKeepsTheIdentityAndIsReported) {
  // 1 - (20 - T) x 1.17e-5 <= 0 for T <= 20 - 1 / 1.17e-5.
  scale_->setMaterial(ZelCString("Steel"), -100000.0);
  EXPECT_EQ(scale_->matrix()->m[0], 1.0);
  ASSERT_FALSE(host_.core().errors().reports().empty());
  EXPECT_NE(host_.core().errors().reports().back().message.find(u"Steel"), std::u16string::npos);
}

TEST_F(ScaleAlignment, TheBlockRoundTripsThroughASavedDocumentAndAForeignOrDamagedOneChangesNothing) {
  scale_->setMaterial(ZelCString("Steel"), 25.0);
  scale_->setUnits(1);
  DocumentData saved = saveDocumentData(host_.root(), {kScaleService});
  ASSERT_EQ(saved.count(kScaleService), 1u);
  scale_->setMaterial(ZelCString(""), 20.0);
  scale_->setUnits(3);

  DocumentData foreign = saved, cut = saved;
  foreign[kScaleService][10] ^= 0xFF;  // a byte of the class id
  cut[kScaleService].resize(saved[kScaleService].size() - 3);
  for (const DocumentData& refused : {foreign, cut})
    EXPECT_FALSE(openDocumentData(host_.root(), refused, {kScaleService})[kScaleService]);
  EXPECT_EQ(material(), (Material{"", 20.0})) << "nothing of a refused block was applied";
  EXPECT_EQ(scale_->units(), 3);

  EXPECT_TRUE(openDocumentData(host_.root(), saved, {kScaleService})[kScaleService]);
  EXPECT_EQ(material(), (Material{"Steel", 25.0}));
  EXPECT_EQ(scale_->units(), 1);
}

TEST_F(ScaleAlignment, DocumentResetRestoresTheDefaultsButNotTheUnits) {
  scale_->setMaterial(ZelCString("Steel"), 30.0);
  scale_->setUnits(2);
  const size_t before = updates_->heard().size();
  host_.document().eventDataStore().fire("Document/Reset");
  EXPECT_EQ(material(), (Material{"", 20.0}));
  EXPECT_EQ(scale_->matrix()->m[0], 1.0);
  EXPECT_EQ(scale_->units(), 2);
  EXPECT_EQ(updates_->heard().size(), before + 1);
}

TEST_F(ScaleAlignment, OnlyAProperRigidObjectMatrixIsCachedAndItAppliesAfterTheScaleAndTheHardware) {
  SPtr<IZelPluginDeviceObjectAlignmentService> object;
  PluginTransform transform;
  Matrix4x4 projective;
  projective.m[15] = 2.0;
  Matrix4x4 lost = Matrix4x4::translation(Vector3(std::nan(""), 0, 0));
  for (const Matrix4x4& refused :
       {Matrix4x4::uniformScaling(2.0), Matrix4x4::scaling(1, 1, -1), projective, lost}) {
    object->setMatrix(refused);
    transform.reloadObjectMatrix();
    EXPECT_EQ(transform.cachedObjectMatrix().m[0], 1.0);
    EXPECT_EQ(transform.cachedObjectMatrix().m[3], 0.0) << "a NaN translation is no alignment either";
    EXPECT_EQ(transform.cachedObjectMatrix().m[15], 1.0);
  }

  Matrix4x4 turned =
      Matrix4x4::translation(Vector3(3, 4, 5)) * Matrix4x4::rotation(Vector3(0, 0, 1), M_PI / 2);
  object->setMatrix(turned);
  transform.reloadObjectMatrix();
  EXPECT_EQ(transform.cachedObjectMatrix().m[3], 3.0);

  scale_->setMaterial(ZelCString("Steel"), 30.0);
  SPtr<IZelPluginDeviceHardwareAlignmentService> hardware;
  hardware->setMatrix(Matrix4x4::translation(Vector3(1, 0, 0)), false);
  Matrix4x4 device;
  Vector3 mapped = Matrix4x4::transformPoint(transform.deviceMatrix(device), Vector3(1, 0, 0));
  EXPECT_NEAR(mapped.y, 1.0 / (1.0 + 1.17e-4) + 1 + 4, 1e-12)
      << "the scale, then the hardware, then the object";
}

}  // namespace
