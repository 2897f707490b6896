#pragma once

#include <cstdint>

#include "basic_types/zel_id.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

// A translator of one module's texts. A key is the English text itself, with numbered placeholders "%1",
// "%2" and so on that the arguments fill.
class IZelTranslator : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelTranslator";

  // The key with the first count of the count consecutive strings at args.
  virtual ZelString translate(const char* key, int32_t count, const ZelString* args) = 0;
  virtual ZelString translate(const char* key, const ZelString& a1, const ZelString& a2, const ZelString& a3,
                              const ZelString& a4, const ZelString& a5, const ZelString& a6) = 0;
  virtual ZelString translate(const char* key, const ZelString& a1, const ZelString& a2, const ZelString& a3,
                              const ZelString& a4, const ZelString& a5) = 0;
  virtual ZelString translate(const char* key, const ZelString& a1, const ZelString& a2, const ZelString& a3,
                              const ZelString& a4) = 0;
  virtual ZelString translate(const char* key, const ZelString& a1, const ZelString& a2,
                              const ZelString& a3) = 0;
  virtual ZelString translate(const char* key, const ZelString& a1, const ZelString& a2) = 0;
  virtual ZelString translate(const char* key, const ZelString& a1) = 0;
  virtual ZelString translate(const char* key) = 0;
  // Not called by the module.
  virtual bool reserved() = 0;
  // The untranslated text of a key.
  virtual bool keyToText(const char* key, ZelString& out) = 0;
};

// The host's translator service: the translator of a module, by the module's id.
class IZelTranslatorService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelTranslatorService";

  // The module's translator (no reference for the caller), or null.
  virtual IZelTranslator* translator(const ZelID* moduleId) = 0;
};
