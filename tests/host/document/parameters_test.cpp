#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "host/api/parameters.h"
#include "support/counted_probe.h"
#include "support/module_fixture.h"

namespace {

// A value made by its interface name through the root, as the module makes one.
template <class T>
IPtr<T> made() {
  IPtr<T> value;
  value.getService();
  return value;
}

template <class T>
T* as(IZelUnknown* object) {
  void* part = nullptr;
  if (object) object->queryInterface(T::interfaceName, &part, false);
  return static_cast<T*>(part);
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

// The probing record's shape: the creator's id beside a copy of its parameters.
TEST_F(ParameterTable, ChangingACopyNeverReachesTheOriginal) {
  IPtr<IZelParameterTable> parameters = made<IZelParameterTable>(), record = made<IZelParameterTable>();
  IPtr<IZelDoubleValue> radius = made<IZelDoubleValue>();
  radius->setValue(0.003);
  parameters->setParameter(ZelString(u"<SampledPoints>"), points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).get());
  parameters->setParameter(ZelString(u"<ProbeRadius>"), radius.get());
  record->setParameter(ZelString(u"<Parameters>"), parameters.get());

  IPtr<IZelParameter> copy = copyOf(record.get());
  auto* copiedParameters =
      as<IZelParameterTable>(as<IZelParameterTable>(copy.get())->getParameter(ZelString(u"<Parameters>")));
  ASSERT_TRUE(copiedParameters);
  ASSERT_NE(copiedParameters, parameters.get());
  EXPECT_TRUE(
      as<IZelVectorsValue>(copiedParameters->getParameter(ZelString(u"<SampledPoints>")))->removeVector(2));
  copiedParameters->setParameter(ZelString(u"<ProbeRadius>"), made<IZelDoubleValue>().get());

  EXPECT_EQ(as<IZelVectorsValue>(parameters->getParameter(ZelString(u"<SampledPoints>")))->count(), 3);
  EXPECT_EQ(parameters->getParameter(ZelString(u"<ProbeRadius>")), radius.get());
  EXPECT_EQ(radius->value(), 0.003);
}

TEST_F(ParameterTable, EntriesKeepTheOrderOfFirstSetAndAbsentNamesAnswerNone) {
  IPtr<IZelParameterTable> table = made<IZelParameterTable>();
  IPtr<IZelIntValue> replacement = made<IZelIntValue>();
  for (const char16_t* name : {u"<Feature2>", u"<Feature10>", u"<Feature1>"})
    EXPECT_TRUE(table->setParameter(ZelString(name), made<IZelIntValue>().get()));
  EXPECT_TRUE(table->setParameter(ZelString(u"<Feature10>"), replacement.get()));

  std::vector<std::u16string> names;
  for (int32_t i = 1; i <= table->count(); ++i) names.push_back(table->nameAt(i).c_str());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"<Feature2>", u"<Feature10>", u"<Feature1>"}));
  EXPECT_EQ(table->parameterAt(2), replacement.get());
  EXPECT_FALSE(table->parameterAt(4));
  EXPECT_TRUE(table->nameAt(0).isEmpty());
  EXPECT_FALSE(table->getParameter(ZelString(u"<feature1>")));
}

// A table inside itself could never be copied to the end nor freed.
TEST_F(ParameterTable, RefusesWhatItCouldNotHoldAndKeepsWhatItHad) {
  IPtr<IZelParameterTable> outer = made<IZelParameterTable>(), inner = made<IZelParameterTable>();
  ASSERT_TRUE(outer->setParameter(ZelString(u"<ChildFeatures>"), inner.get()));
  EXPECT_FALSE(outer->setParameter(ZelString(u"<Self>"), outer.get()));
  EXPECT_FALSE(inner->setParameter(ZelString(u"<Parent>"), outer.get()));
  EXPECT_FALSE(outer->setParameter(ZelString(u""), made<IZelIntValue>().get()));
  EXPECT_FALSE(outer->setParameter(ZelString(u"<ChildFeatures>"), nullptr));
  EXPECT_EQ(outer->count(), 1);
  EXPECT_EQ(outer->getParameter(ZelString(u"<ChildFeatures>")), inner.get());
  EXPECT_EQ(inner->count(), 0);
}

// A value of another host's making that cannot copy itself.
class UncopyableValue : public IZelParameter, public ZelUnknownImpl {
 public:
  IZelParameter* copy() override { return nullptr; }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("UncopyableValue", this, this).offer<IZelParameter>(this).end();
  }
  const char* className() override { return "UncopyableValue"; }
};

TEST_F(ParameterTable, IsCopiedWholeOrNotAtAll) {
  IPtr<IZelParameterTable> table = made<IZelParameterTable>();
  table->setParameter(ZelString(u"<Radius>"), made<IZelDoubleValue>().get());
  table->setParameter(ZelString(u"<Foreign>"), IPtr<UncopyableValue>(new UncopyableValue).get());
  EXPECT_FALSE(table->copy());
}

using ValueObjects = ModuleTest;

template <class T>
IPtr<IZelParameter> madeAs() {
  return IPtr<IZelParameter>(made<T>().get());
}

struct Kind {
  const char* name;
  std::function<IPtr<IZelParameter>()> make;
  std::function<void(IZelUnknown*)> set;
  std::function<void(IZelUnknown*)> expectSet;    // what set put there
  std::function<void(IZelUnknown*)> expectUnset;  // a fresh value
};

const Vector3 kNormal{0, 0.6, -0.8};
const ZelID kCreatorId{0xA8891A8A, 0x641B, 0x465B, {0x87, 0x3D, 0x10, 0x57, 0xAB, 0xB6, 0x07, 0x95}};

std::vector<Kind> kinds(IZelUnknown* feature) {
  return {
      {"double", madeAs<IZelDoubleValue>, [](IZelUnknown* v) { as<IZelDoubleValue>(v)->setValue(-2.5e-3); },
       [](IZelUnknown* v) { EXPECT_EQ(as<IZelDoubleValue>(v)->value(), -2.5e-3); },
       [](IZelUnknown* v) { EXPECT_EQ(as<IZelDoubleValue>(v)->value(), 0.0); }},
      {"int", madeAs<IZelIntValue>, [](IZelUnknown* v) { as<IZelIntValue>(v)->setValue(-7); },
       [](IZelUnknown* v) { EXPECT_EQ(as<IZelIntValue>(v)->value(), -7); },
       [](IZelUnknown* v) { EXPECT_EQ(as<IZelIntValue>(v)->value(), 0); }},
      {"id", madeAs<IZelIDValue>, [](IZelUnknown* v) { as<IZelIDValue>(v)->setValue(kCreatorId); },
       [](IZelUnknown* v) { EXPECT_EQ(as<IZelIDValue>(v)->value(), kCreatorId); },
       [](IZelUnknown* v) { EXPECT_EQ(as<IZelIDValue>(v)->value(), ZelID{}); }},
      {"vector", madeAs<IZelVectorValue>, [](IZelUnknown* v) { as<IZelVectorValue>(v)->setValue(kNormal); },
       [](IZelUnknown* v) { EXPECT_EQ(as<IZelVectorValue>(v)->value(), kNormal); },
       [](IZelUnknown* v) { EXPECT_EQ(as<IZelVectorValue>(v)->value(), Vector3(0, 0, 0)); }},
      {"vectors", madeAs<IZelVectorsValue>,
       [](IZelUnknown* v) {
         ZelCountedArray<Vector3> list;
         list.append(kNormal);
         list.append(-kNormal);
         as<IZelVectorsValue>(v)->setValue(list);
       },
       [](IZelUnknown* v) {
         ZelCountedArray<Vector3> list;
         as<IZelVectorsValue>(v)->value(list);
         ASSERT_EQ(list.count(), 2);
         EXPECT_EQ(list[1], kNormal);
         EXPECT_EQ(list[2], -kNormal);
       },
       [](IZelUnknown* v) { EXPECT_EQ(as<IZelVectorsValue>(v)->count(), 0); }},
      {"feature", madeAs<IZelEmbeddedFeatureParameter>,
       [=](IZelUnknown* v) { as<IZelEmbeddedFeatureParameter>(v)->setFeature(feature); },
       [=](IZelUnknown* v) { EXPECT_EQ(as<IZelEmbeddedFeatureParameter>(v)->feature(), feature); },
       [](IZelUnknown* v) { EXPECT_FALSE(as<IZelEmbeddedFeatureParameter>(v)->feature()); }},
      {"constraint", madeAs<IZelFeatureConstraintParameter>,
       [](IZelUnknown* v) {
         auto* c = as<IZelFeatureConstraintParameter>(v);
         c->setConstraintType(2), c->setConstrainedElement(1), c->setReferenceKind(3),
             c->setDirection(kNormal);
       },
       [](IZelUnknown* v) {
         auto* c = as<IZelFeatureConstraintParameter>(v);
         EXPECT_EQ(std::vector<int32_t>({c->constraintType(), c->constrainedElement(), c->referenceKind()}),
                   std::vector<int32_t>({2, 1, 3}));
         EXPECT_EQ(c->direction(), kNormal);
       },
       [](IZelUnknown* v) {
         auto* c = as<IZelFeatureConstraintParameter>(v);
         EXPECT_EQ(c->constraintType() | c->constrainedElement() | c->referenceKind(), 0);
         EXPECT_EQ(c->direction(), Vector3(0, 0, 0));
       }},
      {"bit vectors", madeAs<IZelBitVectorArray>,
       [](IZelUnknown* v) {
         IPtr<BitVector> bits(new BitVector(10));
         bits->set(1), bits->set(3);
         as<IZelBitVectorArray>(v)->append(*bits);
         bits->set(2);  // the array keeps what was appended
       },
       [](IZelUnknown* v) {
         const BitVector* bits = as<IZelBitVectorArray>(v)->bitVectorAt(1);
         ASSERT_TRUE(bits);
         EXPECT_EQ(std::vector<bool>({bits->test(1), bits->test(2), bits->test(3)}),
                   std::vector<bool>({true, false, true}));
         EXPECT_FALSE(as<IZelBitVectorArray>(v)->bitVectorAt(2));
       },
       [](IZelUnknown* v) { EXPECT_EQ(as<IZelBitVectorArray>(v)->count(), 0); }},
  };
}

// Each kind is made by its interface name, reads back what was set, and its copy, a new object of which the
// caller holds the only reference, holds the same.
TEST_F(ValueObjects, EachKindRoundTripsThroughItsCopy) {
  IPtr<CountedProbe> feature(new CountedProbe);
  for (const Kind& kind : kinds(feature.get())) {
    SCOPED_TRACE(kind.name);
    IPtr<IZelParameter> value = kind.make();
    ASSERT_TRUE(value);
    kind.expectUnset(value.get());
    kind.set(value.get());
    kind.expectSet(value.get());
    IPtr<IZelParameter> copy = copyOf(value.get());
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.get(), value.get());
    EXPECT_EQ(copy->refCount(), 1u);
    kind.expectSet(copy.get());
  }
}

TEST_F(ValueObjects, PointListsReadAndRemoveOnlyWithinOneToCount) {
  IPtr<IZelVectorsValue> list = points({{1, 2, 3}, {4, 5, 6}});
  Vector3 out(9, 9, 9);
  EXPECT_FALSE(list->vectorAt(0, out) || list->vectorAt(3, out) || list->removeVector(3) ||
               list->removeVector(0));
  EXPECT_EQ(out, Vector3(9, 9, 9));
  EXPECT_TRUE(list->removeVector(1));
  ASSERT_TRUE(list->vectorAt(1, out));
  EXPECT_EQ(out, Vector3(4, 5, 6));

  ZelCountedArray<Vector3> longer;
  for (int i = 0; i < 5; ++i) longer.append(kNormal);
  list->value(longer);
  EXPECT_EQ(longer.count(), 1) << "the list replaces what the array held";
}

}  // namespace
