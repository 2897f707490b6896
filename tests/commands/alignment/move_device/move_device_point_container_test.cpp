#include "commands/alignment/move_device/move_device_point_container.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "framework/host_glue/document_glue.h"
#include "framework/object/query_part.h"
#include "platform/utf8.h"
#include "support/module_fixture.h"
#include "support/recording_receiver.h"

namespace {

constexpr const char* kWidgetGroup = "Plugins/Hard Probe Emulator/MoveDeviceWidget";

std::string key(const char* list, int slot, const char* field) {
  return std::string(kWidgetGroup) + "/" + list + std::to_string(slot) + "_" + field;
}

// Every item of the list's eight slots.
std::vector<std::string> slotKeys(const char* list) {
  std::vector<std::string> keys;
  for (int slot = 0; slot < 8; ++slot)
    for (const char* field : {"X", "Y", "Z", "Type", "Name"}) keys.push_back(key(list, slot, field));
  return keys;
}

std::string utf8(const ZelString& text) {
  return platform::toUtf8(text.c_str());
}

class MoveDevicePointContainerTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    references_.setPluginName(ZelString(u"Hard Probe Emulator"));
    targets_.setPluginName(ZelString(u"Hard Probe Emulator"));
  }

  ZelString add(MoveDevicePointContainer& list, const Vector3& p, uint32_t kind, const char16_t* name,
                bool numbered = true) {
    ZelString text(name);
    list.add(p, kind, text, numbered);
    return text;
  }
  std::string stored(const std::string& key) { return utf8(store().getString(key.c_str())); }
  HostDataStore& store() { return host_.core().dataStore(); }
  // The names of the sub-objects the list's document object shows, in order.
  std::vector<std::string> shownNames(MoveDevicePointContainer& list) {
    std::vector<std::string> names;
    auto* held = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(list.documentObject()));
    for (int32_t i = 0; held && i < held->subObjectCount(); ++i)
      names.push_back(utf8(held->subObjectAt(i)->name()));
    return names;
  }
  int objectsNamed(const std::u16string& name) {
    int found = 0;
    for (const auto& object : host_.document().doc().objects())
      found += std::u16string(object->objectName().c_str()) == name ? 1 : 0;
    return found;
  }

  MoveDeviceReferencePointContainer references_;
  MoveDeviceTargetPointContainer targets_;
};

TEST_F(MoveDevicePointContainerTest,
       NamesAreNumberedByPositionShownAsSubObjectsAndSavedUnderKeysWithoutSeparator) {
  EXPECT_EQ(utf8(add(references_, {0.1, 0.2, 0.3}, 7, u"Point")), "Point 1");
  add(references_, {0, 0, 0}, 7, u"Point");
  EXPECT_EQ(utf8(add(references_, {1, 2, 3}, 9, u"Sphere Center")), "Sphere Center 3");
  EXPECT_EQ(utf8(add(targets_, {1, 2, 3}, 9, u"Sphere Center 3", false)), "Sphere Center 3");
  EXPECT_EQ(shownNames(references_), (std::vector<std::string>{"Point 1", "Point 2", "Sphere Center 3"}));
  EXPECT_EQ(objectsNamed(u"Ref"), 1);
  EXPECT_EQ(objectsNamed(u"Tar"), 1);
  EXPECT_EQ(stored(key("Ref", 2, "Name")), "Sphere Center 3");
  EXPECT_EQ(store().getInt(key("Ref", 2, "Type").c_str(), -1), 9);
  EXPECT_EQ(store().getDouble(key("Ref", 0, "X").c_str(), -1), 0.1);
  EXPECT_EQ(store().getDouble(key("Ref", 0, "Z").c_str(), -1), 0.3);
  EXPECT_EQ(stored(key("Tar", 0, "Name")), "Sphere Center 3");
  ASSERT_NE(references_.subObject(2), nullptr);
  EXPECT_NE(queryPart<IZelFeatureSubObject>(references_.subObject(2)), nullptr);

  // Out of range: neutral answers, no change.
  Vector3 p(9, 9, 9);
  uint32_t kind = 99;
  ZelString name(u"kept");
  references_.get(3, p, kind, name);
  EXPECT_EQ(p, Vector3(9, 9, 9));
  EXPECT_EQ(kind, 99u);
  EXPECT_EQ(references_.type(-1), 0u);
  EXPECT_TRUE(references_.name(3).isEmpty());
  EXPECT_EQ(references_.subObject(-1), nullptr);
  references_.swap(0, 3);
  references_.remove(3);
  EXPECT_EQ(references_.count(), 3);
}

TEST_F(MoveDevicePointContainerTest,
       ANinthAddChangesNothingAndClearingRemovesTheObjectWhichTheNextAddMakesAnew) {
  for (int i = 0; i < 8; ++i) add(references_, {double(i), 0, 0}, 7, u"Point");
  const std::vector<std::string> shown = shownNames(references_);
  RecordingReceiver heard;
  for (const std::string& k : slotKeys("Ref")) store().addListener(k.c_str(), &heard);
  ZelString ninth(u"Point");
  references_.add({9, 9, 9}, 11, ninth, true);
  EXPECT_EQ(utf8(ninth), "Point");
  EXPECT_EQ(references_.count(), 8);
  EXPECT_EQ(shownNames(references_), shown);
  EXPECT_TRUE(heard.heard().empty());
  for (const std::string& k : slotKeys("Ref")) store().removeListener(k.c_str(), &heard);

  references_.clear();
  EXPECT_EQ(references_.count(), 0);
  EXPECT_EQ(references_.documentObject(), nullptr);
  EXPECT_EQ(objectsNamed(u"Ref"), 0);
  add(references_, {0, 0, 0}, 7, u"Point");
  EXPECT_EQ(objectsNamed(u"Ref"), 1);
  EXPECT_EQ(shownNames(references_), (std::vector<std::string>{"Point 1"}));
}

TEST_F(MoveDevicePointContainerTest, SavingAnEmptyListWritesEightEmptyNamesOnlyAndLoadSkipsFreeSlotsInOrder) {
  references_.load();  // registers the slots
  RecordingReceiver heard;
  const std::vector<std::string> keys = slotKeys("Ref");
  for (const std::string& k : keys) store().addListener(k.c_str(), &heard);
  references_.save(-1);
  std::vector<std::string> expected;
  for (int slot = 0; slot < 8; ++slot) expected.push_back("string " + key("Ref", slot, "Name"));
  EXPECT_EQ(heard.heard(), expected);
  for (const std::string& k : keys) store().removeListener(k.c_str(), &heard);

  // Slots 0 and 2 named; slot 1 holds numbers but no name.
  store().setString(nullptr, key("Ref", 0, "Name").c_str(), ZelString(u"A"));
  store().setString(nullptr, key("Ref", 2, "Name").c_str(), ZelString(u"C"));
  store().setDouble(nullptr, key("Ref", 2, "Y").c_str(), 0.25);
  store().setInt(nullptr, key("Ref", 2, "Type").c_str(), 11);
  store().setDouble(nullptr, key("Ref", 1, "X").c_str(), 5.0);
  store().setInt(nullptr, key("Ref", 1, "Type").c_str(), 9);
  references_.load();
  ASSERT_EQ(references_.count(), 2);
  EXPECT_EQ(utf8(references_.name(0)), "A");
  EXPECT_EQ(utf8(references_.name(1)), "C");
  EXPECT_EQ(references_.position(1), Vector3(0, 0.25, 0));
  EXPECT_EQ(references_.type(1), 11u);
  EXPECT_EQ(references_.documentObject(), nullptr);
  EXPECT_EQ(references_.subObject(0), nullptr);

  // A copy keeps the entries and the plug-in name, and no document object.
  MoveDeviceReferencePointContainer copy(references_);
  EXPECT_EQ(copy.count(), 2);
  EXPECT_EQ(utf8(copy.pluginName()), "Hard Probe Emulator");
}

// The store holds the live list after remove and swap, so a run left without its Exit resumes as shown.
TEST_F(MoveDevicePointContainerTest,
       AfterRemoveAndSwapTheStoreHoldsTheLiveListAndTheDocumentKeepsItsSubObjects) {
  for (const char16_t* name : {u"A", u"B", u"C"}) add(references_, {0, 0, 0}, 7, name, false);
  references_.remove(1);
  add(references_, {0, 0, 1}, 9, u"D", false);
  EXPECT_EQ(shownNames(references_), (std::vector<std::string>{"A", "C", "D"}));
  references_.swap(0, 2);
  EXPECT_EQ(utf8(references_.name(0)), "D");
  EXPECT_EQ(references_.type(0), 9u);
  EXPECT_EQ(utf8(references_.subObject(0)->name()), "D");
  MoveDeviceReferencePointContainer reloaded;
  reloaded.setPluginName(references_.pluginName());
  reloaded.load();
  ASSERT_EQ(reloaded.count(), 3);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(utf8(reloaded.name(i)), utf8(references_.name(i)));
    EXPECT_EQ(reloaded.position(i), references_.position(i));
    EXPECT_EQ(reloaded.type(i), references_.type(i));
  }
  references_.remove(0);
  references_.remove(0);
  EXPECT_EQ(stored(key("Ref", 0, "Name")), "A");
  EXPECT_EQ(stored(key("Ref", 1, "Name")), "");

  add(targets_, {1, 0, 0}, 7, u"T", false);
  targets_.transformAll(Matrix4x4::translation({0, 2, 0}) * Matrix4x4::uniformScaling(2));
  EXPECT_EQ(targets_.position(0), Vector3(2, 2, 0));
}

}  // namespace
