#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/counted_probe.h"
#include "support/module_fixture.h"

namespace {

// A base class with a chain of its own, as the subject, command and widget bases have.
class ProbeBase : public IProbeB, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "ProbeBase";
  int b() override { return 2; }
  void queryChain(QueryChain& chain) {
    chain.classLeaf(interfaceName, this, this).offer<IProbeB>(this).end();
  }
};

class OuterProbe : public IProbeA, public ProbeBase {
 public:
  static constexpr const char* interfaceName = "OuterProbe";
  int a() override { return 1; }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain chain(name, out);
    chain.classLeaf(interfaceName, static_cast<OuterProbe*>(this), static_cast<IZelUnknown*>(this))
        .offer<IProbeA>(this);
    queryChain(chain);  // the base's chain comes last, so its end step is ours
  }
  const char* className() override { return interfaceName; }
};

// A caller-made collector with an optional probe set of one name.
struct Collection {
  ZelCountedArray<ZelCString> classStack;
  ZelCountedArray<InterfaceNameEntry> entries;
  InterfaceNameProbe probe;
  InterfaceNameProbe* buckets[7] = {};
  InterfaceNameCollector collector;

  explicit Collection(const char* probeName = nullptr) {
    collector.classStack = &classStack;
    collector.entries = &entries;
    collector.probeBucketCount = 7;
    if (probeName) {
      uint32_t h = 5381;
      for (const char* p = probeName; *p; ++p) h = h * 33 + static_cast<uint32_t>(static_cast<int32_t>(*p));
      probe.name = probeName;
      buckets[h % 7] = &probe;
      collector.probeBuckets = buckets;
    }
  }

  void collect(IZelUnknown* object) {
    object->queryInterface(nullptr, reinterpret_cast<void**>(&collector), true);
  }

  std::vector<std::string> lines() {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= entries.count(); ++i) {
      out.push_back(std::string(entries[i].name.c_str()) + "," + std::to_string(entries[i].isClass) + "," +
                    entries[i].owner.c_str());
    }
    return out;
  }
};

TEST(QueryByName, BaseChainContributesItsScopeAndLeavesTheOuterClassOpen) {
  IPtr<OuterProbe> outer(new OuterProbe);
  Collection collection;
  collection.collect(static_cast<IProbeA*>(outer.get()));
  EXPECT_EQ(collection.lines(), (std::vector<std::string>{"OuterProbe,1,", "IProbeA,0,OuterProbe",
                                                          "ProbeBase,1,OuterProbe", "IProbeB,0,ProbeBase"}));
  ASSERT_EQ(collection.classStack.count(), 1);
  EXPECT_STREQ(collection.classStack[1].c_str(), "OuterProbe");

  void* out = nullptr;
  outer->queryInterface("ProbeBase", &out, false);
  EXPECT_EQ(out, static_cast<ProbeBase*>(outer.get()));
  outer->queryInterface("IProbeB", &out, false);
  EXPECT_EQ(static_cast<IProbeB*>(out)->b(), 2);
  outer->queryInterface("IProbeA", &out, false);
  EXPECT_EQ(static_cast<IProbeA*>(out)->a(), 1);
  outer->queryInterface("iprobea", &out, false);
  EXPECT_EQ(out, nullptr) << "names are case-sensitive";
  EXPECT_EQ(outer->refCount(), 1u) << "a query adds no reference";
}

TEST(QueryByName, ProbeSetStopsTheCollectionOnlyForNamesTheObjectAdds) {
  IPtr<CountedProbe> probe(new CountedProbe);
  Collection unknownProbe("IZelUnknown");
  unknownProbe.collect(probe.get());
  EXPECT_EQ(unknownProbe.collector.probeHit, 0);
  EXPECT_EQ(unknownProbe.lines(), (std::vector<std::string>{"CountedProbe,1,", "IProbeA,0,CountedProbe",
                                                            "IProbeB,0,CountedProbe"}));
  EXPECT_EQ(unknownProbe.classStack.count(), 0) << "a class without a base chain closes its scope";

  Collection classProbe("CountedProbe");
  classProbe.collect(probe.get());
  EXPECT_EQ(classProbe.collector.probeHit, 1);
  EXPECT_EQ(classProbe.entries.count(), 0);
  EXPECT_EQ(classProbe.classStack.count(), 0);

  Collection interfaceProbe("IProbeB");
  interfaceProbe.collect(probe.get());
  EXPECT_EQ(interfaceProbe.collector.probeHit, 1);
  EXPECT_EQ(interfaceProbe.entries.count(), 0);
}

}  // namespace
