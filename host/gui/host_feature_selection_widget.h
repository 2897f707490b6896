#pragma once

// The stand-in host's feature-selection widget: a "list" control of the sub-objects' names, itself the
// receiver of that control. Choosing an entry makes its sub-object the chosen one and tells the command.

#include <cstdint>
#include <vector>

#include "framework/commands/zel_gui_receiver_base.h"
#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/feature_selection_widget.h"

class HostFeatureSelectionWidget : public IZelFeatureSelectionWidget,
                                   public ZelGuiReceiverBase,
                                   public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostFeatureSelectionWidget";

  void initialise(IGuiReceiver* receiver, int32_t id, const char* registryPath, int32_t flags, int32_t mode,
                  const ZelID* featureClassIds, int32_t classIdCount) override;
  bool buildInDialog(IGuiDialog* dialog, const ZelString& title) override;
  void setSubObjects(IZelFeatureSubObjectMgr* manager, int32_t flags, IZelFeatureSubObject* const* subObjects,
                     int32_t count) override;
  IZelFeatureSubObject* chosenSubObject() override;
  void deactivate() override;

  void onGuiValueChanged(int32_t id, int32_t value) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IGuiReceiver* receiver_ = nullptr;
  int32_t id_ = 0;
  IGuiDialog* dialog_ = nullptr;
  int32_t listId_ = 0;
  std::vector<IPtr<IZelFeatureSubObject>> subObjects_;
  int32_t chosen_ = -1;  // index into subObjects_
};
