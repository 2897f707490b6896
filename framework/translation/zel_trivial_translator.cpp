#include "framework/translation/zel_trivial_translator.h"

#include <vector>

#include "framework/object/query_chain.h"

void ZelTrivialTranslator::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelTranslator>(this).end();
}

bool ZelTrivialTranslator::keyToText(const char* key, ZelString& out) {
  out = ZelString(key);
  return true;
}

ZelString ZelTrivialTranslator::substituted(const char* key, std::initializer_list<const ZelString*> args) {
  ZelString text;
  keyToText(key, text);
  return text.substituteArgs(args.begin(), static_cast<int32_t>(args.size()));
}

ZelString ZelTrivialTranslator::translate(const char* key) {
  ZelString text;
  keyToText(key, text);
  return text;
}

ZelString ZelTrivialTranslator::translate(const char* key, const ZelString& a1) {
  return substituted(key, {&a1});
}

ZelString ZelTrivialTranslator::translate(const char* key, const ZelString& a1, const ZelString& a2) {
  return substituted(key, {&a1, &a2});
}

ZelString ZelTrivialTranslator::translate(const char* key, const ZelString& a1, const ZelString& a2,
                                          const ZelString& a3) {
  return substituted(key, {&a1, &a2, &a3});
}

ZelString ZelTrivialTranslator::translate(const char* key, const ZelString& a1, const ZelString& a2,
                                          const ZelString& a3, const ZelString& a4) {
  return substituted(key, {&a1, &a2, &a3, &a4});
}

ZelString ZelTrivialTranslator::translate(const char* key, const ZelString& a1, const ZelString& a2,
                                          const ZelString& a3, const ZelString& a4, const ZelString& a5) {
  return substituted(key, {&a1, &a2, &a3, &a4, &a5});
}

ZelString ZelTrivialTranslator::translate(const char* key, const ZelString& a1, const ZelString& a2,
                                          const ZelString& a3, const ZelString& a4, const ZelString& a5,
                                          const ZelString& a6) {
  return substituted(key, {&a1, &a2, &a3, &a4, &a5, &a6});
}

ZelString ZelTrivialTranslator::translate(const char* key, int32_t count, const ZelString* args) {
  ZelString text;
  keyToText(key, text);
  // Numbers are filled one after another, each into its first placeholder of the text as changed so far.
  for (int32_t i = 1; i <= count && i <= 9; ++i) {
    char16_t placeholder[3] = {u'%', static_cast<char16_t>(u'0' + i), 0};
    int32_t at = text.find(ZelString(placeholder), 0);
    if (at >= 0) text = text.replace(at, at + 2, args[i - 1]);
  }
  return text;
}
