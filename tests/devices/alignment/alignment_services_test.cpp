#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "devices/alignment/alignment_services.h"
#include "devices/alignment/stored_matrix.h"
#include "framework/registrations/registered_classes.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"

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
  EXPECT_EQ(object->matrix()->m[11], 10.0) << "each alignment is folded in on the left";
}

}  // namespace
