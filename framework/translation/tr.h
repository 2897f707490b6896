#pragma once

// Every text the user sees goes through tr: a narrow key (the English text, with placeholders "%1" to "%9")
// and up to three arguments. The host's translator for this module translates it; without one, the key comes
// back with the arguments filled in. Safe on any thread.

#include "basic_types/zel_string.h"
#include "framework/object/iptr.h"
#include "host_api/zel_translator.h"

ZelString tr(const char* key);
ZelString tr(const char* key, const ZelString& a1);
ZelString tr(const char* key, const ZelString& a1, const ZelString& a2);
ZelString tr(const char* key, const ZelString& a1, const ZelString& a2, const ZelString& a3);

// The point editor's help line, filled with its eight key names.
ZelString trPointSelectionHelp(int32_t count, const ZelString* args);

// The translator every tr uses: the host's once its translator service has answered, else the module's own.
// Never empty.
IPtr<IZelTranslator> moduleTranslator();

// Gives up the held translator (at unload, or when the module is detached from its host).
void forgetModuleTranslator();
