#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "framework/object/iptr.h"
#include "host_api/parameters.h"
#include "host_api/points.h"
#include "support/made_by_name.h"
#include "support/module_fixture.h"

namespace {

template <class T>
T* as(IZelUnknown* object) {
  void* part = nullptr;
  object->queryInterface(T::interfaceName, &part, false);
  return static_cast<T*>(part);
}

ZelString operator""_name(const char16_t* text, size_t) {
  return ZelString(text);
}

IPtr<IZelVectorsValue> points(std::initializer_list<Vector3> list) {
  ZelCountedArray<Vector3> array;
  for (const Vector3& p : list) array.append(p);
  IPtr<IZelVectorsValue> value = made<IZelVectorsValue>();
  value->setValue(array);
  return value;
}

IPtr<IZelParameter> copyOf(IZelParameter* value) {
  IPtr<IZelParameter> copy;
  copy.takeOwnership(value->copy());
  return copy;
}

using ParameterTable = ModuleTest;

// The probing record's shape: the creator's parameters inside the record.
TEST_F(ParameterTable, ChangingACopyNeverReachesTheOriginal) {
  IPtr<IZelParameterTable> parameters = made<IZelParameterTable>(), record = made<IZelParameterTable>();
  IPtr<IZelDoubleValue> radius = made<IZelDoubleValue>();
  radius->setValue(0.003);
  parameters->setParameter(u"<SampledPoints>"_name, points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).get());
  parameters->setParameter(u"<ProbeRadius>"_name, radius.get());
  record->setParameter(u"<Parameters>"_name, parameters.get());

  IPtr<IZelParameter> copy = copyOf(record.get());
  auto* copied =
      as<IZelParameterTable>(as<IZelParameterTable>(copy.get())->getParameter(u"<Parameters>"_name));
  ASSERT_NE(copied, parameters.get());
  EXPECT_TRUE(as<IZelVectorsValue>(copied->getParameter(u"<SampledPoints>"_name))->removeVector(2));
  copied->setParameter(u"<ProbeRadius>"_name, made<IZelDoubleValue>().get());

  EXPECT_EQ(as<IZelVectorsValue>(parameters->getParameter(u"<SampledPoints>"_name))->count(), 3);
  EXPECT_EQ(parameters->getParameter(u"<ProbeRadius>"_name), radius.get());
  EXPECT_EQ(radius->value(), 0.003);
}

TEST_F(ParameterTable, EntriesKeepTheOrderOfFirstSetAndAbsentNamesAnswerNone) {
  IPtr<IZelParameterTable> table = made<IZelParameterTable>();
  IPtr<IZelIntValue> replacement = made<IZelIntValue>();
  for (const char16_t* name : {u"<Feature2>", u"<Feature10>", u"<Feature1>"})
    EXPECT_TRUE(table->setParameter(ZelString(name), made<IZelIntValue>().get()));
  EXPECT_TRUE(table->setParameter(u"<Feature10>"_name, replacement.get()));

  std::vector<std::u16string> names;
  for (int32_t i = 0; i <= table->count() + 1; ++i) names.push_back(table->nameAt(i).c_str());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"", u"<Feature2>", u"<Feature10>", u"<Feature1>", u""}));
  EXPECT_EQ(table->parameterAt(2), replacement.get());
  EXPECT_FALSE(table->getParameter(u"<feature1>"_name));
}

// A table inside itself could never be copied to the end nor freed.
TEST_F(ParameterTable, RefusesWhatItCouldNotHoldAndKeepsWhatItHad) {
  IPtr<IZelParameterTable> outer = made<IZelParameterTable>(), inner = made<IZelParameterTable>();
  ASSERT_TRUE(outer->setParameter(u"<ChildFeatures>"_name, inner.get()));
  EXPECT_FALSE(outer->setParameter(u"<Self>"_name, outer.get()));
  EXPECT_FALSE(inner->setParameter(u"<Parent>"_name, outer.get()));
  EXPECT_FALSE(outer->setParameter(u""_name, made<IZelIntValue>().get()));
  EXPECT_FALSE(outer->setParameter(u"<ChildFeatures>"_name, nullptr));
  EXPECT_EQ(outer->count(), 1);
  EXPECT_EQ(outer->getParameter(u"<ChildFeatures>"_name), inner.get());
  EXPECT_EQ(inner->count(), 0);
  IPtr<IZelParameterTable> innermost = made<IZelParameterTable>();
  ASSERT_TRUE(inner->setParameter(u"<ChildFeatures>"_name, innermost.get()));
  EXPECT_FALSE(innermost->setParameter(u"<Grandparent>"_name, outer.get())) << "a cycle two levels deep";
}

using ValueObjects = ModuleTest;

// A value of kind T made by its interface name holds what set put there, and so does its copy: a new object
// of which the caller holds the only reference.
template <class T>
void expectRoundTrip(const std::function<void(T*)>& set, const std::function<bool(T*)>& holds) {
  SCOPED_TRACE(T::interfaceName);
  IPtr<T> value = made<T>();
  ASSERT_TRUE(value);
  set(value.get());
  EXPECT_TRUE(holds(value.get()));
  IPtr<IZelParameter> copy = copyOf(value.get());
  ASSERT_TRUE(copy);
  EXPECT_NE(as<T>(copy.get()), value.get());
  EXPECT_EQ(copy->refCount(), 1u);
  EXPECT_TRUE(holds(as<T>(copy.get())));
}

template <class T, class V>
void expectSingleRoundTrip(V set) {
  expectRoundTrip<T>([=](T* v) { v->setValue(set); }, [=](T* v) { return v->value() == set; });
}

TEST_F(ValueObjects, EachKindRoundTripsThroughItsCopy) {
  const Vector3 normal{0, 0.6, -0.8};
  expectSingleRoundTrip<IZelDoubleValue>(-2.5e-3);
  expectSingleRoundTrip<IZelIntValue>(int32_t{-7});
  expectSingleRoundTrip<IZelIDValue>(
      ZelID{0xA8891A8A, 0x641B, 0x465B, {0x87, 0x3D, 0x10, 0x57, 0xAB, 0xB6, 7, 9}});
  expectSingleRoundTrip<IZelVectorValue>(normal);
  IPtr<IZelPoint> feature = made<IZelPoint>();
  feature->setPosition(1, 2, 3);
  expectRoundTrip<IZelEmbeddedFeatureParameter>([&](auto* v) { v->setFeature(feature.get()); },
                                                [&](auto* v) {
                                                  double xyz[3] = {};
                                                  as<IZelPoint>(v->feature())->position(xyz);
                                                  return xyz[2] == 3.0;
                                                });
  expectRoundTrip<IZelFeatureConstraintParameter>(
      [&](auto* c) {
        c->setConstraintType(2), c->setConstrainedElement(1), c->setReferenceKind(3), c->setDirection(normal);
      },
      [&](auto* c) {
        return std::tuple(c->constraintType(), c->constrainedElement(), c->referenceKind(), c->direction()) ==
               std::tuple(2, 1, 3, normal);
      });
  expectRoundTrip<IZelBitVectorArray>(
      [](auto* v) {
        IPtr<BitVector> bits(new BitVector(10));
        bits->set(1), bits->set(3);
        v->append(*bits);
        bits->set(2);  // the array keeps what was appended
      },
      [](auto* v) {
        const BitVector* bits = v->bitVectorAt(1);
        return v->count() == 1 && bits->test(1) && !bits->test(2) && bits->test(3);
      });
}

TEST_F(ValueObjects, ValuesNeverSetReadAsNothing) {
  EXPECT_EQ(made<IZelVectorValue>()->value(), Vector3(0, 0, 0));
  EXPECT_EQ(made<IZelDoubleValue>()->value(), 0.0);
  EXPECT_EQ(made<IZelFeatureConstraintParameter>()->direction(), Vector3(0, 0, 0));
  EXPECT_FALSE(made<IZelEmbeddedFeatureParameter>()->feature());
}

TEST_F(ValueObjects, PointListsReadAndRemoveOnlyWithinOneToCount) {
  IPtr<IZelVectorsValue> list = points({{1, 2, 3}, {4, 5, 6}});
  Vector3 out(9, 9, 9);
  EXPECT_FALSE(list->vectorAt(0, out) || list->vectorAt(3, out) || list->removeVector(3) ||
               list->removeVector(0));
  EXPECT_EQ(out, Vector3(9, 9, 9));
  EXPECT_TRUE(list->removeVector(1));
  ZelCountedArray<Vector3> longer;
  for (int i = 0; i < 5; ++i) longer.append(out);
  list->value(longer);
  EXPECT_EQ(longer.count(), 1) << "the list replaces what the array held";
  EXPECT_EQ(longer[1], Vector3(4, 5, 6));
}

}  // namespace
