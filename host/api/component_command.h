#pragma once

// A host command: created by class id, handed a context and a dialog, asked whether it may run, built,
// activated, fed GUI callbacks and events, then applied or cancelled and deactivated. The host drives it on
// its GUI thread.

#include <cstdint>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "host/api/gui_dialog.h"
#include "host/api/gui_receiver.h"

// Holds the command's enumerations; its one field is the command kind.
class IComponentCommandEnum {
 public:
  virtual ~IComponentCommandEnum() = default;
};

class IComponentCommand : public virtual IGuiReceiver, public IComponentCommandEnum {
 public:
  static constexpr const char* interfaceName = "IComponentCommand";

  virtual int32_t setContext(IZelUnknown* context) = 0;
  virtual void setGui(IGuiDialog* dialog) = 0;
  virtual const ZelString* name() = 0;
  virtual uint32_t kind() = 0;
  virtual bool canRun(IZelUnknown* context) = 0;
  virtual void prepare() = 0;
  virtual void createGui(IGuiDialog* dialog) = 0;
  virtual bool activate() = 0;
  virtual void deactivate() = 0;
  virtual bool canApply() = 0;
  virtual bool apply() = 0;
  virtual bool cancel() = 0;
  // Called after cancel.
  virtual void finish() = 0;
  // Host queries whose meaning is the host's; the module only gives defaults.
  virtual uint32_t hostQuery33() = 0;
  virtual bool hostQuery34() = 0;
  virtual bool hostQuery35() = 0;
  virtual bool hostQuery36() = 0;
  virtual bool hostQuery37() = 0;
};

// The host's command container as the extended command base sees it.
class IComponentCommandContainerInt : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IComponentCommandContainerInt";

  // A container query: 1 asks for the working size in metres by which panels scale their length fields.
  virtual double query(int32_t what) = 0;
  // The answers the extended command base gives for the host queries 34 to 37.
  virtual bool hostQuery(int32_t number) = 0;
};

// The host's command container as a command reads the argument text it was started with (a command of the
// host's menus may carry one, such as the feature kind it probes) and the state the host is in.
class IComponentCommandContainerV2 : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IComponentCommandContainerV2";
  // Flags the host reports: a command is running already, a macro is being recorded.
  static constexpr const char* kInCommand = "inCommand";
  static constexpr const char* kRecordingMacro = "recordingMacro";

  // The running command's argument text, narrow; empty when it was started without one.
  virtual ZelCString argumentText() = 0;
  // Whether the host reports the flag of that name; false for a name it does not know.
  virtual bool flag(const char* name) = 0;
};
