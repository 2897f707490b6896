#pragma once

// The stand-in host's translator: a table of key texts. A key missing from the table comes back as itself;
// arguments are put into the placeholders as the module's own translator does.

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "framework/translation/zel_trivial_translator.h"
#include "host/core/host_unknown.h"

class TableTranslator : public ZelTrivialTranslator {
 public:
  static constexpr const char* interfaceName = "TableTranslator";

  void setText(const std::string& key, const std::u16string& text);
  bool keyToText(const char* key, ZelString& out) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::mutex mutex_;
  std::map<std::string, std::u16string> texts_;  // guarded by mutex_
};

// The host's translator service: one translator per module id.
class TranslatorService : public IZelTranslatorService, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "TranslatorService";

  IZelTranslator* translator(const ZelID* moduleId) override;
  // Null withdraws the module's translator.
  void setTranslator(const ZelID& moduleId, IZelTranslator* translator);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  struct Entry {
    ZelID id;
    IPtr<IZelTranslator> translator;
  };
  std::mutex mutex_;
  std::vector<Entry> entries_;  // guarded by mutex_
};
