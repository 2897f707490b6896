#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "devices/alignment/alignment_services.h"
#include "devices/alignment/plugin_transform.h"
#include "devices/alignment/stored_matrix.h"
#include "devices/contracts/plugin.h"
#include "devices/log_replay/log_replay_plugin.h"
#include "framework/registrations/registered_classes.h"
#include "host/document/host_document_data.h"
#include "support/expect_matrix_near.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "support/recording_receiver.h"

namespace {

class AlignmentServices : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
  }

  template <class Service>
  IPtr<Service> service(const char* className) {
    IPtr<Service> made;
    made.createInstance(classIdOf(className));
    return made;
  }

  std::vector<uint8_t> storedBlob(const char* key) {
    uint32_t size = 0;
    bool found = false;
    const void* data = host_.core().dataStore().getBlob(key, &size, &found);
    if (!found || !data) return {};
    return std::vector<uint8_t>(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
  }

  static std::vector<uint8_t> bytesOf(const Matrix4x4& m) {
    auto encoded = encodeStoredMatrix(m);
    return std::vector<uint8_t>(encoded.begin(), encoded.end());
  }
  void expectTheObjectMatrixFoldsInOnlyWhatMoved(const char16_t* part);
};

const Matrix4x4 kShift = Matrix4x4::translation(Vector3(1, 2, 3));

TEST_F(AlignmentServices, StoredMatrixBytesAreLittleEndianDoublesRowByRow) {
  std::vector<uint8_t> bytes = bytesOf(kShift);
  ASSERT_EQ(bytes.size(), 128u);
  // Element 3 is the x translation, 1.0: 0x3FF0000000000000 little-endian.
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 24, bytes.begin() + 32),
            (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
}

Matrix4x4 withElement(Matrix4x4 m, int index, double value) {
  m.m[index] = value;
  return m;
}

TEST_F(AlignmentServices, OnlyAStoredBlobOf128BytesHoldingAUsableTransformIsRestored) {
  const char* key = "Palpera/Alignment/Hardware Alignment";
  host_.core().dataStore().setBlob(nullptr, key, bytesOf(kShift).data(), 127);
  auto hardware = service<IZelPluginDeviceHardwareAlignmentService>("PluginDeviceHardwareAlignmentService");
  EXPECT_EQ(hardware->matrix()->m[3], 0.0) << "a refused blob leaves the identity";

  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (const Matrix4x4& unusable :
       {withElement(kShift, 3, nan), withElement(kShift, 5, inf), Matrix4x4::scaling(0, 0, 0),
        withElement(kShift, 14, 0.5), Matrix4x4::uniformScaling(1e300)}) {
    host_.core().errors().clear();
    ASSERT_TRUE(host_.core().dataStore().setBlob(nullptr, key, bytesOf(unusable).data(), 128));
    hardware->reset();
    EXPECT_EQ(bytesOf(*hardware->matrix()), bytesOf(Matrix4x4::identity())) << "the identity stays";
    ASSERT_EQ(host_.core().errors().reports().size(), 1u) << "the refusal is reported";
    EXPECT_NE(host_.core().errors().reports()[0].message.find(u"Hardware Alignment"), std::u16string::npos);
  }

  host_.core().dataStore().setBlob(nullptr, key, bytesOf(kShift).data(), 128);
  hardware->reset();
  EXPECT_EQ(hardware->matrix()->m[3], 1.0);
  EXPECT_EQ(hardware->matrix()->m[11], 3.0);
}

TEST_F(AlignmentServices, SetMatrixStoresOnlyWhenAskedAndADocumentResetBringsTheStoredOneBack) {
  auto hardware = service<IZelPluginDeviceHardwareAlignmentService>("PluginDeviceHardwareAlignmentService");
  hardware->setMatrix(kShift, true);
  EXPECT_EQ(storedBlob("Palpera/Alignment/Hardware Alignment"), bytesOf(kShift));
  hardware->setMatrix(Matrix4x4::translation(Vector3(7, 0, 0)), false);
  EXPECT_EQ(storedBlob("Palpera/Alignment/Hardware Alignment"), bytesOf(kShift));
  host_.document().eventDataStore().fire("Document/Reset");
  EXPECT_EQ(hardware->matrix()->m[3], 1.0) << "loading is on by default for the hardware matrix";

  host_.core().dataStore().setInt(nullptr, "Palpera/Alignment/LoadHardwareTransformation", 0);
  host_.document().eventDataStore().fire("Document/Reset");
  EXPECT_EQ(hardware->matrix()->m[3], 0.0);
}

TEST_F(AlignmentServices, HostAlignmentsOfTheReferenceAreFoldedInAndStored) {
  auto object = service<IZelPluginDeviceObjectAlignmentService>("PluginDeviceObjectAlignmentService");
  DocObjectDescription::Transform placed{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  host_.document().doc().add({"Mesh", u"RefObject", placed, {}, {}}, false);
  host_.core().dataStore().fireEvent(nullptr, "General/AlignmentChanged");
  EXPECT_TRUE(storedBlob("Palpera/Alignment/Object Alignment").empty())
      << "the identity changes and stores nothing";

  IPtr<IZelDocObject> reference(host_.document().doc().findObject(ZelString(u"RefObject")));
  host_.document().doc().remove(reference.get());
  placed[11] = 5;
  host_.document().doc().add({"Mesh", u"RefObject", placed, {}, {}}, false);
  host_.core().dataStore().fireEvent(nullptr, "General/AlignmentChanged");
  EXPECT_EQ(object->matrix()->m[11], 5.0);
  EXPECT_EQ(storedBlob("Palpera/Alignment/Object Alignment"), bytesOf(*object->matrix()));
  host_.core().dataStore().fireEvent(nullptr, "General/AlignmentChanged");
  EXPECT_EQ(object->matrix()->m[11], 5.0) << "a part that did not move moves nothing";

  // Moved again, by 2 along z and a quarter turn about it: only that move is folded in, on the left.
  host_.document().doc().remove(host_.document().doc().findObject(ZelString(u"RefObject")));
  const DocObjectDescription::Transform again{0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 7, 0, 0, 0, 1};
  host_.document().doc().add({"Mesh", u"RefObject", again, {}, {}}, false);
  host_.core().dataStore().fireEvent(nullptr, "General/AlignmentChanged");
  const double expected[16] = {0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 7, 0, 0, 0, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(object->matrix()->m[i], expected[i]) << i;
  EXPECT_EQ(storedBlob("Palpera/Alignment/Object Alignment"), bytesOf(*object->matrix()));
}

// A 30 degree turn about z and a shift, every element written to eight decimals, as a file may hold it.
Matrix4x4 eightDecimalTurn() {
  Matrix4x4 turn = Matrix4x4::rotation(Vector3(0, 0, 1), std::acos(-1.0) / 6);
  for (int i = 0; i < 12; ++i) turn.m[i] = std::round(turn.m[i] * 1e8) / 1e8;
  turn.m[3] = 0.25;
  return turn;
}

// A scale, a shear, a flattening (third row zero) and a mirror, each beside a rotation and a shift: taken as
// the hardware matrix, each would stretch, skew, flatten or mirror every touch.
std::vector<std::pair<Matrix4x4, std::u16string>> notRotationsAndShifts() {
  Matrix4x4 sheared = kShift, flat = kShift;
  sheared.m[1] = 0.01;
  flat.m[8] = flat.m[9] = flat.m[10] = flat.m[11] = 0;
  return {{Matrix4x4::uniformScaling(2), u"its 3 x 3 part scales or shears"},
          {Matrix4x4::uniformScaling(1 + 1e-6), u"its 3 x 3 part scales or shears"},
          {sheared, u"its 3 x 3 part scales or shears"},
          {flat, u"its 3 x 3 part is singular, or scales by less than 1e-6"},
          {Matrix4x4::scaling(1, 1, -1), u"it mirrors"}};
}

// Every way a matrix reaches the hardware matrix: the service itself (the transform command), the module's
// two plug-ins (the alignment commands, "Move Device", a replayed session) and the stored matrix that "Load
// Previous", a start-up and a document reset take. Each refuses with one message and keeps what it had.
TEST_F(AlignmentServices, EveryWayToTheHardwareMatrixTakesOnlyARotationAndAShift) {
  const char* key = "Palpera/Alignment/Hardware Alignment";
  IPtr<IZelPluginDeviceHardwareAlignmentService> hardware;
  hardware.getService();  // the one the plug-ins use
  IPtr<IZelPlugin> emulator, replay;
  emulator.createInstance(classIdOf("EmulatorPlugin"));
  replay.createInstance(classIdOf("LogReplayPlugin"));
  ASSERT_TRUE(hardware && emulator && replay);
  const std::vector<std::pair<const char*, std::function<void(const Matrix4x4&)>>> ways = {
      {"service", [&](const Matrix4x4& m) { hardware->setMatrix(m, true); }},
      {"emulator", [&](const Matrix4x4& m) { emulator->setHardwareMatrix(m); }},
      {"replay", [&](const Matrix4x4& m) { replay->setHardwareMatrix(m); }},
      {"stored", [&](const Matrix4x4& m) {
         host_.core().dataStore().setBlob(nullptr, key, bytesOf(m).data(), 128);
         hardware->loadStored();
       }}};
  for (const auto& [way, set] : ways) {
    SCOPED_TRACE(way);
    IZelPlugin* plugin = std::string(way) == "replay" ? replay.get() : emulator.get();
    set(kShift);
    for (const auto& [refused, why] : notRotationsAndShifts()) {
      host_.core().errors().clear();
      set(refused);
      EXPECT_EQ(bytesOf(plugin->hardwareMatrix()), bytesOf(kShift)) << "the matrix stays as it was";
      if (std::string(way) == "service") {
        EXPECT_EQ(storedBlob(key), bytesOf(kShift)) << "nor is it stored";
      }
      ASSERT_EQ(host_.core().errors().reports().size(), 1u);
      const std::u16string told = host_.core().errors().reports()[0].message;
      EXPECT_EQ(
          told,
          std::string(way) == "stored"
              ? u"The stored alignment \"Palpera/Alignment/Hardware Alignment\" was not loaded: " + why + u"."
              : u"The new hardware matrix holds no rigid transform without mirroring (" + why +
                    u"): the hardware transformation is unchanged.");
    }
    host_.core().errors().clear();
    set(eightDecimalTurn());
    EXPECT_EQ(bytesOf(plugin->hardwareMatrix()), bytesOf(eightDecimalTurn()));
    EXPECT_TRUE(host_.core().errors().reports().empty());
  }
}

// The part stands placed before the module starts, a host alignment then turns and moves it about another
// axis (a move that does not commute with the placement), and a new document shows it elsewhere again: the
// object matrix takes each move once, on the left, from where the service last saw the part. After a new
// document with nothing in it, a part loaded and aligned there is taken whole, not as a move from the last.
void AlignmentServices::expectTheObjectMatrixFoldsInOnlyWhatMoved(const char16_t* part) {
  const auto placeReference = [&](const Matrix4x4& placement) {
    IZelDocObject* reference = host_.document().doc().findObject(ZelString(part));
    ASSERT_TRUE(reference && reference->setTransform(placement.m));
  };
  const Matrix4x4 placed = Matrix4x4::translation({0.3, -0.2, 0.1}) * Matrix4x4::rotation({1, 0, 0}, 0.4);
  host_.document().doc().add({"Mesh", part, {}, {}, {}}, false);
  placeReference(placed);
  host_.document().eventDataStore().fire("Document/Reset");  // a document opened with the part placed
  auto object = service<IZelPluginDeviceObjectAlignmentService>("PluginDeviceObjectAlignmentService");
  const Matrix4x4 software = Matrix4x4::translation({0, 0.05, 0}) * Matrix4x4::rotation({0, 1, 0}, 0.3);
  object->setMatrix(software);
  host_.core().dataStore().fireEvent(nullptr, "General/AlignmentChanged");
  expectMatrixNear(*object->matrix(), software,
                   1e-12);  // as the document opened with it: no host alignment

  const Matrix4x4 aligned =
      Matrix4x4::translation({-0.1, 0.4, 0.2}) * Matrix4x4::rotation({0, 0, 1}, 0.7) * placed;
  placeReference(aligned);
  host_.core().dataStore().fireEvent(nullptr, "General/AlignmentChanged");
  const Matrix4x4 moved = aligned * Matrix4x4::inverse(placed);
  expectMatrixNear(*object->matrix(), moved * software, 1e-12);
  EXPECT_EQ(storedBlob("Palpera/Alignment/Object Alignment"), bytesOf(*object->matrix()));

  // A new document: the stored matrix is not loaded (the default), and the part stands where the document
  // puts it, which no host alignment did.
  placeReference(Matrix4x4::rotation({1, 1, 0}, -0.9));
  host_.document().eventDataStore().fire("Document/Reset");
  host_.core().dataStore().fireEvent(nullptr, "General/AlignmentChanged");
  expectMatrixNear(*object->matrix(), Matrix4x4::identity(), 1e-12);

  host_.document().doc().remove(host_.document().doc().findObject(ZelString(part)));
  host_.document().eventDataStore().fire("Document/Reset");
  host_.document().doc().add({"Mesh", part, {}, {}, {}}, false);
  placeReference(aligned);
  host_.core().dataStore().fireEvent(nullptr, "General/AlignmentChanged");
  expectMatrixNear(*object->matrix(), aligned, 1e-12);
  host_.document().doc().remove(host_.document().doc().findObject(ZelString(part)));
  host_.document().eventDataStore().fire("Document/Reset");
}

// So for the reference model and for a part of another name, the document's only object.
TEST_F(AlignmentServices, TheObjectMatrixFoldsInOnlyWhatThePartMovedSinceItWasLastSeen) {
  for (const char16_t* part : {u"RefObject", u"Bracket"}) {
    SCOPED_TRACE(part[0] == u'R' ? "RefObject" : "Bracket");
    expectTheObjectMatrixFoldsInOnlyWhatMoved(part);
  }
}

const char* kScaleService = "IZelPluginDeviceScaleAlignmentService";

class ScaleAlignment : public AlignmentServices {
 protected:
  void SetUp() override {
    AlignmentServices::SetUp();
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
    AlignmentServices::TearDown();
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

// A replayed session's device transform is object x hardware x temperature scale, as recorded: the replay
// plug-in answers the recorded hardware matrix (the scale and the object placement taken out), at 20 degrees
// and under a compensation alike, until an alignment made during the replay sets its own, which then holds.
TEST_F(ScaleAlignment, AReplayAnswersTheRecordedHardwareUntilAnAlignmentDuringItSetsItsOwn) {
  const double kHalfTurn = std::acos(-1.0);
  const Matrix4x4 recordedHardware = Matrix4x4::translation(Vector3(0.1, -0.2, 0.3)) *
                                     Matrix4x4::rotation(Vector3(1, 2, 3), 0.4 * kHalfTurn);
  const Matrix4x4 aligned = Matrix4x4::translation(Vector3(-0.05, 0.02, 0.7)) *
                            Matrix4x4::rotation(Vector3(0, 1, 1), -0.3 * kHalfTurn);
  const std::pair<double, Matrix4x4> cases[] = {
      {20.0, Matrix4x4::identity()},
      {45.0, Matrix4x4::identity()},
      {-5.0,
       Matrix4x4::translation(Vector3(1, 2, 3)) * Matrix4x4::rotation(Vector3(0, 0, 1), 0.25 * kHalfTurn)}};
  SPtr<IZelPluginDeviceObjectAlignmentService> object;
  ASSERT_TRUE(object);
  for (const auto& [temperature, placement] : cases) {
    SCOPED_TRACE(temperature);
    scale_->setMaterial(ZelCString("Steel"), temperature);
    object->setMatrix(placement);
    IPtr<LogReplayPlugin> replay;
    replay.createInstance(classIdOf(LogReplayPlugin::interfaceName));
    ASSERT_TRUE(replay);
    const Matrix4x4 recorded = placement * recordedHardware * *scale_->matrix();
    replay->setRecordedTransform(recorded);
    expectMatrixNear(replay->hardwareMatrix(), recordedHardware, 1e-12);
    Matrix4x4 device;
    EXPECT_EQ(bytesOf(replay->deviceMatrix(device)), bytesOf(recorded));

    replay->setHardwareMatrix(aligned);
    replay->setRecordedTransform(recorded);  // the next acquisition's record
    expectMatrixNear(replay->hardwareMatrix(), aligned, 1e-12);
    replay->deviceMatrix(device);
    EXPECT_GT(std::abs(device.m[3] - recorded.m[3]), 1e-3) << "the recorded transform is not the device's";
  }
}

}  // namespace
