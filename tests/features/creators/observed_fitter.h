#pragma once

// A fitter that stands in for one of the host's best-fit fitters in a test: it hands the points and every
// parameter on to the host's own fitter of that kind, keeps what it was given by name and the order of the
// names, and may change the fitted feature before it answers it: reversed (its ends swapped), as a host whose
// fit runs the other way round would, or set to a shape of exact values.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "host/core/host_unknown.h"
#include "host/core/zel_id_text.h"
#include "host/standin_host.h"
#include "host_api/feature_fitter.h"
#include "host_api/registry_paths.h"

class ObservedFitter : public IZelFeatureFitter, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "ObservedFitter";

  struct Record {
    std::map<std::u16string, IPtr<IZelParameter>> given;
    std::vector<std::u16string> namesInOrder;
    std::function<void(IZelFeature&)> changeAnswer;
    template <class T>
    T* value(const char16_t* name) {
      auto found = given.find(name);
      return found == given.end() ? nullptr : queryPart<T>(found->second.get());
    }
  };

  ObservedFitter(const ZelID& hostFitter, Record& record) : record_(record) {
    fitter_.createInstance(hostFitter);
  }

  void setPointSet(IZelPointSetInterface* points) override { fitter_->setPointSet(points); }
  bool setParameter(const ZelString& name, IZelParameter* value) override {
    record_.given[name.c_str()] = value;
    record_.namesInOrder.push_back(name.c_str());
    return fitter_->setParameter(name, value);
  }
  IZelFeature* fit() override {
    IZelFeature* fitted = fitter_->fit();
    if (fitted && record_.changeAnswer) record_.changeAnswer(*fitted);
    return fitted;
  }
  ZelString failure() override { return fitter_->failure(); }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelFeatureFitter>(this).end();
  }
  const char* className() override { return interfaceName; }

  // Puts an observed fitter of the host's fitter class hostFitter under "Features/Fitters/BestFitFitter/"
  // followed by featureType, in place of the host's, for the life of the host.
  static void install(StandinHost& host, const char* featureType, const ZelID& hostFitter, Record& record) {
    const ZelID id{0x0b5e7ed0, 0xf17e, 0x4e55, {0x80, 0, 0, 0, 0, 0, 0, 1}};
    host.root().addHostClass({id, {}, [&record, hostFitter] {
                                return static_cast<IZelUnknown*>(new ObservedFitter(hostFitter, record));
                              }});
    host.root().registry().add(std::string(kBestFitFitterPath) + featureType, registryText(id));
  }

 private:
  IPtr<IZelFeatureFitter> fitter_;
  Record& record_;
};
