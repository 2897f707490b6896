#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "framework/iterators/zel_itr.h"
#include "framework/iterators/zel_itr_base.h"
#include "framework/object/host_lookup.h"
#include "host/scene/host_scene_nodes.h"
#include "support/module_fixture.h"
#include "support/text.h"

namespace {

// Walks three points; each fill writes values derived from the element index, so a value read from the wrong
// array or index shows.
class ThreePointItr : public ZelItr {
 public:
  static constexpr int32_t kCount = 3;

  bool first(void*) override {
    index_ = 0;
    return true;
  }
  bool next(void*, bool*) override { return ++index_ < kCount; }
  bool currentIndex(int32_t& out) override { return (out = index_) >= 0; }
  void fillVertices(VertexArrayImp* array) override { fill(array, "vertices", 1.0); }
  void fillNormals(VertexArrayImp* array) override { fill(array, "normals", 10.0); }
  void fillTexCoords(VertexArrayImp* array) override { fill(array, "texCoords", 100.0); }
  void fillColors(VertexArrayImp* array) override {
    filled.push_back("colors");
    array->resize(kCount);
    for (int32_t i = 0; i < kCount; ++i) array->setColor(i, {0.25f * i, 0.5f, 0.75f, 1.0f});
  }

  int32_t index_ = -1;
  std::vector<std::string> filled;

 private:
  void fill(VertexArrayImp* array, const char* what, double scale) {
    filled.push_back(what);
    array->resize(kCount);
    for (int32_t i = 0; i < kCount; ++i) array->set(i, Vector3(scale * i, scale, -scale * i));
  }
};

// A label with its placement.
class LabelledItr : public ThreePointItr {
 public:
  bool text(ZelString& out, double& size, double& offsetX, double& offsetY) override {
    std::tie(out, size, offsetX, offsetY) = std::tuple(ZelString(u"P1"), 6.0, -0.2, -0.3);
    return true;
  }
};

class MeshIterator : public ModuleTest {
 protected:
  size_t reports() { return host_.core().assertions().reports().size(); }

  IPtr<ThreePointItr> itr_{new ThreePointItr};
};

TEST_F(MeshIterator, WhatOnlyAConcreteIteratorCanGiveIsReportedAndReadsNothing) {
  itr_->first(nullptr);
  Vector3 point;
  ColorRGBA color;
  EXPECT_EQ(std::tuple(itr_->vertex(point), itr_->normal(point), itr_->color(color), itr_->texCoord(point)),
            std::tuple(false, false, false, false));
  EXPECT_EQ(reports(), 4u) << "an array never filled";
  itr_->nodeCall4(1, nullptr);
  itr_->ZelItr::fillVertices(nullptr);
  itr_->ZelItr::fillNormals(nullptr);
  itr_->ZelItr::fillColors(nullptr);
  itr_->ZelItr::fillTexCoords(nullptr);
  EXPECT_EQ(reports(), 9u) << "a default that only a concrete iterator can give";
  EXPECT_TRUE(itr_->setFlagB(false));
  EXPECT_FALSE(itr_->flagB());
  ZelString label(u"stale");
  double size = 0, x = 0, y = 0;
  EXPECT_FALSE(itr_->ZelItr::text(label, size, x, y));
  EXPECT_TRUE(label.isEmpty());
}

TEST_F(MeshIterator, PrepareFillsTheArraysBothMaskAndHintNameAndAccessorsReadTheCurrentElementOfEach) {
  itr_->prepareArrays(ZelNodeEnum::Normals);
  EXPECT_TRUE(itr_->filled.empty()) << "without the array bit nothing is filled";
  itr_->setHint(ZelNodeEnum::Array | ZelNodeEnum::Normals);
  itr_->prepareArrays(ZelNodeEnum::Colors);
  EXPECT_EQ(itr_->filled, (std::vector<std::string>{"vertices"}));
  itr_->filled.clear();
  itr_->setHint(ZelNodeEnum::Array | ZelNodeEnum::Normals | ZelNodeEnum::Colors | ZelNodeEnum::TexCoords);
  itr_->prepareArrays(ZelNodeEnum::Normals | ZelNodeEnum::Colors | ZelNodeEnum::TexCoords);
  EXPECT_EQ(itr_->filled, (std::vector<std::string>{"vertices", "normals", "colors", "texCoords"}));
  ASSERT_TRUE(itr_->first(nullptr));
  bool restarted = true;
  ASSERT_TRUE(itr_->advance(nullptr, &restarted));
  EXPECT_FALSE(restarted);
  ASSERT_TRUE(itr_->advance(nullptr, &restarted));
  Vector3 value;
  ASSERT_TRUE(itr_->vertex(value));
  EXPECT_EQ(value, Vector3(2, 1, -2));
  ASSERT_TRUE(itr_->normal(value));
  EXPECT_EQ(value, Vector3(20, 10, -20));
  ASSERT_TRUE(itr_->texCoord(value));
  EXPECT_EQ(value, Vector3(200, 100, -200));
  ColorRGBA color;
  ASSERT_TRUE(itr_->color(color));
  EXPECT_EQ(std::tuple(color.r, color.b), std::tuple(0.5f, 0.75f));
  EXPECT_FALSE(itr_->advance(nullptr, &restarted)) << "three elements only";
  EXPECT_FALSE(itr_->vertex(value)) << "an index past the array reads nothing";
  EXPECT_EQ(value, Vector3(200, 100, -200));
  EXPECT_EQ(reports(), 0u);
}

TEST_F(MeshIterator, TheTextNodeCarriesTheLabelAtTheOriginOrNothingForAPlainIterator) {
  IPtr<LabelledItr> labelled(new LabelledItr);
  auto node = [](IZelText* made) {
    void* part = nullptr;
    made->queryInterface(HostTextNode::interfaceName, &part, false);
    return IPtr<HostTextNode>(static_cast<HostTextNode*>(part));
  };
  IPtr<HostTextNode> text = node(labelled->createTextNode());
  ASSERT_TRUE(text);
  EXPECT_EQ(std::tuple(text->name(), ::text(text->text()), text->anchor(), text->size(), text->offsetX(),
                       text->offsetY()),
            std::tuple("node", u"P1", Vector3(), 6.0, -0.2, -0.3));
  EXPECT_TRUE(node(itr_->createTextNode())->text().isEmpty());
  host_.root().setService(IZelNodeFactory::interfaceName, nullptr);
  EXPECT_EQ(labelled->createTextNode(), nullptr);
}

TEST_F(MeshIterator, TheLightBaseAnswersEverythingWithNothingAndKeepsOnlyItsHint) {
  IPtr<ZelItrBase> base(new ZelItrBase);
  base->setHint(ZelNodeEnum::Array);
  EXPECT_EQ(base->hint(), ZelNodeEnum::Array);
  base->prepareArrays(-1);
  base->nodeCall4(0, nullptr);
  base->setFlagA(true);
  EXPECT_FALSE(base->setFlagB(true));
  EXPECT_FALSE(base->flagB());
  bool restarted = true;
  EXPECT_FALSE(base->advance(nullptr, &restarted));
  EXPECT_FALSE(restarted);
  Vector3 point;
  EXPECT_EQ(std::tuple(base->vertex(point), base->createTextNode()), std::tuple(false, nullptr));
  EXPECT_EQ(reports(), 0u);
}

}  // namespace
