#pragma once

// The base of every interactive command: a default for each host command operation, so that a command
// overrides only what it needs. The defaults: every GUI callback does nothing, no pointer or key input is
// handled, canRun answers false (so the host never starts a command that does not say it can run), activate,
// apply and cancel answer true.
// The context and the dialog are the host's, valid from setContext/setGui until the command is released; the
// base holds no reference on either.

#include <cstdint>
#include <type_traits>

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

  // Order 38, after the host's command operations.
  virtual IZelUnknown* context() const { return context_; }

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
// interface (or null), and its 21 operations after context (orders 39 to 59), and the host queries 34 to 37,
// forward their arguments unchanged to the container's operations and give back the answer. Without a
// container they do nothing and answer 0.
class CompBaseCmdInt : public CompBaseCmd {
 public:
  static constexpr const char* interfaceName = "CompBaseCmdInt";

  // Keeps the context's container interface (or null) and answers whether there was one.
  int32_t setContext(IZelUnknown* context) override;
  bool hostQuery34() override { return forward(&ICommandContainerMainPart::hostQuery34); }
  bool hostQuery35() override { return forward(&ICommandContainerMainPart::hostQuery35); }
  bool hostQuery36() override { return forward(&ICommandContainerMainPart::hostQuery36); }
  bool hostQuery37() override { return forward(&ICommandContainerMainPart::hostQuery37); }

  // 39: the container's answer to a query (1: the working size in metres).
  virtual double containerQuery(int32_t what) { return forward(&ICommandContainerMainPart::query, what); }
  virtual intptr_t containerCall40(intptr_t value) {
    return forward(&ICommandContainerMainPart::mainOperation2, value);
  }
  virtual intptr_t containerCall41(intptr_t value) {
    return forward(&ICommandContainerMainPart::mainOperation3, value);
  }
  virtual intptr_t containerCall42(intptr_t value) {
    return forward(&ICommandContainerMainPart::mainOperation4, value);
  }
  virtual intptr_t containerCall43(intptr_t value) {
    return forward(&ICommandContainerMainPart::mainOperation5, value);
  }
  virtual intptr_t containerCall44(intptr_t value) {
    return forward(&ICommandContainerMainPart::mainOperation6, value);
  }
  virtual intptr_t containerCall45(intptr_t value) {
    return forward(&ICommandContainerMainPart::mainOperation7, value);
  }
  virtual intptr_t containerCall46(intptr_t value) {
    return forward(&ICommandContainerMainPart::mainOperation8, value);
  }
  virtual intptr_t containerCall47(intptr_t value) {
    return forward(&ICommandContainerMainPart::mainOperation9, value);
  }
  virtual intptr_t containerCall48(intptr_t value) {
    return forward(&ICommandContainerThirdBase::thirdOperation5, value);
  }
  virtual intptr_t containerCall49(intptr_t value) {
    return forward(&ICommandContainerThirdBase::thirdOperation5, value);
  }
  virtual intptr_t containerCall50(intptr_t value) {
    return forward(&ICommandContainerThirdBase::thirdOperation7, value);
  }
  virtual intptr_t containerCall51(intptr_t value) {
    return forward(&ICommandContainerThirdBase::thirdOperation7, value);
  }
  virtual intptr_t containerCall52(intptr_t value) {
    return forward(&ICommandContainerMainPart::mainOperation10, value);
  }
  virtual intptr_t containerCall53(intptr_t value) {
    return forward(&ICommandContainerMainPart::mainOperation11, value);
  }
  virtual intptr_t containerCall54(intptr_t value) {
    return forward(&ICommandContainerMainPart::mainOperation12, value);
  }
  virtual intptr_t containerCall55(intptr_t value) {
    return forward(&ICommandContainerMainPart::mainOperation13, value);
  }
  virtual intptr_t containerCall56(intptr_t value) {
    return forward(&ICommandContainerMainPart::mainOperation14, value);
  }
  virtual intptr_t containerCall57(intptr_t value) {
    return forward(&ICommandContainerMainPart::mainOperation15, value);
  }
  virtual intptr_t containerCall58(intptr_t value) {
    return forward(&ICommandContainerThirdBase::thirdOperation8, value);
  }
  // 59: the flag the argument points to, by value; a null pointer forwards nothing.
  virtual intptr_t containerCall59(const bool* flag) {
    return flag ? forward(&ICommandContainerSecondBase::secondOperation3, *flag) : 0;
  }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  template <class Part, class Result, class... Arguments>
  Result forward(Result (Part::*operation)(Arguments...), std::type_identity_t<Arguments>... arguments) {
    Part* part = container_;
    return part ? (part->*operation)(arguments...) : Result{};
  }

  IComponentCommandContainerInt* container_ = nullptr;  // the host's, held without a reference
};
