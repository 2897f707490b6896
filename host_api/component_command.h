#pragma once

// A host command: created by class id, handed a context and a dialog, asked whether it may run, built,
// activated, fed GUI callbacks, events and the view's pointer and key input, then applied or cancelled and
// deactivated. The host drives it on its GUI thread.
//
// Input: the view hands each mouse and key callback first to the callbacks registered in its registry
// (callback_object.h: device emulators listen there), then, unless one of them handled it, to the running
// command, then, unless the command handled it, to its own handling. The view's mouse "down" is the
// command's press, its "move" the command's move and its "click" (the button let go after a press) the
// command's release; a double click reaches the command as nothing. Each callback answers whether it handled
// the input. The data is the view's and valid during the call only (view_input.h). A command that must
// ignore input (while a device acquires, say) answers false itself.

#include <cstdint>

#include "basic_types/zel_cstring.h"
#include "basic_types/zel_string.h"
#include "host_api/gui_dialog.h"
#include "host_api/gui_receiver.h"
#include "host_api/view_input.h"

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
  virtual bool onMousePress(IGfxMouseData* mouse) = 0;
  virtual bool onMouseMove(IGfxMouseData* mouse) = 0;
  virtual bool onMouseRelease(IGfxMouseData* mouse) = 0;
  virtual bool onKeyPress(IGfxKeyData* key) = 0;
  virtual bool onKeyRelease(IGfxKeyData* key) = 0;
};

// The host's command container as the extended command base sees it: three virtual bases, a main part and
// a second and a third base, whose operations the base forwards to in their order. Besides the working-size
// query and the answers to the command's host queries 34 to 37, the operations mean what the host makes them
// mean: the module passes one pointer-sized value through unchanged and hands back the answer.
class ICommandContainerMainPart : public virtual IZelUnknown {
 public:
  // 1: a container query; 1 asks for the working size in metres by which panels scale their length fields.
  virtual double query(int32_t what) = 0;
  virtual intptr_t mainOperation2(intptr_t value) = 0;
  virtual intptr_t mainOperation3(intptr_t value) = 0;
  virtual intptr_t mainOperation4(intptr_t value) = 0;
  virtual intptr_t mainOperation5(intptr_t value) = 0;
  virtual intptr_t mainOperation6(intptr_t value) = 0;
  virtual intptr_t mainOperation7(intptr_t value) = 0;
  virtual intptr_t mainOperation8(intptr_t value) = 0;
  virtual intptr_t mainOperation9(intptr_t value) = 0;
  virtual intptr_t mainOperation10(intptr_t value) = 0;
  virtual intptr_t mainOperation11(intptr_t value) = 0;
  virtual intptr_t mainOperation12(intptr_t value) = 0;
  virtual intptr_t mainOperation13(intptr_t value) = 0;
  virtual intptr_t mainOperation14(intptr_t value) = 0;
  virtual intptr_t mainOperation15(intptr_t value) = 0;
  // 16 to 19: the answers the extended command base gives for its host queries 34 to 37.
  virtual bool hostQuery34() = 0;
  virtual bool hostQuery35() = 0;
  virtual bool hostQuery36() = 0;
  virtual bool hostQuery37() = 0;
};

class ICommandContainerSecondBase : public virtual IZelUnknown {
 public:
  virtual intptr_t secondOperation1(intptr_t value) = 0;
  virtual intptr_t secondOperation2(intptr_t value) = 0;
  virtual intptr_t secondOperation3(bool flag) = 0;
};

class ICommandContainerThirdBase : public virtual IZelUnknown {
 public:
  virtual intptr_t thirdOperation1(intptr_t value) = 0;
  virtual intptr_t thirdOperation2(intptr_t value) = 0;
  virtual intptr_t thirdOperation3(intptr_t value) = 0;
  virtual intptr_t thirdOperation4(intptr_t value) = 0;
  virtual intptr_t thirdOperation5(intptr_t value) = 0;
  virtual intptr_t thirdOperation6(intptr_t value) = 0;
  virtual intptr_t thirdOperation7(intptr_t value) = 0;
  virtual intptr_t thirdOperation8(intptr_t value) = 0;
};

class IComponentCommandContainerInt : public virtual ICommandContainerMainPart,
                                      public virtual ICommandContainerSecondBase,
                                      public virtual ICommandContainerThirdBase {
 public:
  static constexpr const char* interfaceName = "IComponentCommandContainerInt";
};

// The host's command container as a command reads the argument text it was started with (a command of the
// host's menus may carry one, such as the feature kind it probes), the state the host is in, and asks to be
// ended.
//
// Flags: "inCommand" (a command runs: one of the host's own, or the module's, from its activation to its
// deactivation), "recordingMacro", "sectionCurrent" and "boundaryCurrent" (a section or boundary is what the
// user works on), "singleObjectActive" (the document has an active object, zel_doc.h).
//
// The object test holdsObject(name) answers whether the document's current object is the object of that
// name; "World" holds while no object is current (the world is). hasFeatures(count) answers whether the
// document's active object holds at least count features.
//
// finishCommand(applied) asks the host to end the running command as the user would: applied true as an
// apply (canApply, apply, deactivate; a refused apply leaves it running), false as a cancel (cancel, finish,
// deactivate; a refused cancel leaves it running). The host ends it at once, on the calling (GUI) thread, and
// keeps the command alive until that call has returned; asked during activation, it ends the command as soon
// as activation succeeds. Asked while no command runs, or while one is already being ended, it does nothing.
class IComponentCommandContainerV2 : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IComponentCommandContainerV2";
  static constexpr const char* kInCommand = "inCommand";
  static constexpr const char* kRecordingMacro = "recordingMacro";
  static constexpr const char* kSectionCurrent = "sectionCurrent";
  static constexpr const char* kBoundaryCurrent = "boundaryCurrent";
  static constexpr const char* kSingleObjectActive = "singleObjectActive";
  static constexpr const char* kWorld = "World";

  // The running command's argument text, narrow; empty when it was started without one.
  virtual ZelCString argumentText() = 0;
  // Whether the host reports the flag of that name; false for a name it does not know.
  virtual bool flag(const char* name) = 0;
  virtual bool holdsObject(const char* name) = 0;
  virtual bool hasFeatures(int32_t count) = 0;
  virtual void finishCommand(bool applied) = 0;
  // The host's first check before a command works on the document: whether it lets one do so now.
  virtual bool ready() = 0;
  // Whether the host lets commands work on objects of that type ("Point") here.
  virtual bool allowsType(const char* type) = 0;
};
