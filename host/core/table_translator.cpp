#include "host/core/table_translator.h"

#include <algorithm>

#include "framework/object/query_chain.h"

void TableTranslator::setText(const std::string& key, const std::u16string& text) {
  std::lock_guard lock(mutex_);
  texts_[key] = text;
}

bool TableTranslator::keyToText(const char* key, ZelString& out) {
  std::u16string text;
  {
    std::lock_guard lock(mutex_);
    auto it = texts_.find(key ? key : "");
    if (it == texts_.end()) return ZelTrivialTranslator::keyToText(key, out);
    text = it->second;
  }
  out.setBuffer(text.c_str(), -1);
  return true;
}

void TableTranslator::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelTranslator>(this).end();
}

IZelTranslator* TranslatorService::translator(const ZelID* moduleId) {
  std::lock_guard lock(mutex_);
  auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == *moduleId; });
  return it == entries_.end() ? nullptr : it->translator.get();
}

void TranslatorService::setTranslator(const ZelID& moduleId, IZelTranslator* translator) {
  IPtr<IZelTranslator> previous;
  std::lock_guard lock(mutex_);
  auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == moduleId; });
  if (it != entries_.end()) {
    previous = it->translator;
    entries_.erase(it);
  }
  if (translator) entries_.push_back({moduleId, IPtr<IZelTranslator>(translator)});
}

void TranslatorService::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelTranslatorService>(this).end();
}
