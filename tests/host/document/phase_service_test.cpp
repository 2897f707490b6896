#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/object/host_lookup.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_phase.h"
#include "support/module_fixture.h"

namespace {

class Phases : public ModuleTest {
 protected:
  IZelDocObject* add(const char* type, const char16_t* name) {
    SPtr<IZelObjectBuilder> builder;
    builder->beginObject(type, ZelString(name), false);
    IPtr<IZelDocObject> object;
    object.takeOwnership(builder->endObject(true));
    return object.get();  // the document keeps it
  }
  std::vector<std::u16string> names(int32_t kind, int32_t phase) {
    std::vector<std::u16string> found;
    for (int32_t i = 0; IZelDocObject* object = document_->objectOfKind(kind, phase, i); ++i)
      found.emplace_back(object->objectName().c_str());
    return found;
  }
  void SetUp() override {
    ModuleTest::SetUp();
    phases_.getService();
    document_.getService();
  }
  IPtr<IPhaseService> phases_;
  IPtr<IZelDoc> document_;
};

TEST_F(Phases, ObjectsAreListedByKindAndPhaseInDocumentOrder) {
  ASSERT_TRUE(phases_ && document_);
  const int32_t points = phases_->kindByName("Point");
  EXPECT_EQ(points, 1);
  EXPECT_EQ(phases_->kindByName("Curve"), 2);
  EXPECT_EQ(phases_->kindByName("CAD"), 0);
  EXPECT_EQ(phases_->kindByName(nullptr), 0);
  EXPECT_EQ(phases_->currentPhase(), 1);

  add("Point", u"P1");
  add("Curve", u"C1");
  IZelDocObject* moved = add("Point", u"P2");
  add("Point", u"P3");
  ASSERT_TRUE(phases_->putInPhase(moved, 2));
  EXPECT_FALSE(phases_->putInPhase(nullptr, 2));
  host_.document().doc().setCurrentPhase(2);
  add("Point", u"P4");

  EXPECT_EQ(names(points, IZelDoc::kAnyPhase), (std::vector<std::u16string>{u"P1", u"P2", u"P3", u"P4"}));
  EXPECT_EQ(names(points, 1), (std::vector<std::u16string>{u"P1", u"P3"}));
  EXPECT_EQ(names(points, 2), (std::vector<std::u16string>{u"P2", u"P4"}));
  EXPECT_EQ(names(2, IZelDoc::kAnyPhase), (std::vector<std::u16string>{u"C1"}));
  EXPECT_TRUE(names(0, IZelDoc::kAnyPhase).empty());
}

}  // namespace
