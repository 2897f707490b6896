#include <gtest/gtest.h>

#include <functional>

#include "framework/host_glue/point_objects.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_chain.h"
#include "gen/palpera/palpera_cross_section_fitters.h"
#include "host/core/host_unknown.h"
#include "host_api/zel_doc.h"
#include "support/module_fixture.h"

namespace {

// An empty array that counts its destructions.
class CountedArray : public RealPArray, public HostUnknown {
 public:
  explicit CountedArray(int& destroyed) : destroyed_(destroyed) {}
  ~CountedArray() override { ++destroyed_; }
  int32_t entryWidth() override { return 3; }
  int32_t count() override { return 0; }
  bool append(const double*) override { return false; }
  const double* at(int32_t) override { return nullptr; }
  bool set(int32_t, const double*) override { return false; }
  bool removeLast() override { return false; }
  void clear() override {}
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("CountedArray", this, this).offer<RealPArray>(this).end();
  }
  const char* className() override { return "CountedArray"; }

 private:
  int& destroyed_;
};

// Makes counted arrays, or none when told to; records what it was asked.
class CountingFactory : public IRealPArrayFactory, public HostUnknown {
 public:
  RealPArray* createArray(int32_t entryWidth, int32_t capacity) override {
    asked = {entryWidth, capacity};
    if (refuse) return nullptr;
    auto* array = new CountedArray(destroyed);
    array->addRef();
    return array;
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("CountingFactory", this, this).offer<IRealPArrayFactory>(this).end();
  }
  const char* className() override { return "CountingFactory"; }

  int destroyed = 0;
  bool refuse = false;
  std::pair<int32_t, int32_t> asked{};
};

constexpr SectionPlane kPlane{0.0, 0.0, 2.0, 0.2};

class SectionDataTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    hostArrays_.getService();
    host_.core().root().setService(IRealPArrayFactory::interfaceName, factory_.get());
  }
  // Puts the host's own factory back, for arrays that live as long as the document.
  void useHostArrays() {
    host_.core().root().setService(IRealPArrayFactory::interfaceName, hostArrays_.get());
  }

  IPtr<IRealPArrayFactory> hostArrays_;
  IPtr<CountingFactory> factory_{new CountingFactory};
};

TEST_F(SectionDataTest, AnOwnArrayIsDestroyedOnceAndABorrowedOneNever) {
  {
    IPtr<SectionData> own(new SectionData(kPlane, 0));
    EXPECT_EQ(factory_->asked, std::make_pair(1, 1024));
    EXPECT_EQ(own->plane(), kPlane);
    EXPECT_TRUE(own->pointArray());
    EXPECT_FALSE(own->result());
  }
  EXPECT_EQ(factory_->destroyed, 1);

  IPtr<RealPArray> borrowed;
  borrowed.takeOwnership(factory_->createArray(1, 8));
  { IPtr<SectionData> section(new SectionData(kPlane, borrowed.get())); }
  EXPECT_EQ(factory_->destroyed, 1);
  EXPECT_EQ(borrowed->count(), 0);
  borrowed.release();
  EXPECT_EQ(factory_->destroyed, 2);
  EXPECT_TRUE(host_.core().assertions().reports().empty());
}

TEST_F(SectionDataTest, AnArrayGivenUpOutlivesItsSectionAndIsDestroyedByItsNewOwnerOnly) {
  IPtr<RealPArray> kept;
  {
    IPtr<SectionData> section(new SectionData(kPlane, 9));
    kept.takeOwnership(section->giveUpArray());
    EXPECT_EQ(section->pointArray(), kept.get());
    EXPECT_FALSE(section->giveUpArray());
  }
  EXPECT_EQ(factory_->destroyed, 0);
  kept.release();
  EXPECT_EQ(factory_->destroyed, 1);
}

TEST_F(SectionDataTest, ANullArrayIsReportedWithItsLineAndLeavesTheSectionEmpty) {
  struct Case {
    const char* name;
    std::function<SectionData*()> make;
    int line;
  };
  factory_->refuse = true;
  for (const Case& c : {Case{"own", [] { return new SectionData(kPlane, 0); }, 28},
                        Case{"borrowed", [] { return new SectionData(kPlane, nullptr); }, 36}}) {
    SCOPED_TRACE(c.name);
    host_.core().assertions().clear();
    {
      IPtr<SectionData> section(c.make());
      EXPECT_FALSE(section->pointArray());
      EXPECT_FALSE(section->ownsArray());
    }
    auto reports = host_.core().assertions().reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].expression, "pArray_");
    EXPECT_EQ(reports[0].file, "gen/palpera/palperacrosssectionfitters");
    EXPECT_EQ(reports[0].line, c.line);
  }
}

TEST_F(SectionDataTest, TheResultIsReleasedWithTheSection) {
  IPtr<CountingFactory> result(new CountingFactory);
  {
    IPtr<SectionData> section(new SectionData(kPlane, 0));
    section->setResult(result.get());
    EXPECT_EQ(result->refCount(), 2u);
  }
  EXPECT_EQ(result->refCount(), 1u);
}

TEST_F(SectionDataTest, APointObjectGivesItsArrayAndOtherObjectsNone) {
  useHostArrays();
  EXPECT_FALSE(getPointArray(nullptr));
  SPtr<IZelObjectBuilder> builder;
  ASSERT_TRUE(builder);
  builder->beginObject("Point", ZelString(u"No points"), true);
  IPtr<IZelDocObject> bare;
  bare.takeOwnership(builder->endObject(true));
  ASSERT_TRUE(bare);
  EXPECT_FALSE(getPointArray(bare.get()));

  IPtr<IZelDocObject> points = createPointObject(ZelString(u"Points 1"));
  ASSERT_TRUE(points);
  RealPArray* array = getPointArray(points.get());
  ASSERT_TRUE(array);
  void* held = nullptr;
  points->subObject("PointModel")->queryInterface(IZelPoints::interfaceName, &held, false);
  EXPECT_EQ(static_cast<IZelPoints*>(held)->array(), array);
}

}  // namespace
