#pragma once

#include <initializer_list>

#include "framework/object/zel_unknown_impl.h"
#include "host_api/zel_translator.h"

// The module's own translator for when the host has none: a key comes back as itself, with the arguments put
// into its placeholders.
class ZelTrivialTranslator : public IZelTranslator, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "ZelTrivialTranslator";

  ZelString translate(const char* key, int32_t count, const ZelString* args) override;
  ZelString translate(const char* key, const ZelString& a1, const ZelString& a2, const ZelString& a3,
                      const ZelString& a4, const ZelString& a5, const ZelString& a6) override;
  ZelString translate(const char* key, const ZelString& a1, const ZelString& a2, const ZelString& a3,
                      const ZelString& a4, const ZelString& a5) override;
  ZelString translate(const char* key, const ZelString& a1, const ZelString& a2, const ZelString& a3,
                      const ZelString& a4) override;
  ZelString translate(const char* key, const ZelString& a1, const ZelString& a2,
                      const ZelString& a3) override;
  ZelString translate(const char* key, const ZelString& a1, const ZelString& a2) override;
  ZelString translate(const char* key, const ZelString& a1) override;
  ZelString translate(const char* key) override;
  bool reserved() override { return false; }
  bool keyToText(const char* key, ZelString& out) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  ZelString substituted(const char* key, std::initializer_list<const ZelString*> args);
};
