// The reference planes of the 3-2-1 device alignment: what each change builds and announces.

#include "commands/alignment/device_to_part/reference_planes.h"

#include "box_reference_points.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "support/module_fixture.h"

namespace {

class Journal : public IZelListener, public ZelUnknownImpl {
 public:
  void onNotify(const char* event, IZelSubject*, void* data) override {
    events.push_back(event);
    if (std::strncmp(event, "Plane", 5) == 0) planes.push_back(*static_cast<Plane*>(data));
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("Journal", this, this).offer<IZelListener>(this).end();
  }
  const char* className() override { return "Journal"; }

  std::vector<std::string> events;
  std::vector<Plane> planes;
};

void expectPlane(const Plane& actual, const Plane& expected) {
  EXPECT_NEAR(actual.nx, expected.nx, 1e-12);
  EXPECT_NEAR(actual.ny, expected.ny, 1e-12);
  EXPECT_NEAR(actual.nz, expected.nz, 1e-12);
  EXPECT_NEAR(actual.d, expected.d, 1e-12);
}

class ReferencePlanes : public NoHostTest {
 protected:
  void SetUp() override {
    NoHostTest::SetUp();
    data_->attach(journal_.get());
  }
  void TearDown() override {
    data_->detach(journal_.get());
    NoHostTest::TearDown();
  }

  void setAll() { setBoxReferencePoints(*data_); }

  IPtr<DeviceToPartReferencePlanes> data_{new DeviceToPartReferencePlanes};
  IPtr<Journal> journal_{new Journal};
};

TEST_F(ReferencePlanes, CompletedPointsBuildSquarePlanesWithTheirOwnNotifications) {
  setAll();
  EXPECT_EQ(journal_->events, (std::vector<std::string>{"Point", "Point", "Plane1", "Point", "Point",
                                                        "Plane2", "Point", "Plane3", "Point"}));
  expectPlane(data_->referencePlanes[0], {0, 0, 1, 0.02});
  expectPlane(data_->referencePlanes[1], {0, -1, 0, 0});
  expectPlane(data_->referencePlanes[2], {1, 0, 0, 0});
  EXPECT_TRUE(data_->isComplete());
  void* found = nullptr;
  data_->queryInterface("PalperaDeviceToPartAlignmentCmd::Data", &found, false);
  EXPECT_EQ(found, data_.get()) << "the markers find the data behind a notification by this name";
}

TEST_F(ReferencePlanes, CoincidentFirstPointsClearPlanesTwoAndThreeAndSendTheZeroPlane) {
  setAll();
  journal_->events.clear();
  journal_->planes.clear();
  data_->setPoint(1, 1, {0, 0, 0.0200000001});
  EXPECT_EQ(journal_->events,
            (std::vector<std::string>{"Plane3", "Point", "Plane2", "Plane3", "Point", "Plane1", "Point"}));
  EXPECT_FALSE(data_->referencePlanes[0].isValid());
  EXPECT_EQ(journal_->planes.back().d, 0.0);
  EXPECT_FALSE(data_->plane2Set.any());
  EXPECT_FALSE(data_->plane3Set);
}

TEST_F(ReferencePlanes, CollinearPointsGiveAZeroNormalThatLeavesPlaneTwoAlone) {
  data_->setPoint(2, 0, {0, 0, 0});
  data_->setPoint(1, 0, {0, 0, 0});
  data_->setPoint(1, 1, {0.1, 0, 0});
  journal_->events.clear();
  data_->setPoint(1, 2, {0.3, 0, 0});
  EXPECT_EQ(journal_->events, (std::vector<std::string>{"Plane1", "Point"}));
  EXPECT_FALSE(data_->referencePlanes[0].isValid());
  EXPECT_TRUE(data_->plane2Set.test(0)) << "plane 2 is not touched";
}

TEST_F(ReferencePlanes, APickNormalDecidesTheSenseOnlyWhenItPointsMoreThanARightAngleAway) {
  struct Case {
    const char* what;
    Vector3 direction;
    double nz;
  };
  for (const Case& c : {Case{"against", {0.2, 0, -0.1}, -1}, Case{"square", {1, 0, 0}, 1},
                        Case{"along", {0, 0, 5}, 1}, Case{"none", {0, 0, 0}, 1}}) {
    SCOPED_TRACE(c.what);
    IPtr<DeviceToPartReferencePlanes> data{new DeviceToPartReferencePlanes};
    data->plane1Direction = c.direction;
    data->setPoint(1, 0, {0, 0, 0.02});
    data->setPoint(1, 1, {0.1, 0, 0.02});
    data->setPoint(1, 2, {0, 0.1, 0.02});
    expectPlane(data->referencePlanes[0], {0, 0, c.nz, 0.02 * c.nz});
  }
}

TEST_F(ReferencePlanes, ClearingAndFlippingTouchOnlyWhatTheySay) {
  setAll();
  const Plane first = data_->referencePlanes[0];
  data_->flipPlane(1);
  expectPlane(data_->referencePlanes[0], {0, 0, -1, -0.02});
  expectPlane(data_->referencePlanes[2], {1, 0, 0, 0});
  data_->flipPlane(1);
  expectPlane(data_->referencePlanes[0], first);

  journal_->events.clear();
  data_->clearPlane(1);
  EXPECT_EQ(journal_->events, std::vector<std::string>{"Point"});
  data_->plane2Direction = {0, 1, 0};
  data_->clearPlane(2);
  EXPECT_EQ(journal_->events, (std::vector<std::string>{"Point", "Plane2", "Plane3", "Point"}));
  EXPECT_EQ(data_->plane2Direction, Vector3());
  EXPECT_EQ(data_->plane3Point, Vector3());
  EXPECT_TRUE(data_->plane1Set.all());

  journal_->events.clear();
  data_->setPoint(2, 2, {1, 1, 1});
  data_->setPoint(4, 0, {1, 1, 1});
  EXPECT_EQ(journal_->events, (std::vector<std::string>{"Point", "Point"})) << "out of range stores nothing";
  EXPECT_FALSE(data_->plane2Set.any());
}

}  // namespace
