#pragma once

// The base of dialog panels. A widget's buildGui keeps the dialog and reserves one block of control ids for
// its controls (reserveControls), so that several widgets share one dialog without clashing ids. Every GUI
// callback does nothing unless a widget overrides it.

#include <cstdint>

#include "framework/commands/zel_gui_receiver_base.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"
#include "framework/widgets/izel_widget.h"
#include "host_api/gui_receiver.h"

class ZelWidget : public IZelWidget, public ZelGuiReceiverBase, public virtual ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "ZelWidget";

  // One control of a widget: its index in the widget's block and its own name.
  struct Control {
    int32_t index;
    const char* name;
  };
  // A control's full identity in the dialog: "widget name:class name:control name", and its id.
  struct ControlId {
    ZelCString text;
    int32_t number;
  };

  void setName(const char* name) override { name_ = name; }
  const ZelCString& name() override { return name_; }

  ControlId controlId(const Control& control);
  int32_t idBase() const { return idBase_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
  // The base's part of a derived widget's query chain.
  void queryWidgetChain(QueryChain& chain);

 protected:
  // Keeps the dialog and reserves count control ids in it, from idBase().
  void reserveControls(IGuiDialog* dialog, int32_t count);
  IGuiDialog* dialog() const { return dialog_; }
  // Enables or disables every control of the block, the group first; the block counts as enabled while its
  // first control (the group) is.
  void enableBlock(bool enabled);
  bool blockEnabled();
  // Enables or disables the widget's first control, its box, which stands for the whole widget; and whether
  // the dialog has it enabled. Nothing, and false, before the widget is built.
  void enableBox(bool enabled);
  bool isBoxEnabled();

 private:
  ZelCString name_;
  IGuiDialog* dialog_ = nullptr;  // the host's, held without a reference while the dialog is open
  int32_t idBase_ = 0;
  int32_t controlCount_ = 0;
};
