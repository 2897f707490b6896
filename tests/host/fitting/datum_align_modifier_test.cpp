// The datum-based aligner as a module reaches it: pairs of plane sub-objects of two document objects.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "host_api/datum_align_modifier.h"
#include "host_api/feature_kinds.h"
#include "host_api/host_class_ids.h"
#include "host_api/zel_sub_objects.h"
#include "support/module_fixture.h"

namespace {

struct PlaneRecord {
  Vector3 normal;
  double d;  // n . x = d
};

const double kHalfRoot3 = std::sqrt(3.0) / 2.0;

class DatumAlignModifier : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    fixed_ = createPointObject(ZelString(u"fixed"));
    floating_ = createPointObject(ZelString(u"float"));
    ASSERT_TRUE(fixed_ && floating_);
    modifier_.createInstance(kHostDatumAlignModifierClassId);
    ASSERT_TRUE(modifier_);
    modifier_->setFixedObject(fixed_.get());
    modifier_->setFloatingObject(floating_.get());
  }

  IPtr<IZelSubObject> planeOn(IZelDocObject* object, const PlaneRecord& plane) {
    IPtr<IZelPlane> feature;
    feature.createInstance(kHostPlaneClassId);
    feature->setPlane(plane.normal * plane.d, plane.normal, Vector3(1, 0, 0), 0, 0);
    IPtr<IZelSubObject> made;
    made.takeOwnership(
        getFeatureSubObjectMgr(object)->createSubObject(queryPart<IZelFeature>(feature.get())));
    return made;
  }
  void pair(IZelSubObject* fixed, IZelSubObject* floating) {
    IPtr<IZelAlignmentPair> made;
    made.getService();  // a fresh pair per request, by interface name
    ASSERT_TRUE(made);
    made->set(fixed, floating);
    pairs_.push_back(made);
  }
  void pairPlanes(const std::vector<PlaneRecord>& fixed, const std::vector<PlaneRecord>& floating) {
    for (size_t i = 0; i < fixed.size(); ++i)
      pair(planeOn(fixed_.get(), fixed[i]).get(), planeOn(floating_.get(), floating[i]).get());
    std::vector<IZelAlignmentPair*> raw;
    for (auto& p : pairs_) raw.push_back(p.get());
    modifier_->setPairs(raw.data(), static_cast<int32_t>(raw.size()));
  }

  IPtr<IZelDocObject> fixed_, floating_;
  IPtr<IZelDatumBasedAlignModifier> modifier_;
  std::vector<IPtr<IZelAlignmentPair>> pairs_;
};

const std::vector<PlaneRecord> kReference = {{{0, 0, 1}, 0.02}, {{0, -1, 0}, 0.0}, {{1, 0, 0}, 0.0}};
const std::vector<PlaneRecord> kDevice = {
    {{0, 0, 1}, -0.28}, {{-0.5, -kHalfRoot3, 0}, 0.2}, {{kHalfRoot3, -0.5, 0}, -0.1}};

TEST_F(DatumAlignModifier, PlanePairsMoveTheFloatingObjectOnlyWhenAskedAndTheReportListsEachPair) {
  pairPlanes(kReference, kDevice);
  const double expected[12] = {kHalfRoot3, -0.5, 0, 0.1, 0.5, kHalfRoot3, 0, 0.2, 0, 0, 1, 0.3};

  ASSERT_TRUE(modifier_->run(0, 0, 0));
  double transform[16];
  EXPECT_FALSE(floating_->transform(transform)) << "not moved without the apply flag";
  Matrix4x4 result = modifier_->resultTransform();
  for (int i = 0; i < 12; ++i) EXPECT_NEAR(result.m[i], expected[i], 1e-12) << i;

  ASSERT_TRUE(modifier_->run(0, 1, 0));
  ASSERT_TRUE(floating_->transform(transform));
  for (int i = 0; i < 12; ++i) EXPECT_NEAR(transform[i], expected[i], 1e-12) << i;

  double mean = -1, largest = -1, rms = -1;
  int32_t count = 0;
  ZelString text;
  modifier_->report(mean, largest, rms, &text, count);
  EXPECT_EQ(count, 3);
  EXPECT_NEAR(largest, 0.0, 1e-12);
  EXPECT_EQ(std::u16string(text.c_str()),
            u"Pair 1: 0.000000 mm\nPair 2: 0.000000 mm\nPair 3: 0.000000 mm\nRMS: 0.000000 mm\n");
}

// The fixed object stands where its transform places it, and the floating one is moved onto it there: the
// motion found lands each floating plane on its fixed plane placed in the world. A scaled placement, which
// would bend the planes' distances, aligns nothing.
TEST_F(DatumAlignModifier, ThePlanesAreAlignedWhereTheFixedObjectStands) {
  pairPlanes(kReference, kDevice);
  const double placed[16] = {0, -1, 0, 0.4, 1, 0, 0, -0.2, 0, 0, 1, 0.05, 0, 0, 0, 1};
  ASSERT_TRUE(fixed_->setTransform(placed));
  ASSERT_TRUE(modifier_->run(0, 0, 0));
  Matrix4x4 placement;
  placement.assign(placed);
  const double unplaced[12] = {kHalfRoot3, -0.5, 0, 0.1, 0.5, kHalfRoot3, 0, 0.2, 0, 0, 1, 0.3};
  Matrix4x4 expected;
  std::copy(unplaced, unplaced + 12, expected.m);
  expected = placement * expected;
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(modifier_->resultTransform().m[i], expected.m[i], 1e-12) << i;

  const double scaled[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};
  ASSERT_TRUE(fixed_->setTransform(scaled));
  EXPECT_FALSE(modifier_->run(0, 1, 0));
  double transform[16];
  EXPECT_FALSE(floating_->transform(transform)) << "the floating object stays where it was";
}

TEST_F(DatumAlignModifier, PairsNoSchemeTakesFailAndChangeNothing) {
  struct Case {
    const char* what;
    std::vector<PlaneRecord> fixed, floating;
  };
  std::vector<PlaneRecord> parallel = kDevice;
  parallel[1] = {{0, 0, -1}, 0.3};
  for (const Case& c : {Case{"two pairs", {kReference[0], kReference[1]}, {kDevice[0], kDevice[1]}},
                        Case{"plane 2 parallel to plane 1", kReference, parallel}}) {
    SCOPED_TRACE(c.what);
    pairs_.clear();
    pairPlanes(c.fixed, c.floating);
    EXPECT_FALSE(modifier_->run(0, 1, 0));
    double transform[16];
    EXPECT_FALSE(floating_->transform(transform));
    EXPECT_EQ(modifier_->resultTransform().m[3], 0.0);
  }

  // A pair whose floating side is a point, not a plane.
  pairs_.clear();
  pairPlanes({kReference[0], kReference[1]}, {kDevice[0], kDevice[1]});
  IPtr<IZelSubObject> point;
  point.takeOwnership(
      getFeatureSubObjectMgr(floating_.get())->createSubObject(queryPart<IZelFeature>(createPoint().get())));
  pair(planeOn(fixed_.get(), kReference[2]).get(), point.get());
  std::vector<IZelAlignmentPair*> raw;
  for (auto& p : pairs_) raw.push_back(p.get());
  modifier_->setPairs(raw.data(), 3);
  EXPECT_FALSE(modifier_->run(0, 1, 0));
}

}  // namespace
