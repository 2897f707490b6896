#pragma once

// The stand-in host's phase service ("IPhaseService") over its document. Safe on any thread.

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host/document/host_document.h"
#include "host_api/zel_phase.h"

class HostPhaseService : public IPhaseService, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostPhaseService";

  explicit HostPhaseService(HostDocument* document) : document_(document) {}

  int32_t kindByName(const char* typeName) override;
  int32_t currentPhase() override { return document_->currentPhase(); }
  bool putInPhase(IZelDocObject* object, int32_t phase) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const IPtr<HostDocument> document_;
};
