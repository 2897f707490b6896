#pragma once

// The host's feature-selection widget: a list of feature sub-objects built into a command's dialog, from
// which the user chooses the feature the command works on. Each choice tells the command's receiver
// onGuiEvent(id, 1), id being the one given to initialise; chosenSubObject then answers the sub-object.
// Main thread only.

#include <cstdint>

#include "basic_types/zel_id.h"
#include "basic_types/zel_string.h"
#include "host_api/gui_dialog.h"
#include "host_api/gui_receiver.h"
#include "host_api/zel_sub_objects.h"
#include "host_api/zel_unknown.h"

class IZelFeatureSelectionWidget : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelFeatureSelectionWidget";

  // The receiver (held without a reference: it owns the widget) and the id it is told choices under; the
  // registry folder of the feature types offered, flags and a mode of the host's, and the feature class ids
  // the list is limited to (none: every kind).
  virtual void initialise(IGuiReceiver* receiver, int32_t id, const char* registryPath, int32_t flags,
                          int32_t mode, const ZelID* featureClassIds, int32_t classIdCount) = 0;
  // Adds the list, titled, to the dialog; false without a dialog.
  virtual bool buildInDialog(IGuiDialog* dialog, const ZelString& title) = 0;
  // Offers the sub-objects (of the manager's object, in the order given; the widget holds them), none chosen.
  virtual void setSubObjects(IZelFeatureSubObjectMgr* manager, int32_t flags,
                             IZelFeatureSubObject* const* subObjects, int32_t count) = 0;
  // The sub-object chosen last, without a reference for the caller; null when none is.
  virtual IZelFeatureSubObject* chosenSubObject() = 0;
  // Empties the list and lets go of the sub-objects and the dialog.
  virtual void deactivate() = 0;
};
