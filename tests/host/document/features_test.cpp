#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "host/document/features/host_plane.h"
#include "support/module_fixture.h"
#include "tests/host/document/made_feature.h"

namespace {

using Box6 = std::array<double, 6>;

const Vector3 kZ{0, 0, 1};
const Vector3 kX{1, 0, 0};
const ZelString kSolidity(u"<Solidity>");
const ZelString kFeature1(u"<Feature1>");

// Every kind, made and set by its own setters, with the box it must answer.
struct KindCase {
  const char* name;
  std::function<IPtr<IZelFeature>()> make;
  Box6 box;
  bool oriented;                                 // reversing turns its frame round
  std::vector<std::pair<Vector3, bool>> inside;  // points it contains (true) or not
};

// A maker of a feature of kind T set by set.
template <class T>
std::function<IPtr<IZelFeature>()> maker(std::function<void(T*)> set) {
  return [set] { return feature<T>(set); };
}

template <class Slot>
std::function<IPtr<IZelFeature>()> slot(double cornerDiameter = 0) {
  return maker<Slot>([=](Slot* s) {
    s->setCenter({0, 0, 0}), s->setLength(0.03), s->setWidth(0.01), s->setAxis(kX),
        s->setSecondDirection({0, 2, 0});
    if constexpr (std::is_same_v<Slot, IZelRoundedSlot>) s->setCornerDiameter(cornerDiameter);
  });
}

const Box6 kSlotBox{-0.015, -0.005, 0, 0.015, 0.005, 0};

std::vector<KindCase> kindCases() {
  return {
      {"IZelPoint",
       maker<IZelPoint>([](auto* p) { p->setPosition(1, 2, 3); }),
       {1, 2, 3, 1, 2, 3},
       false,
       {{{1, 2, 3}, true}, {{1, 2, 3.001}, false}}},
      {"IZelTargetPoint",
       maker<IZelTargetPoint>([](auto* t) {
         t->setPosition(1, 2, 3), t->setSize(0.2), t->setDirection({0, 0, -4});
       }),
       {0.9, 1.9, 3, 1.1, 2.1, 3},
       true,
       {{{1, 2, 3}, true}, {{1, 2, 3.001}, false}}},
      {"IZelPlane",
       maker<IZelPlane>([](auto* p) {
         p->setPlane({0, 0, 1}, kZ, kX, 0, 0);
       }),
       {0, 0, 1, 0, 0, 1},
       true,
       {{{7, 7, 0.9}, true}, {{0, 0, 1}, true}, {{0, 0, 1.1}, false}}},
      {"IZelLine",
       maker<IZelLine>([](auto* l) {
         l->setLine({1, 0, 0}, {0, 2, -1}, 0, 0);
       }),
       {0, 0, -1, 1, 2, 0},
       true,
       {{{0.5, 1, -0.5}, true}, {{0.5, 1, 0}, false}}},
      {"IZelArc",
       maker<IZelArc>([](auto* a) {
         a->setCenter({1, 1, 1}), a->setNormal({0, 0.6, 0.8}), a->setRadius(0.5);
       }),
       {0.5, 0.6, 0.7, 1.5, 1.4, 1.3},
       true,
       {{{1, 1.5, 1}, true}, {{1, 1.48, 0.64}, false}}},
      {"IZelSphere",
       maker<IZelSphere>([](auto* s) {
         s->setCenter({1, 2, 3}), s->setRadius(0.5);
       }),
       {0.5, 1.5, 2.5, 1.5, 2.5, 3.5},
       false,
       {{{1, 2, 3.5}, true}, {{1, 2.4, 3.4}, false}}},
      {"IZelCylinder",
       maker<IZelCylinder>([](auto* c) {
         c->redefine({0, 0, 0}, {0, 0, 2}, 0.5, kX, nullptr, nullptr, nullptr);
       }),
       {-0.5, -0.5, 0, 0.5, 0.5, 2},
       true,
       {{{0.3, 0.3, 1}, true}, {{0.4, 0.4, 1}, false}, {{0, 0, 2.01}, false}}},
      {"IZelCone",
       maker<IZelCone>([](auto* c) {
         c->redefine({0, 0, 0}, {0, 0, 1}, 0.1, 0.6, kX, nullptr, nullptr, nullptr);
       }),
       {-0.6, -0.6, 0, 0.6, 0.6, 1},
       true,
       {{{0.5, 0, 0.9}, true}, {{0.5, 0, 0.5}, false}, {{0, 0, -0.01}, false}}},
      {"IZelParallelPlanes",
       maker<IZelParallelPlanes>([](auto* p) {
         p->setPlanes({0, 0, 1}, kZ, kX, 0.2, {-1, -1, 0.95}, {1, 2, 1.05});
       }),
       {-1, -1, 0.9, 1, 2, 1.1},
       true,
       {{{9, 9, 1.09}, true}, {{0, 0, 1.11}, false}}},
      {"IZelOvalSlot",
       slot<IZelOvalSlot>(),
       kSlotBox,
       true,
       {{{0.014, 0.004, 1}, false}, {{0.01, 0.005, 1}, true}}},
      {"IZelRectangularSlot",
       slot<IZelRectangularSlot>(),
       kSlotBox,
       true,
       {{{0.0149, 0.0049, 0}, true}, {{0.0151, 0, 0}, false}}},
      {"IZelRoundedSlot",
       slot<IZelRoundedSlot>(0.004),
       kSlotBox,
       true,
       {{{0.014, 0.004, 1}, true}, {{0.0149, 0.0049, 0}, false}}},
  };
}

void expectBox(IZelFeature* feature, const Box6& expected) {
  for (Box6 buffer : {Box6{-1e9, -1e9, -1e9, 1e9, 1e9, 1e9},
                      Box6{FLT_MAX, FLT_MAX, FLT_MAX, -FLT_MAX, -FLT_MAX, -FLT_MAX}}) {
    ASSERT_TRUE(feature->boundingBox(buffer.data()));
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(buffer[i], expected[i], 1e-12) << "coordinate " << i;
  }
}

Vector3 frameDirection(IZelFeature* feature) {
  Vector3 a, b, c;
  EXPECT_TRUE(feature->frame(a, b, c));
  return Vector3::cross(a, b);
}

using Features = ModuleTest;

TEST_F(Features, EachKindMadeByItsNameAnswersOnlyItsOwnBoxWhateverTheBufferHeld) {
  for (const KindCase& kind : kindCases()) {
    SCOPED_TRACE(kind.name);
    IPtr<IZelFeature> feature = kind.make();
    ASSERT_TRUE(feature);
    void* part = nullptr;
    feature->object()->queryInterface(kind.name, &part, false);
    EXPECT_TRUE(part) << "the object it stands for answers its kind";
    expectBox(feature.get(), kind.box);
  }
}

TEST_F(Features, APlanesBoxIsThatOfItsPointsOnThePlaneAndFollowsThePlane) {
  IPtr<IZelPlane> plane = made<IZelPlane>();
  plane->setPlane({0, 0, 1}, kZ, kX, 0, 0);
  queryPart<HostPlane>(plane.get())->setSourcePoints({{0, 0, 1.1}, {2, 0, 0.9}, {0, 3, 1}});
  expectBox(asFeature(plane).get(), {0, 0, 1, 2, 3, 1});
  plane->setCenter({5, 5, 2});
  expectBox(asFeature(plane).get(), {0, 0, 2, 2, 3, 2});
}

TEST_F(Features, ReversingTurnsTheOrientedKindsRoundAndLeavesTheOthers) {
  for (const KindCase& kind : kindCases()) {
    SCOPED_TRACE(kind.name);
    IPtr<IZelFeature> feature = kind.make();
    Vector3 before = frameDirection(feature.get());
    feature->reverseOrientation();
    Vector3 after = frameDirection(feature.get());
    EXPECT_NEAR(after.dot(before), kind.oriented ? -1.0 : 1.0, 1e-12);
  }
  IPtr<IZelCone> cone = made<IZelCone>();
  cone->redefine({0, 0, 0}, {0, 0, 1}, 0.1, 0.6, kX, nullptr, nullptr, nullptr);
  asFeature(cone)->reverseOrientation();
  EXPECT_EQ(cone->endA(), Vector3(0, 0, 1));
  EXPECT_EQ(cone->radiusA(), 0.6) << "each radius stays with its end";
  EXPECT_NEAR(cone->halfAngle(), std::atan(0.5), 1e-15);
}

TEST_F(Features, APlanesEquationUsesItsOwnUnitNormal) {
  IPtr<IZelPlane> plane = made<IZelPlane>();
  ASSERT_TRUE(plane->setPlane({1, 2, 3}, {0, 3, 4}, kX, 0, 0));
  Vector3 n;
  double d = 0;
  plane->equation(n, d);
  EXPECT_EQ(n, plane->normal());
  EXPECT_NEAR(n.length(), 1.0, 1e-15);
  EXPECT_NEAR(d, 3.6, 1e-15);
  asFeature(plane)->reverseOrientation();
  plane->equation(n, d);
  EXPECT_NEAR(n.dot({1, 2, 3}) - d, 0.0, 1e-15) << "the reversed plane is the same plane";
  EXPECT_LT(n.z, 0.0);
  ASSERT_TRUE(plane->setPlane({1, 2, 3}, {0, 3e300, 4e300}, kX, 0, 0));
  EXPECT_NEAR(plane->normal().z, 0.8, 1e-15) << "a huge normal is still a direction";
  EXPECT_FALSE(plane->setPlane({9, 9, 9}, {0, 0, 0}, kX, 0, 0)) << "a zero normal is refused";
  EXPECT_EQ(plane->center(), Vector3(1, 2, 3));
}

// A feature of each kind, moved by the shift and turned by the angle about the x axis.
using Placed = std::function<IPtr<IZelFeature>(Vector3 shift, double angle)>;

Vector3 turned(Vector3 v, double angle) {
  return {v.x, v.y * std::cos(angle) - v.z * std::sin(angle), v.y * std::sin(angle) + v.z * std::cos(angle)};
}

struct MatchCase {
  const char* name;
  Placed place;
  Vector3 across;  // a direction in which the locus moves
  Vector3 along;   // one in which it does not
};

std::vector<MatchCase> matchCases() {
  return {
      {"plane",
       [](Vector3 s, double a) {
         auto p = made<IZelPlane>();
         p->setPlane(s, turned(kZ, a), kX, 0, 0);
         return asFeature(p);
       },
       kZ,
       {3, -4, 0}},
      {"line",
       [](Vector3 s, double a) {
         auto l = made<IZelLine>();
         l->setLine(s + turned({0, -1, 0}, a), s + turned({0, 1, 0}, a), 0, 0);
         return asFeature(l);
       },
       kZ,
       {0, 5, 0}},
      {"cylinder",
       [](Vector3 s, double a) {
         auto c = made<IZelCylinder>();
         c->redefine(s - turned(kZ, a), s + turned(kZ, a), 0.2, kX, nullptr, nullptr, nullptr);
         return asFeature(c);
       },
       kX,
       {0, 0, 7}},
      {"circle",
       [](Vector3 s, double a) {
         auto c = made<IZelArc>();
         c->setCenter(s), c->setNormal(turned(kZ, a)), c->setRadius(0.3);
         return asFeature(c);
       },
       {0, 0.6, 0.8},
       {}},
  };
}

TEST_F(Features, MatchHoldsWithinTheDistanceAndTheAngleAndNotBeyond) {
  const double distance = 0.01;
  const double angle = 5 * std::numbers::pi / 180;
  for (const MatchCase& c : matchCases()) {
    SCOPED_TRACE(c.name);
    IPtr<IZelFeature> reference = c.place({}, 0);
    IZelFeatureExt* test = queryPart<IZelFeatureExt>(reference.get());
    EXPECT_TRUE(test->match(c.place(c.across * 0.009, 0).get(), distance, angle));
    EXPECT_FALSE(test->match(c.place(c.across * 0.011, 0).get(), distance, angle));
    EXPECT_TRUE(test->match(c.place(c.along, 0).get(), distance, angle)) << "moved along its own locus";
    EXPECT_TRUE(test->match(c.place({}, 0.9 * angle).get(), distance, angle));
    EXPECT_FALSE(test->match(c.place({}, 1.1 * angle).get(), distance, angle));
    IPtr<IZelFeature> reversed = c.place({}, 0);
    reversed->reverseOrientation();
    EXPECT_TRUE(test->match(reversed.get(), distance, angle)) << "the sense of a direction does not count";
    EXPECT_FALSE(test->match(reference.get(), std::nan(""), angle));
  }
  IPtr<IZelSphere> sphere = made<IZelSphere>();
  IPtr<IZelPoint> point = made<IZelPoint>();
  EXPECT_FALSE(queryPart<IZelFeatureExt>(sphere.get())->match(asFeature(point).get(), 1, 1))
      << "another kind";
}

// Shifted along its own locus and then turned about its new anchor, a feature's anchor still lies on the
// other's locus, but the other's anchor lies off its own by the shift times the sine of the turn: the match
// takes the larger of the two distances, whichever feature asks.
TEST_F(Features, MatchTakesTheLargerOfTheTwoAnchorDistancesWhicheverFeatureAsks) {
  const double angle = 5 * std::numbers::pi / 180, turn = 0.5 * angle;
  for (const MatchCase& c : matchCases()) {
    if (c.along.squaredLength() == 0.0) continue;  // a circle's locus is its centre
    SCOPED_TRACE(c.name);
    // The turn is about the x axis, so only the shift across it takes the reference's anchor off the locus.
    const double offSide = std::hypot(c.along.y, c.along.z) * std::sin(turn);
    IPtr<IZelFeature> reference = c.place({}, 0), moved = c.place(c.along, turn);
    IZelFeatureExt* fromReference = queryPart<IZelFeatureExt>(reference.get());
    IZelFeatureExt* fromMoved = queryPart<IZelFeatureExt>(moved.get());
    EXPECT_FALSE(fromReference->match(moved.get(), 0.9 * offSide, angle));
    EXPECT_FALSE(fromMoved->match(reference.get(), 0.9 * offSide, angle));
    EXPECT_TRUE(fromReference->match(moved.get(), 1.1 * offSide, angle));
    EXPECT_TRUE(fromMoved->match(reference.get(), 1.1 * offSide, angle));
  }
}

TEST_F(Features, ADeepCopyIsIndependentParametersIncluded) {
  for (const KindCase& kind : kindCases()) {
    SCOPED_TRACE(kind.name);
    IPtr<IZelFeature> original = kind.make();
    IPtr<IZelIntValue> solidity = made<IZelIntValue>();
    solidity->setValue(2);
    ASSERT_TRUE(original->setParameter(kSolidity, solidity.get()));
    IPtr<IZelFeature> copy;
    copy.takeOwnership(original->copy());
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.get(), original.get());
    EXPECT_EQ(copy->refCount(), 1u);
    EXPECT_STREQ(copy->className(), original->className());
    expectBox(copy.get(), kind.box);
    solidity->setValue(1);
    EXPECT_EQ(queryPart<IZelIntValue>(copy->getParameter(kSolidity))->value(), 2);
    Vector3 before = frameDirection(original.get());
    copy->reverseOrientation();
    EXPECT_EQ(frameDirection(original.get()), before);
  }
}

TEST_F(Features, ACopiedTableHoldsCopiesOfItsFeaturesAndCannotCopyWhatIsNoFeature) {
  IPtr<IZelSphere> sphere = made<IZelSphere>();
  sphere->setRadius(0.5);
  IPtr<IZelParameter> form;
  form.takeOwnership(asFeature(sphere)->parameterForm());
  IPtr<IZelParameterTable> table = made<IZelParameterTable>();
  table->setParameter(kFeature1, form.get());
  IPtr<IZelParameter> copy;
  copy.takeOwnership(table->copy());
  auto child = [](IZelParameter* t) {
    auto* embedded =
        queryPart<IZelEmbeddedFeatureParameter>(queryPart<IZelParameterTable>(t)->getParameter(kFeature1));
    return queryPart<IZelSphere>(embedded->feature());
  };
  EXPECT_EQ(child(table.get()), sphere.get());
  ASSERT_NE(child(copy.get()), sphere.get());
  child(copy.get())->setRadius(2);
  EXPECT_EQ(sphere->radius(), 0.5);
  queryPart<IZelEmbeddedFeatureParameter>(form.get())->setFeature(made<IZelIntValue>().get());
  EXPECT_FALSE(IPtr<IZelParameter>(form->copy())) << "an object that is no feature is not shared instead";
}

TEST_F(Features, ParallelPlanesHandBackWhatWasSetAndTheSoliditySetOnThem) {
  IPtr<IZelParallelPlanes> planes = made<IZelParallelPlanes>();
  EXPECT_EQ(planes->solidity(), 0);
  ASSERT_TRUE(planes->setPlanes({0, 0, 1}, {0, 0, 2}, kX, 0.2, {-1, -1, 1}, {1, 1, 1}));
  Vector3 mid, normal, reference, low, high;
  double distance = 0;
  planes->planes(mid, normal, reference, distance, low, high);
  EXPECT_EQ(std::tuple(mid, normal, reference, distance, low, high),
            std::tuple(Vector3(0, 0, 1), kZ, kX, 0.2, Vector3(-1, -1, 1), Vector3(1, 1, 1)));
  IPtr<IZelIntValue> solidity = made<IZelIntValue>();
  solidity->setValue(1);
  asFeature(planes)->setParameter(kSolidity, solidity.get());
  EXPECT_EQ(planes->solidity(), 1);
}

TEST_F(Features, ContainsAndInsideOnSimpleCases) {
  for (const KindCase& kind : kindCases()) {
    SCOPED_TRACE(kind.name);
    IPtr<IZelFeature> feature = kind.make();
    auto* planar = queryPart<IZelFeaturePlanar>(feature.get());
    for (const auto& [point, inside] : kind.inside) {
      EXPECT_EQ(queryPart<IZelFeatureExt>(feature.get())->contains(point), inside) << point;
      if (planar) {
        EXPECT_EQ(planar->isInside(point), inside) << point;
      }
    }
  }
}

TEST_F(Features, FramesAndClosestPointsFollowTheirDefinitions) {
  IPtr<IZelCylinder> cylinder = made<IZelCylinder>();
  cylinder->redefine({1, 1, 1}, {1, 1, 3}, 0.5, {1, 0, 1}, nullptr, nullptr, nullptr);
  Vector3 a, b, origin;
  ASSERT_TRUE(asFeature(cylinder)->frame(a, b, origin));
  EXPECT_EQ(std::tuple(a, Vector3::cross(a, b), origin), std::tuple(kX, kZ, Vector3(1, 1, 1)));
  EXPECT_FALSE(cylinder->redefine({1, 1, 1}, {1, 1, 1}, 0.5, kX, nullptr, nullptr, nullptr))
      << "coincident ends are refused";
  IPtr<IZelLine> line = made<IZelLine>();
  line->setLine({0, 0, 0}, {2, 0, 0}, 0, 0);
  EXPECT_EQ(line->closestPoint({1, 5, 0}), Vector3(1, 0, 0));
  EXPECT_EQ(line->closestPoint({-3, 1, 0}), Vector3(0, 0, 0)) << "never beyond the start";
}

}  // namespace
