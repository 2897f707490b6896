#pragma once

// The base of every interactive command: a default for each host command operation, so that a command
// overrides only what it needs. The defaults: every GUI callback does nothing, no pointer or key input is
// handled, canRun answers false (so the host never starts a command that does not say it can run), activate,
// apply and cancel answer true.
// The context and the dialog are the host's, valid from setContext/setGui until the command is released; the
// base holds no reference on either.

#include <cstdint>

#include "basic_types/zel_string.h"
#include "framework/commands/zel_gui_receiver_base.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/component_command.h"

// The command kind every command reports unless it says otherwise.
inline constexpr uint32_t kDefaultCommandKind = 3;

class CompBaseCmd : public IComponentCommand, public ZelGuiReceiverBase, public virtual ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "CompBaseCmd";

  int32_t setContext(IZelUnknown* context) override;
  void setGui(IGuiDialog* dialog) override { gui_ = dialog; }
  const ZelString* name() override { return &name_; }
  uint32_t kind() override { return kind_; }
  bool canRun(IZelUnknown*) override { return false; }
  void prepare() override {}
  void createGui(IGuiDialog*) override {}
  bool activate() override { return true; }
  void deactivate() override {}
  bool canApply() override { return true; }
  bool apply() override { return true; }
  bool cancel() override { return true; }
  void finish() override {}
  uint32_t hostQuery33() override { return 1; }
  bool hostQuery34() override { return false; }
  bool hostQuery35() override { return false; }
  bool hostQuery36() override { return false; }
  bool hostQuery37() override { return false; }
  bool onMousePress(IGfxMouseData*) override { return false; }
  bool onMouseMove(IGfxMouseData*) override { return false; }
  bool onMouseRelease(IGfxMouseData*) override { return false; }
  bool onKeyPress(IGfxKeyData*) override { return false; }
  bool onKeyRelease(IGfxKeyData*) override { return false; }

  IZelUnknown* context() const { return context_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
  // The base's part of a derived command's query chain.
  void queryCommandChain(QueryChain& chain);

 protected:
  uint32_t kind_ = kDefaultCommandKind;
  ZelString name_;
  IZelUnknown* context_ = nullptr;
  IGuiDialog* gui_ = nullptr;
};

// The extended command base: the context it keeps is the host container's "IComponentCommandContainerInt"
// interface, and the host queries 34 to 37 and the container query go to that container.
class CompBaseCmdInt : public CompBaseCmd {
 public:
  static constexpr const char* interfaceName = "CompBaseCmdInt";

  // Keeps the context's container interface (or null) and answers whether there was one.
  int32_t setContext(IZelUnknown* context) override;
  bool hostQuery34() override { return forwardHostQuery(34); }
  bool hostQuery35() override { return forwardHostQuery(35); }
  bool hostQuery36() override { return forwardHostQuery(36); }
  bool hostQuery37() override { return forwardHostQuery(37); }
  // The container's answer to a query (1: the working size in metres); 0 without a container.
  double containerQuery(int32_t what);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool forwardHostQuery(int32_t number);

  IComponentCommandContainerInt* container_ = nullptr;  // the host's, held without a reference
};
