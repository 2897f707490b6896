#pragma once

// The host hands the module paths in the module's form: UTF-16 with backslash as separator. The module's
// platform file calls turn them back.

#include <string>

#include "basic_types/zel_string.h"

// A host (UTF-8, POSIX) path in the module's form.
ZelString modulePathOf(const std::string& hostPath);
// A path as the user gave it to the host, in UTF-16 and its own separators: the module names the file with it
// to the user, and normalises it before it builds on it.
ZelString givenPathOf(const std::string& hostPath);
